#include <gtest/gtest.h>

#include "archive/CDatFile.h"
#include "browser/CDatViewModel.h"
#include "image/BitmapCanvas.h"
#include "image/ImageSetColours.h"
#include "support/ArchiveBuilder.h"
#include "support/DatSample.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "ui/AppSettings.h"
#include "base/Format.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

class DatViewModelTest : public ::testing::Test {
protected:
    DatViewModelTest() { archive_ = test::WriteDatSample(dir_.Path()); }
    int RowOf(const std::string& text) const {
        for (int r = 0; r < view_.Listed(); ++r)
            if (view_.RowText(r) == text) return r;
        return -1;
    }
    void Select(const std::string& text) {
        const int row = RowOf(text);
        ASSERT_GE(row, 0) << text;
        view_.SelectRow(row);
    }
    void Draw() {
        BitmapCanvas canvas(460, 360);
        view_.SetDrawArea({0, 0, 460, 360});
        view_.Draw(canvas);
        lastCorner_ = canvas.Pixel(5, 5);
    }

    test::TempDir dir_;
    std::filesystem::path archive_;
    RecordingServices services_;
    AppSettings settings_{services_.settings};
    CDatFile dat_{services_.Get()};
    CDatViewModel view_{dat_, settings_};
    Rgb lastCorner_ = 0;
};

TEST_F(DatViewModelTest, CollageZoomAndPagingFollowWhatWasDrawn) {
    ASSERT_TRUE(view_.ArchiveOpened(archive_.string()));
    Select("TIGER.SHP  (20)");
    Draw();
    const int shown = view_.Shown();
    ASSERT_GT(shown, 1);
    ASSERT_LT(shown, 20);
    EXPECT_FALSE(view_.EndReached());
    EXPECT_EQ(view_.IconLabel(), "1-" + std::to_string(shown) + " / 20 icons");
    view_.NextPage();
    EXPECT_EQ(view_.Position(), 1 + shown);

    // Turning the collage off keeps the position; a zoom leaves the collage; turning it on resets the zoom and
    // holds the next buttons until the collage has been drawn.
    view_.ToggleCollage();
    EXPECT_EQ(view_.Position(), 1 + shown);
    EXPECT_EQ(view_.IconLabel(), Format("%d / 20 icons", 1 + shown));
    view_.ToggleCollage();
    view_.SetZoom(4);
    EXPECT_FALSE(view_.Collage());
    EXPECT_TRUE(view_.ZoomChecked(4));
    view_.ToggleCollage();
    EXPECT_EQ(view_.Zoom(), 1);
    EXPECT_TRUE(view_.EndReached());
    const int before = view_.Position();
    view_.Next();
    view_.NextPage();
    EXPECT_EQ(view_.Position(), before);

    // The last page reaches the end: no page after it.
    view_.GoTo(20);
    Draw();
    EXPECT_TRUE(view_.EndReached());
    view_.NextPage();
    EXPECT_EQ(view_.Position(), 20);
    view_.First();
    EXPECT_EQ(view_.Position(), 1);
    view_.Previous();
    EXPECT_EQ(view_.Position(), 1);
}

TEST_F(DatViewModelTest, WithNoRowLeftNothingIsCurrentAndThePictureIsGrey) {
    ASSERT_TRUE(view_.ArchiveOpened(archive_.string()));
    std::array<std::string, kDescriptionFieldCount> descriptive{"{}$tank"};
    view_.SetFilters("", descriptive);
    view_.ApplyFilters();
    EXPECT_EQ(view_.Listed(), 0);
    EXPECT_EQ(view_.ListSelection(), -1);
    EXPECT_EQ(view_.CurrentEntry(), -1);
    EXPECT_EQ(view_.IconsLabel(), "0 / 7 ");
    Draw();
    EXPECT_EQ(lastCorner_, kIconBackground);
    view_.Next();
    EXPECT_EQ(view_.Position(), 0);
}

TEST_F(DatViewModelTest, TheFakesModeCountsAgainstTheFakes) {
    ASSERT_TRUE(view_.ArchiveOpened(archive_.string()));
    view_.SetFilters("tiger", {});
    view_.SetListMode(DatListModel::kFakesMode);
    EXPECT_EQ(view_.IconsLabel(), "1 / 2 ");
    view_.SetListMode(0);
    view_.ToggleFakesTogether();
    EXPECT_EQ(view_.IconsLabel(), "2 / 9 ");
}

TEST_F(DatViewModelTest, APngSheetShowsTheSizeOfOneCell) {
    const auto path = dir_ / "sheets.dat";
    test::ArchiveBuilder()
        .Add("SHEET.PNG", test::PlainPng(720, 450, MakeRgb(10, 20, 30)))
        .Add("WIDE.PNG", test::PlainPng(700, 450, MakeRgb(10, 20, 30)))
        .Write(path);
    ASSERT_TRUE(view_.ArchiveOpened(path.string()));
    EXPECT_EQ(view_.SizeText(), "240 x 150");
    EXPECT_EQ(view_.StartText(), "0 , 0");
    EXPECT_EQ(view_.EndText(), "240 , 150");
    EXPECT_FALSE(view_.CollageEnabled());
    view_.SelectRow(1);
    EXPECT_EQ(view_.SizeText(), "700 x 450");
    // The sheet stays whole whatever is asked.
    view_.ToggleCollage();
    EXPECT_TRUE(view_.Collage());
    view_.SetZoom(2);
    EXPECT_TRUE(view_.Collage());
    Draw();
    EXPECT_EQ(view_.Shown(), 9);
}

TEST_F(DatViewModelTest, OpeningSetsLastAndAFailedOpenChangesNothing) {
    ASSERT_TRUE(view_.ArchiveOpened(archive_.string()));
    EXPECT_EQ(settings_.Last(), archive_.string());
    EXPECT_EQ(settings_.LastFolder(), dir_.Path().string() + "/");
    EXPECT_TRUE(view_.CsvMode());
    EXPECT_FALSE(view_.ArchiveOpened((dir_ / "missing.dat").string()));
    EXPECT_EQ(settings_.Last(), archive_.string());
    EXPECT_EQ(view_.Listed(), 7);
}

}  // namespace
}  // namespace pixmond
