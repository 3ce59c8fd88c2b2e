#include <gtest/gtest.h>

#include "folderview/CShpViewModel.h"
#include "folderview/FolderImageHolders.h"
#include "image/BitmapCanvas.h"
#include "image/Palette.h"
#include "support/FolderSample.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "ui/AppSettings.h"
#include "base/Format.h"
#include "ui/LocalFileSystem.h"
#include "ui/MemorySettings.h"
#include "support/RecordingMessages.h"
#include "support/ScriptedPickers.h"

namespace pixmond {
namespace {

using Names = std::vector<std::string>;

class ShpViewModelTest : public ::testing::Test {
protected:
    ShpViewModelTest() {
        test::WriteFolderSample(dir_.Path());
        settings_.SetS16Folder(dir_.Path().string());
        settings_.SetOutputImage(1);
        model_.Initialise();
    }
    int Row(const std::string& name) const {
        const auto& files = model_.Files();
        return int(std::find(files.begin(), files.end(), name) - files.begin());
    }
    Rgb PaletteColour(int index) const {
        const auto& t = DefaultColourTable();
        return MakeRgb(t[size_t(index) * 4 + 2], t[size_t(index) * 4 + 1], t[size_t(index) * 4]);
    }

    test::TempDir dir_;
    MemorySettings store_;
    AppSettings settings_{store_};
    LocalFileSystem files_;
    RecordingMessages messages_;
    FolderImageHolders images_;
    CShpViewModel model_{files_, images_, settings_, messages_};
};

TEST_F(ShpViewModelTest, ListsIconFilesSortedByNameAndFiltersThemByModeAndName) {
    EXPECT_EQ(model_.Files(), (Names{"bike.shp", "JEEP.SHP", test::kLatinName, "Plane.s16", "sheet.png", "Tiger.shp",
                                     "wide.png"}));
    EXPECT_EQ(model_.FileRow(), 0);
    EXPECT_EQ(model_.FileRowText(2), "K\xC3\xB6nig.shp");
    EXPECT_EQ(model_.OutputType(), 1);

    model_.SetNameFilter("I");
    model_.SetListMode(1);
    EXPECT_EQ(model_.Files(), (Names{"bike.shp", test::kLatinName, "Tiger.shp"}));
    EXPECT_EQ(model_.NameFilter(), "i");
    model_.SetNameFilter("");
    model_.SetListMode(2);
    EXPECT_EQ(model_.Files(), (Names{"Plane.s16"}));
    model_.SetListMode(3);
    EXPECT_EQ(model_.Files(), (Names{"sheet.png", "wide.png"}));
    EXPECT_EQ(model_.Kind(), IconKind::Png);

    model_.SetNameFilter("zzz");
    model_.Rescan();
    EXPECT_TRUE(model_.Files().empty());
    EXPECT_EQ(model_.FileRow(), -1);
    EXPECT_EQ(model_.Kind(), IconKind::Other);
    EXPECT_EQ(model_.CurrentPath(), model_.Folder());
    EXPECT_TRUE(model_.IconRows().empty());
}

TEST_F(ShpViewModelTest, ShpFileFillsIconRowsAndLabels) {
    model_.SelectFile(Row("Tiger.shp"));
    EXPECT_EQ(model_.Kind(), IconKind::Shp);
    EXPECT_EQ(model_.CurrentPath(), (dir_.Path() / "Tiger.shp").string());
    EXPECT_EQ(model_.IconRows(), (Names{"Icon #1 (6x5)", "Icon #2 (3x3)", "Icon #3 (2x2)"}));
    EXPECT_EQ(model_.IconRow(), 0);
    EXPECT_EQ(model_.SizeText(), "6 x 5");
    EXPECT_EQ(model_.StartText(), "1 , 1");
    EXPECT_EQ(model_.EndText(), "4 , 3");
    EXPECT_EQ(model_.TypeText(), "Image   8 bits");
    // The first byte of a bottom-up picture is its bottom-left pixel: transparent here.
    const Rgb transparent = PaletteColour(159);
    EXPECT_EQ(model_.PixelText(), Format("Pal=159 (%d,%d,%d)", RedOf(transparent), GreenOf(transparent),
                                         BlueOf(transparent)));

    model_.SelectIcon(1);
    EXPECT_EQ(model_.CurrentIcon(), 2);
    EXPECT_EQ(model_.SizeText(), "3 x 3");
    EXPECT_EQ(model_.PixelText().substr(0, 6), "Pal=4 ");
}

TEST_F(ShpViewModelTest, NextFileKeepsTheIconNumberWhenItHasOneElseStartsAtOne) {
    model_.SelectFile(Row("JEEP.SHP"));
    model_.SelectIcon(4);
    EXPECT_EQ(model_.CurrentIcon(), 5);
    model_.SelectFile(Row("Tiger.shp"));
    EXPECT_EQ(model_.CurrentIcon(), 1);
    model_.SelectIcon(2);
    model_.SelectFile(Row("JEEP.SHP"));
    EXPECT_EQ(model_.CurrentIcon(), 3);
    EXPECT_EQ(model_.IconRow(), 2);
    model_.SelectFile(Row("Tiger.shp"));
    EXPECT_EQ(model_.CurrentIcon(), 3);
}

TEST_F(ShpViewModelTest, S16AndPngLabels) {
    model_.SelectFile(Row("Plane.s16"));
    EXPECT_EQ(model_.Kind(), IconKind::S16);
    EXPECT_EQ(model_.IconRows(), (Names{"Icon #1 (5x4)", "Icon #2 (6x3)"}));
    EXPECT_EQ(model_.SizeText(), "5 x 4");
    EXPECT_EQ(model_.StartText(), "1 , 1");
    EXPECT_EQ(model_.EndText(), "4 , 3");
    EXPECT_EQ(model_.TypeText(), "Image   24 bits");
    EXPECT_EQ(model_.PixelText().substr(0, 4), "RGB(");

    model_.SelectFile(Row("sheet.png"));
    EXPECT_EQ(model_.IconRows(), (Names{"Icons (80x50)"}));
    EXPECT_EQ(model_.SizeText(), "80 x 50");
    EXPECT_EQ(model_.StartText(), "0 , 0");
    EXPECT_EQ(model_.EndText(), "80 , 50");
    EXPECT_FALSE(model_.CollageEnabled());
    model_.SelectFile(Row("wide.png"));
    EXPECT_EQ(model_.IconRows(), (Names{"Icons (80x50)"}));
    EXPECT_EQ(model_.SizeText(), "241 x 150");
    // Bottom-left pixel of the sheet (stored blue, green, red), named red, green, blue as the label says.
    EXPECT_EQ(model_.PixelText(), "RGB(200,20,30)");
}

// A file that cannot be read leaves nothing of the file before on show and is named once in an error; a damaged
// file lists only the icons it holds and says so once.
TEST_F(ShpViewModelTest, AFileThatCannotBeReadClearsTheViewAndIsNamedOnce) {
    test::WriteText(dir_ / "BAD.png", "not a picture");
    test::WriteBytes(dir_ / "broken.shp", {1, 2, 3});
    auto tiger = test::ReadBytes(dir_ / "Tiger.shp");
    tiger.resize(size_t(tiger[16] | tiger[17] << 8));  // up to the second icon's record
    test::WriteBytes(dir_ / "cut.shp", tiger);
    auto plane = test::ReadBytes(dir_ / "Plane.s16");
    plane.resize(40);  // half of its icon table
    test::WriteBytes(dir_ / "cut.s16", plane);
    model_.Rescan();
    const auto nothingShown = [this] {
        EXPECT_EQ(model_.Kind(), IconKind::Other);
        EXPECT_TRUE(model_.IconRows().empty());
        EXPECT_EQ(model_.SizeText(), "0 x 0");
        EXPECT_EQ(model_.EndText(), "0 , 0");
        EXPECT_EQ(model_.PixelText(), "No Pic loaded");
        EXPECT_EQ(model_.TypeText(), "");
        BitmapCanvas canvas(20, 20, MakeRgb(1, 2, 3));
        model_.Draw(canvas, {0, 0, 20, 20});
        EXPECT_EQ(canvas.Pixel(2, 2), MakeRgb(1, 2, 3));
    };
    for (const std::string name : {"BAD.png", "broken.shp", "cut.s16"}) {
        model_.SelectFile(Row("sheet.png"));
        model_.SelectFile(Row("Tiger.shp"));
        messages_.Clear();
        model_.SelectFile(Row(name));
        nothingShown();
        EXPECT_EQ(model_.Note().rfind(name + " cannot be shown.\n", 0), 0u) << model_.Note();
        ASSERT_EQ(messages_.Errors().size(), 1u);
        EXPECT_EQ(messages_.Errors()[0].rfind((dir_ / name).string() + " cannot be shown.\n", 0), 0u);
        model_.Reactivate();
        EXPECT_EQ(messages_.Errors().size(), 1u);
    }
    messages_.Clear();
    model_.SelectFile(Row("cut.shp"));
    EXPECT_EQ(model_.IconRows(), (Names{"Icon #1 (6x5)"}));
    EXPECT_EQ(model_.SizeText(), "6 x 5");
    EXPECT_EQ(messages_.Errors(), (Names{(dir_ / "cut.shp").string() +
                                         " is damaged: 2 of its 3 icons lie past the end of the file and are not "
                                         "listed."}));

    model_.SetNameFilter("zzz");
    model_.Rescan();
    nothingShown();
    EXPECT_EQ(model_.Note(), "");
}

TEST_F(ShpViewModelTest, CollageZoomAndMirrorCommandsAndTheirChecks) {
    // Exactly one of the collage and the zooms is checked.
    model_.SelectFile(Row("Tiger.shp"));
    EXPECT_TRUE(model_.CollageChecked());
    EXPECT_FALSE(model_.ZoomChecked(1));
    model_.SetZoom(3);
    EXPECT_FALSE(model_.CollageChecked());
    EXPECT_TRUE(model_.ZoomChecked(3));
    EXPECT_FALSE(model_.ZoomChecked(1));
    model_.ToggleCollage();
    EXPECT_TRUE(model_.CollageChecked());
    EXPECT_EQ(model_.Zoom(), 1);
    model_.ToggleCollage();
    EXPECT_FALSE(model_.CollageChecked());
    EXPECT_TRUE(model_.ZoomChecked(1));

    model_.SelectFile(Row("sheet.png"));
    model_.SetZoom(2);
    model_.ToggleCollage();
    EXPECT_FALSE(model_.CollageChecked());
    EXPECT_EQ(model_.Zoom(), 2);
    EXPECT_TRUE(model_.ZoomChecked(2));
    EXPECT_FALSE(model_.ZoomChecked(1));

    EXPECT_FALSE(model_.MirrorChecked());
    model_.ToggleMirror();
    EXPECT_TRUE(model_.MirrorChecked());
}

TEST_F(ShpViewModelTest, DrawsTheCurrentIconZoomedAndMirrored) {
    model_.SelectFile(Row("Tiger.shp"));
    model_.SetZoom(2);
    const Rgb back = MakeRgb(1, 2, 3);
    BitmapCanvas canvas(40, 30, back);
    model_.Draw(canvas, {4, 4, 32, 22});
    // Icon pixel (1,1) is index 1 ('A'), drawn 2x2 from (4 + 2, 4 + 2).
    EXPECT_EQ(canvas.Pixel(6, 6), PaletteColour(1));
    EXPECT_EQ(canvas.Pixel(7, 7), PaletteColour(1));
    EXPECT_EQ(canvas.Pixel(13, 6), PaletteColour(2));  // icon (4,1) is 'B'
    EXPECT_EQ(canvas.Pixel(3, 3), back);

    model_.ToggleMirror();
    BitmapCanvas mirrored(40, 30, back);
    model_.Draw(mirrored, {4, 4, 32, 22});
    // Mirrored, icon column x lands at 5 - x: 'B' at column 1, 'A' at column 4.
    EXPECT_EQ(mirrored.Pixel(6, 6), PaletteColour(2));
    EXPECT_EQ(mirrored.Pixel(13, 6), PaletteColour(1));
}

TEST_F(ShpViewModelTest, ChoosingAFolderRescansAndRemembersItCancelChangesNothing) {
    ScriptedPickers pickers;
    test::TempDir other;
    test::WriteBytes(other / "only.shp", test::ShpBuilder().IconText({"AA", "AA"}).Build());
    EXPECT_FALSE(model_.ChooseFolder(pickers));
    EXPECT_EQ(model_.Files().size(), 7u);
    ASSERT_EQ(pickers.requests.size(), 1u);
    EXPECT_EQ(pickers.requests[0].title, "Select new folder");
    EXPECT_EQ(pickers.requests[0].initial, model_.Folder());

    // A folder given relative to the working folder is kept whole; the picker starts there.
    model_.SetFolder(std::filesystem::relative(other.Path()).string());
    EXPECT_EQ(model_.Folder(), other.Path().string() + "/");
    model_.SetFolder(dir_.Path().string());
    pickers.QueueFolder(other.Path().string());
    EXPECT_TRUE(model_.ChooseFolder(pickers));
    EXPECT_EQ(model_.Files(), (Names{"only.shp"}));
    EXPECT_EQ(settings_.S16Folder(), other.Path().string() + "/");
    EXPECT_EQ(model_.Kind(), IconKind::Shp);

    model_.SetOutputType(0);
    EXPECT_EQ(settings_.OutputImage(), 0);
}

TEST_F(ShpViewModelTest, ReactivationFindsNewFilesAndStaysOnTheFileShown) {
    model_.SelectFile(Row("Tiger.shp"));
    test::WriteBytes(dir_ / "aaa.shp", test::ShpBuilder().IconText({"AA", "AA"}).Build());
    model_.Reactivate();
    EXPECT_EQ(model_.Files().front(), "aaa.shp");
    EXPECT_EQ(model_.Files()[size_t(model_.FileRow())], "Tiger.shp");
    std::filesystem::remove(dir_ / "Tiger.shp");
    model_.Reactivate();
    EXPECT_EQ(model_.FileRow(), 0);
}

}  // namespace
}  // namespace pixmond
