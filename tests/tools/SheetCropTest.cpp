#include <gtest/gtest.h>

#include <filesystem>

#include "image/CBmpDib.h"
#include "image/CShpFile.h"
#include "image/PngReader.h"
#include "support/TestFiles.h"
#include "tools/PngBatch.h"
#include "tools/SheetCrop.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

constexpr Rgb kWhite = MakeRgb(255, 255, 255);

CBmpDib Blank(int width, int height, Rgb colour = kWhite) {
    CBmpDib picture;
    picture.Create(width, height, 24, false);
    picture.Allocate();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.SetColour(x, y, colour);
    return picture;
}

void FillRect(CBmpDib& picture, int x0, int y0, int w, int h, Rgb colour) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) picture.SetColour(x, y, colour);
}

// Colour of cell k's icon.
Rgb CellColour(int k) { return MakeRgb(10 * (k + 1), 20, 200 - 10 * k); }

TEST(ContentBox, FindsTheDifferingPixelsAndFallsBackWhenThereAreNone) {
    CBmpDib picture = Blank(20, 10);
    FillRect(picture, 4, 2, 6, 3, MakeRgb(1, 2, 3));
    picture.SetColour(12, 6, MakeRgb(255, 255, 254));  // one byte differs
    const ContentBox box = FindContentBox(picture);
    EXPECT_TRUE(box.found);
    EXPECT_EQ(box.left, 4);
    EXPECT_EQ(box.top, 2);
    EXPECT_EQ(box.width, 9);
    EXPECT_EQ(box.height, 5);
    EXPECT_EQ(box.bottomMargin, 4);

    const ContentBox none = FindContentBox(Blank(20, 10));
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.left, 0);
    EXPECT_EQ(none.top, 1);
    EXPECT_EQ(none.width, 20);  // right falls back to the width, the box stays inside the picture
    EXPECT_EQ(none.height, 2);
}

TEST(CropSheetLayout, SmallIconsGiveA240x150SheetCentredAndBottomAligned) {
    // 360 x 225: cells of 120 x 75; each icon 60 x 40, sitting near the bottom of its cell.
    CBmpDib sheet = Blank(360, 225);
    for (int k = 0; k < 9; ++k) FillRect(sheet, (k % 3) * 120 + 30, (k / 3) * 75 + 30, 60 - k, 40, CellColour(k));
    ASSERT_TRUE(CropSheet(sheet));
    ASSERT_EQ(sheet.Width(), 240);
    ASSERT_EQ(sheet.Height(), 150);
    EXPECT_EQ(sheet.PixelRgb(0, 0), MakeRgb(248, 228, 216));
    for (int k = 0; k < 9; ++k) {
        const int w = 60 - k;
        const int x = (k % 3) * 80 + (80 - w) / 2;
        const int y = (k / 3) * 50 + 10;  // bottom-aligned: 50 - 40
        EXPECT_EQ(sheet.PixelRgb(x, y), CellColour(k)) << k;
        EXPECT_EQ(sheet.PixelRgb(x + w - 1, y + 39), CellColour(k)) << k;
        EXPECT_EQ(sheet.PixelRgb(x - 1, y), MakeRgb(248, 228, 216)) << k;
        EXPECT_EQ(sheet.PixelRgb(x, y - 1), MakeRgb(248, 228, 216)) << k;
    }
}

TEST(CropSheetLayout, LargeIconsWidenEveryCellAndTopIconsStayOnTop) {
    CBmpDib sheet = Blank(300, 300);
    for (int k = 0; k < 9; ++k) FillRect(sheet, (k % 3) * 100 + 1, (k / 3) * 100 + 1, 20, 10, CellColour(k));
    FillRect(sheet, 201, 201, 95, 70, CellColour(8));  // the last icon is the widest and tallest
    ASSERT_TRUE(CropSheet(sheet));
    EXPECT_EQ(sheet.Width(), 3 * 95);
    EXPECT_EQ(sheet.Height(), 3 * 70);
    EXPECT_EQ(sheet.PixelRgb((95 - 20) / 2, 0), CellColour(0));

    // An empty cell asks for no room.
    CBmpDib sparse = Blank(360, 225);
    FillRect(sparse, 10, 10, 30, 30, CellColour(0));
    ASSERT_TRUE(CropSheet(sparse));
    EXPECT_EQ(sparse.Width(), 240);
    EXPECT_EQ(sparse.Height(), 150);

    CBmpDib odd = Blank(361, 225);
    EXPECT_FALSE(CropSheet(odd));
}

