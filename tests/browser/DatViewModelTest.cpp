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

// Whatever is on show belongs to the row selected and the archive open: nothing is carried over from the entry
// or archive before.
TEST_F(DatViewModelTest, NothingOfTheEntryOrArchiveBeforeStaysOnShow) {
    test::WriteText(dir_ / "demo.keep", "TIGERX1;TIGER\r\nGHOST;NOPE\r\n");
    ASSERT_TRUE(view_.ArchiveOpened(archive_.string()));
    Select("TIGER.SHP  (20)");
    ASSERT_EQ(view_.Record().field[kDesc], "Heavy tank");
    const auto shownNothing = [this](const std::string& note) {
        EXPECT_EQ(view_.IconLabel(), "No icons");
        EXPECT_EQ(view_.SizeText(), "0 x 0");
        EXPECT_EQ(view_.EndText(), "0 , 0");
        EXPECT_EQ(view_.BitsText(), "");
        EXPECT_EQ(view_.Record().field[kDesc], "");
        EXPECT_EQ(view_.Position(), 0);
        EXPECT_EQ(view_.Note(), note);
        Draw();
        EXPECT_EQ(lastCorner_, kIconBackground);
    };
    Select("README.TXT  (0)");
    shownNothing("README.TXT is not an icon file.");
    view_.ToggleFakesTogether();
    Select("GHOST.PNG -> NOPE");
    shownNothing("GHOST.PNG stands for NOPE, which is not in this archive.");
    Select("TIGERX1.SHP -> TIGER");
    EXPECT_EQ(view_.Record().field[kDesc], "Heavy tank");
    EXPECT_EQ(view_.Note(), "");

    // The count follows the rows whatever the selected row shows; Remove lands on README.TXT here.
    Select("PANEL.SHP  (3)");
    const int row = view_.ListSelection();
    ASSERT_FALSE(dat_.Remove(view_.CurrentEntry()).empty());
    view_.RebuildList(row + 1);
    ASSERT_EQ(view_.RowText(view_.ListSelection()), "README.TXT  (0)");
    EXPECT_EQ(view_.IconsLabel(), "8 / 8 ");
    view_.SetFilters("nothing like this", {});
    view_.ApplyFilters();
    EXPECT_EQ(view_.IconsLabel(), "0 / 8 ");
    EXPECT_EQ(view_.IconLabel(), "");
    EXPECT_EQ(view_.Note(), "No entry passes the filters.");

    // An archive without a description file of its own has no descriptions; a file the user picked for an
    // archive stays with it when it is opened again, and goes when another archive is opened.
    std::filesystem::create_directories(dir_ / "copy");
    std::filesystem::copy_file(archive_, dir_ / "copy" / "demo.dat");
    ASSERT_TRUE(view_.ArchiveOpened((dir_ / "copy" / "demo.dat").string()));
    Select("TIGER.SHP  (20)");
    EXPECT_EQ(view_.Record().field[kDesc], "");
    EXPECT_FALSE(view_.CsvMode());
    test::WriteText(dir_ / "picked.txt", "TIGER: picked tiger\r\n");
    ASSERT_TRUE(view_.LoadDescriptionFile((dir_ / "picked.txt").string()));
    ASSERT_TRUE(view_.ArchiveOpened((dir_ / "copy" / "demo.dat").string()));
    Select("TIGER.SHP  (20)");
    EXPECT_EQ(view_.Record().field[kDesc], " picked tiger");
    ASSERT_TRUE(view_.ArchiveOpened(archive_.string()));
    Select("TIGER.SHP  (20)");
    EXPECT_EQ(view_.Record().field[kDesc], "Heavy tank");
    ASSERT_TRUE(view_.ArchiveOpened((dir_ / "copy" / "demo.dat").string()));
    Select("TIGER.SHP  (20)");
    EXPECT_EQ(view_.Record().field[kDesc], "");
}

// Exactly one of the collage and the five zooms is checked, whatever the entry and the commands before.
TEST_F(DatViewModelTest, CollageAndZoomChecksExcludeEachOther) {
    ASSERT_TRUE(view_.ArchiveOpened(archive_.string()));
    const auto checked = [this] {
        std::string on = view_.CollageChecked() ? "collage" : "";
        for (int zoom = 1; zoom <= 5; ++zoom)
            if (view_.ZoomChecked(zoom)) on += "x" + std::to_string(zoom);
        return on;
    };
    Select("TIGER.SHP  (20)");
    EXPECT_EQ(checked(), "collage");
    view_.SetZoom(3);
    EXPECT_EQ(checked(), "x3");
    view_.ToggleCollage();
    EXPECT_EQ(checked(), "collage");
    view_.ToggleCollage();
    EXPECT_EQ(checked(), "x1");
    Select("TANKS.PNG  (9)");
    EXPECT_EQ(checked(), "x1");
    view_.SetZoom(2);
    EXPECT_EQ(checked(), "x2");
    Select("ARMOUR.SHP  (9)");
    EXPECT_EQ(checked(), "x2");
}

TEST_F(DatViewModelTest, OpeningSetsLastAndAFailedOpenChangesNothing) {
    ASSERT_TRUE(view_.ArchiveOpened(archive_.string()));
    EXPECT_EQ(settings_.Last(), archive_.string());
    EXPECT_EQ(settings_.LastFolder(), dir_.Path().string() + "/");
    EXPECT_TRUE(view_.CsvMode());
    EXPECT_FALSE(view_.ArchiveOpened((dir_ / "missing.dat").string()));
    EXPECT_EQ(settings_.Last(), archive_.string());
    EXPECT_EQ(view_.Listed(), 7);
    test::WriteText(dir_ / "notes.dat", "Not an archive at all.\r\n");
    EXPECT_FALSE(view_.ArchiveOpened((dir_ / "notes.dat").string()));
    EXPECT_EQ(settings_.Last(), archive_.string());
    EXPECT_EQ(view_.Listed(), 7);
    EXPECT_EQ(view_.IconsLabel(), "7 / 7 ");
}

}  // namespace
}  // namespace pixmond