class PngBatchTest : public ::testing::Test {
protected:
    void WritePng(const std::string& name, const CBmpDib& picture) {
        ASSERT_TRUE(picture.Save(dir.File(name), services.messages));
    }
    CBmpDib ReadPng(const std::string& name) {
        CBmpDib picture;
        EXPECT_EQ(LoadPng(picture, dir.File(name), nullptr, 0, services.messages), kPngLoaded);
        return picture;
    }
    std::string Folder() const { return dir.Path().string() + "/"; }
    test::TempDir dir;
    RecordingServices services;
};

TEST_F(PngBatchTest, SheetsGiveNineCellsAndOtherPicturesNineClones) {
    // The transparent colour around each icon is left out of its box.
    CBmpDib sheet = Blank(300, 150, MakeRgb(248, 228, 216));
    for (int k = 0; k < 9; ++k) FillRect(sheet, (k % 3) * 100 + 5, (k / 3) * 50 + 5, 10 + k, 10, CellColour(k));
    WritePng("sheet.png", sheet);
    WritePng("single.PNG", Blank(100, 100, MakeRgb(0, 0, 0)));
    WritePng("small.png", Blank(240, 149));
    test::WriteText(dir / "broken.png", "no picture");
    test::WriteText(dir / "notes.txt", "x");
    PngBatch batch(Folder(), {"sheet.png", "single.PNG", "broken.png", "notes.txt", "small.png"});
    EXPECT_EQ(batch.ConvertToShp(services.messages), 3);
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"Converted 3 PNG files to SHP"});
    EXPECT_TRUE(services.messages.Errors().empty());

    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(dir.File("sheet.shp"), 1));
    ASSERT_EQ(shp.IconCount(), 9);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(shp.StoredHeaders()[size_t(n - 1)].Width(), 100);
        EXPECT_EQ(shp.StoredHeaders()[size_t(n - 1)].Height(), 50);
        EXPECT_EQ(shp.StoredHeaders()[size_t(n - 1)].x1, 5 + 10 + n - 2);
    }
    ASSERT_TRUE(shp.OpenFile(dir.File("single.shp"), 1));
    ASSERT_EQ(shp.IconCount(), 9);
    EXPECT_EQ(shp.StoredHeaders()[8].Width(), 100);
    EXPECT_FALSE(std::filesystem::exists(dir / "broken.shp"));
}

TEST_F(PngBatchTest, PicturesTooLargeForAnIconAreNotCounted) {
    WritePng("huge.png", Blank(700, 100));
    EXPECT_EQ(PngBatch(Folder(), {"huge.png"}).ConvertToShp(services.messages), 0);
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"No PNG files have been converted to SHP"});
    EXPECT_EQ(services.messages.Errors(), std::vector<std::string>{"1 PNG files could not be converted to SHP"});
}

TEST_F(PngBatchTest, CropBatchSkipsWhatNeedsNoCropping) {
    CBmpDib sheet = Blank(360, 225);
    for (int k = 0; k < 9; ++k) FillRect(sheet, (k % 3) * 120 + 2, (k / 3) * 75 + 2, 70, 40, CellColour(k));
    WritePng("big.png", sheet);
    WritePng("done_Cropped.png", sheet);
    WritePng("exact.png", Blank(240, 150));
    WritePng("odd.png", Blank(301, 150));
    PngBatch batch(Folder(), {"big.png", "done_Cropped.png", "exact.png", "odd.png"});
    EXPECT_EQ(batch.CropSheets(services.messages), 1);
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"1 PNG files changed"});
    const CBmpDib cropped = ReadPng("big_Cropped.png");
    EXPECT_EQ(cropped.Width(), 240);
    EXPECT_EQ(cropped.Height(), 150);
    EXPECT_FALSE(std::filesystem::exists(dir / "exact_Cropped.png"));
    EXPECT_FALSE(std::filesystem::exists(dir / "done_Cropped_Cropped.png"));

    services.messages.Clear();
    EXPECT_EQ(PngBatch(Folder(), {"exact.png"}).CropSheets(services.messages), 0);
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"No PNG files changed"});
}

TEST(PngBatchList, NeedsFilesAndNotTheShpOnlyList) {
    RecordingMessages messages;
    EXPECT_FALSE(PngBatch::CheckList(false, 0, messages));
    EXPECT_FALSE(PngBatch::CheckList(true, 5, messages));
    EXPECT_TRUE(PngBatch::CheckList(false, 5, messages));
    EXPECT_EQ(messages.Notices(), std::vector<std::string>(2, "\nSelect some files in list to convert into SHP\n"));
}

}  // namespace
}  // namespace pixmond
