#include <gtest/gtest.h>

#include <filesystem>

#include "image/PngReader.h"
#include "image/BitmapCanvas.h"
#include "image/CShp3.h"
#include "base/Format.h"
#include "image/CShpFile.h"
#include "image/ImageSetColours.h"
#include "image/Palette.h"
#include "image/S16Writer.h"
#include "support/IconSetFiles.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

using test::SameSize;
using test::SolidColour;

Rgb PaletteColour(int index) {
    const auto& p = DefaultPalette();
    return MakeRgb(p[size_t(index) * 3], p[size_t(index) * 3 + 1], p[size_t(index) * 3 + 2]);
}

class ImageSet : public ::testing::Test {
protected:
    CShpFile& Shp(const std::vector<std::uint8_t>& bytes) {
        test::WriteBytes(dir / "tank.shp", bytes);
        EXPECT_TRUE(shp.OpenFile(dir.File("tank.shp")));
        return shp;
    }
    CShp3& S16(const std::vector<std::uint8_t>& bytes) {
        test::WriteBytes(dir / "plane.s16", bytes);
        EXPECT_TRUE(s16.OpenFile(dir.File("plane.s16")));
        return s16;
    }
    CBmpDib Load(const std::string& name) {
        CBmpDib picture;
        EXPECT_TRUE(picture.LoadBmp(dir.File(name), messages));
        return picture;
    }
    test::TempDir dir;
    RecordingMessages messages;
    CShpFile shp;
    CShp3 s16;
};

// ---- collage layout ----

TEST_F(ImageSet, NineIconsFormASquareWhereTenFillRows) {
    Shp(test::SolidShp(9, SameSize(40, 30)));
    BitmapCanvas canvas(400, 400);
    bool done = false;
    EXPECT_EQ(shp.DrawCollage(canvas, Rect::OfSize(400, 400), 1, done), 9);
    EXPECT_TRUE(done);
    EXPECT_EQ(canvas.Pixel(5, 5), PaletteColour(1));
    EXPECT_EQ(canvas.Pixel(85, 5), PaletteColour(3));
    EXPECT_EQ(canvas.Pixel(5, 35), PaletteColour(4));
    EXPECT_EQ(canvas.Pixel(85, 65), PaletteColour(9));
    EXPECT_EQ(canvas.Pixel(125, 5), kShpCollageBackground);
    int width = 400, height = 400;
    EXPECT_EQ(shp.CollageSize(width, height, 0), 1);
    EXPECT_EQ(width, 120);
    EXPECT_EQ(height, 90);

    Shp(test::SolidShp(10, SameSize(40, 30)));
    EXPECT_EQ(shp.DrawCollage(canvas, Rect::OfSize(400, 400), 1, done), 10);
    EXPECT_EQ(canvas.Pixel(365, 5), PaletteColour(10));
    width = 400, height = 400;
    shp.CollageSize(width, height, 1);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 30);
    width = 200, height = 400;
    shp.CollageSize(width, height, 1);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 60);
}

TEST_F(ImageSet, ACollageEndsAtTheBottomAndPagesOn) {
    Shp(test::SolidShp(9, SameSize(40, 30)));
    shp.SelectIcon(2);
    BitmapCanvas canvas(400, 70);
    bool done = true;
    EXPECT_EQ(shp.DrawCollage(canvas, Rect::OfSize(400, 70), 1, done), 6);
    EXPECT_FALSE(done);
    EXPECT_EQ(canvas.Pixel(5, 65), kShpCollageBackground);
    EXPECT_EQ(shp.CurrentIcon(), 2);
    // The next page counts its rows afresh: the square rule looks at icons placed, not icon numbers.
    EXPECT_EQ(shp.DrawCollage(canvas, Rect::OfSize(400, 70), 7, done), 3);
    EXPECT_TRUE(done);
    EXPECT_EQ(canvas.Pixel(85, 5), PaletteColour(9));
}

TEST_F(ImageSet, ARowTakesTheHeightOfItsOwnIconsOnly) {
    // The third icon, taller, starts the second row; the first row keeps its own height.
    Shp(test::SolidShp(3, [](int n, int& w, int& h) {
        w = 40;
        h = n == 3 ? 50 : 20;
    }));
    int width = 80, height = 400;
    shp.CollageSize(width, height, 1);
    EXPECT_EQ(width, 80);
    EXPECT_EQ(height, 70);
}

TEST_F(ImageSet, IconsLargerThanADrawnCollageShrinkToIt) {
    Shp(test::SolidShp(2, SameSize(100, 20)));
    BitmapCanvas canvas(60, 60, MakeRgb(1, 2, 3));
    bool done = false;
    EXPECT_EQ(shp.DrawCollage(canvas, Rect::OfSize(60, 60), 1, done), 2);
    EXPECT_EQ(canvas.Pixel(56, 5), PaletteColour(1));
    EXPECT_EQ(canvas.Pixel(57, 5), kShpCollageBackground);
    EXPECT_EQ(canvas.Pixel(5, 25), PaletteColour(2));
}

TEST_F(ImageSet, S16CollagesKeepAFrameAndGapsUnlessTight) {
    S16(test::SolidS16(9, SameSize(40, 30)));
    BitmapCanvas canvas(400, 400, MakeRgb(1, 2, 3));
    bool done = false;
    EXPECT_EQ(s16.DrawCollage(canvas, Rect::OfSize(400, 400), 1, done), 9);
    EXPECT_EQ(canvas.Pixel(0, 0), kS16CollageBackground);
    EXPECT_EQ(canvas.Pixel(1, 1), SolidColour(1));
    EXPECT_EQ(canvas.Pixel(41, 1), kS16CollageBackground);
    EXPECT_EQ(canvas.Pixel(42, 1), SolidColour(2));
    EXPECT_EQ(canvas.Pixel(1, 32), SolidColour(4));

    int width = 400, height = 400;
    s16.CollageSize(width, height, 1, false);
    EXPECT_EQ(width, 124);
    EXPECT_EQ(height, 95);
    width = 400, height = 400;
    s16.CollageSize(width, height, 1, true);
    EXPECT_EQ(width, 121);
    EXPECT_EQ(height, 91);
}

// ---- drawing one icon ----

std::vector<std::vector<std::uint8_t>> HalfAndHalf(int width, int height, std::uint8_t left, std::uint8_t right) {
    std::vector<std::vector<std::uint8_t>> rows(size_t(height), std::vector<std::uint8_t>(size_t(width), right));
    for (auto& row : rows) std::fill_n(row.begin(), width / 2, left);
    return rows;
}

TEST_F(ImageSet, DrawIconFitsZoomsAndMirrors) {
    Shp(test::ShpOfRows({HalfAndHalf(10, 10, 1, 2), HalfAndHalf(100, 20, 3, 4)}));
    BitmapCanvas canvas(40, 40);
    EXPECT_GT(shp.DrawIcon(canvas, Rect::OfSize(40, 40), 1), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), PaletteColour(1));
    EXPECT_EQ(canvas.Pixel(9, 9), PaletteColour(2));
    EXPECT_EQ(canvas.Pixel(10, 10), kIconBackground);

    // Zoomed SHP icons stay inside the rectangle: 5 x 10 pixels become 30, so x 20 is in the right half.
    shp.DrawIcon(canvas, Rect::OfSize(30, 30), 5);
    EXPECT_EQ(canvas.Pixel(20, 0), PaletteColour(2));
    EXPECT_EQ(canvas.Pixel(14, 29), PaletteColour(1));

    shp.SetMirror(true);
    shp.DrawIcon(canvas, Rect::OfSize(40, 40), 1);
    EXPECT_EQ(canvas.Pixel(0, 0), PaletteColour(2));
    EXPECT_EQ(canvas.Pixel(9, 0), PaletteColour(1));
    shp.SetMirror(false);

    // Wider than the area: two pixels less than the area wide, height kept.
    shp.SelectIcon(2);
    shp.DrawIcon(canvas, Rect::OfSize(40, 40), 3);
    EXPECT_EQ(canvas.Pixel(37, 19), PaletteColour(4));
    EXPECT_EQ(canvas.Pixel(38, 19), kIconBackground);
    EXPECT_EQ(canvas.Pixel(0, 20), kIconBackground);
}

TEST_F(ImageSet, ZoomedS16IconsAreNotLimitedToTheRectangle) {
    S16Icon icon;
    icon.width = icon.height = icon.contentWidth = icon.contentHeight = 10;
    for (int i = 0; i < 100; ++i) icon.content.push_back(ToRgb565(SolidColour(i % 10 < 5 ? 1 : 2)));
    S16(BuildS16({icon}));
    BitmapCanvas canvas(30, 30);
    EXPECT_EQ(s16.DrawIcon(canvas, Rect::OfSize(30, 30), 5), 100);
    // Drawn 50 wide and cut by the canvas: x 20 is still in the left half.
    EXPECT_EQ(canvas.Pixel(20, 0), SolidColour(1));
    EXPECT_EQ(canvas.Pixel(24, 29), SolidColour(1));
}

TEST_F(ImageSet, IconsThatDoNotDecodeLeaveTheAreaGrey) {
    ShpIconHeader tooSmall;  // 1 x 1: below the smallest icon
    Shp(test::ShpBuilder().RawIcon(tooSmall, {2, 5, 0}).Build());
    BitmapCanvas canvas(20, 20, MakeRgb(1, 2, 3));
    EXPECT_EQ(shp.DrawIcon(canvas, Rect::OfSize(20, 20), 1), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), kIconBackground);
    EXPECT_EQ(canvas.Pixel(19, 19), kIconBackground);

    Shp(test::SolidShp(0, SameSize(2, 2)));
    EXPECT_EQ(shp.DrawIcon(canvas, Rect::OfSize(20, 20), 1), 0);
    bool done = false;
    EXPECT_EQ(shp.DrawCollage(canvas, Rect::OfSize(20, 20), 1, done), 0);
    EXPECT_TRUE(done);
    EXPECT_EQ(canvas.Pixel(3, 3), kShpCollageBackground);

    // A set without icons and without a picture draws only the background.
    CShp3 empty;
    EXPECT_EQ(empty.DrawIcon(canvas, Rect::OfSize(20, 20), 1), 0);
    EXPECT_EQ(canvas.Pixel(3, 3), kIconBackground);
}

// ---- saving ----

TEST_F(ImageSet, SaveAllIconsNamesFilesByTheOutputType) {
    Shp(test::SolidShp(3, SameSize(4, 3)));
    shp.SelectIcon(2);
    EXPECT_EQ(shp.SaveAllIcons(dir.File("tank.shp"), 1, messages), 0);
    for (const char* name : {"tank_001.PNG", "tank_002.PNG", "tank_003.PNG"})
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_EQ(messages.Notices(), std::vector<std::string>{"Done, All 3 icons saved as PNG"});
    EXPECT_EQ(shp.CurrentIcon(), 2);

    S16(test::SolidS16(2, SameSize(5, 5)));
    messages.Clear();
    EXPECT_EQ(s16.SaveAllIcons(dir.File("plane"), 0, messages), 0);
    EXPECT_EQ(messages.Notices(), std::vector<std::string>{"Done, All 2 icons saved as BMP"});
    EXPECT_EQ(Load("plane_002.BMP").PixelRgb(4, 4), SolidColour(2));
}

TEST_F(ImageSet, SaveAllIconsCountsIconsThatCannotBeSaved) {
    ShpIconHeader tooSmall;
    auto bytes = test::ShpBuilder()
                     .Icon(test::RowsFromText({"AB", "CD"}))
                     .RawIcon(tooSmall, {0})
                     .Icon(test::RowsFromText({"AB", "CD"}))
                     .Build();
    Shp(bytes);
    EXPECT_EQ(shp.SaveAllIcons(dir.File("tank.shp"), 2, messages), 1);
    EXPECT_EQ(messages.Errors(), std::vector<std::string>{"Error: 1 / 3 icons were not saved as JPG\n"});
    EXPECT_TRUE(std::filesystem::exists(dir / "tank_003.JPG"));
    EXPECT_FALSE(std::filesystem::exists(dir / "tank_002.JPG"));
}

// Icons are saved a few at a time on several readers: each file still holds its own icon, and what could not be
// written is said in icon order before the summary. PNG pictures are encoded on the readers' threads and written
// by the calling one; the others are written where they are made.
TEST_F(ImageSet, SaveAllIconsOnSeveralThreadsKeepsIconsAndMessagesInOrder) {
    Shp(test::SolidShp(40, [](int n, int& w, int& h) {
        w = 3 + n % 5;
        h = 2 + n % 3;
    }));
    for (const char* ext : {"BMP", "PNG"}) {
        SCOPED_TRACE(ext);
        messages.Clear();
        for (int n : {5, 17, 33}) std::filesystem::create_directories(dir / Format("tank_%03d.%s", n, ext));
        EXPECT_EQ(shp.SaveAllIcons(dir.File("tank.shp"), ext == std::string("BMP") ? 0 : 1, messages), 3);
        std::vector<std::string> expected;
        for (int n : {5, 17, 33})
            expected.push_back(Format("Error creating %s", dir.File(Format("tank_%03d.%s", n, ext)).c_str()));
        expected.push_back(Format("Error: 3 / 40 icons were not saved as %s\n", ext));
        EXPECT_EQ(messages.Errors(), expected);
        for (int n = 1; n <= 40; ++n) {
            if (n == 5 || n == 17 || n == 33) continue;
            int width = 0, lastIndex = -1;
            if (ext == std::string("PNG")) {
                PngSamples icon;
                std::string problem;
                ASSERT_TRUE(ReadPngSamples(dir.File(Format("tank_%03d.PNG", n)), icon, problem)) << problem;
                width = icon.width;
                lastIndex = icon.pixels.empty() ? -1 : icon.pixels.back();
            } else {
                const CBmpDib icon = Load(Format("tank_%03d.BMP", n));
                width = icon.Width();
                lastIndex = icon.GetIndex(icon.Width() - 1, icon.Height() - 1);
            }
            EXPECT_EQ(width, 3 + n % 5) << n;
            EXPECT_EQ(lastIndex, n) << n;
        }
    }
}

TEST_F(ImageSet, SaveIconWritesTheCurrentIconEvenAfterACollage) {
    Shp(test::SolidShp(3, SameSize(4, 3)));
    shp.SelectIcon(1);
    BitmapCanvas canvas(100, 100);
    bool done = false;
    shp.DrawCollage(canvas, Rect::OfSize(100, 100), 1, done);
    ASSERT_TRUE(shp.SaveIcon(dir.File("one.bmp"), messages));
    const CBmpDib one = Load("one.bmp");
    EXPECT_EQ(one.BitsPerPixel(), 8);
    EXPECT_EQ(one.GetIndex(3, 2), 1);
    EXPECT_FALSE(shp.SaveIcon(dir.File("one.shp"), messages));
}

TEST_F(ImageSet, SavedShpCollageIsIndexedOnTheTransparentIndex) {
    Shp(test::SolidShp(9, [](int n, int& w, int& h) {
        w = 40;
        h = n == 2 ? 20 : 30;
    }));
    ASSERT_TRUE(shp.SaveCollage(dir.File("c.bmp"), Rect::OfSize(400, 400), 0, messages));
    const CBmpDib c = Load("c.bmp");
    EXPECT_EQ(c.Width(), 120);
    EXPECT_EQ(c.Height(), 90);
    EXPECT_EQ(c.GetIndex(0, 0), 1);
    EXPECT_EQ(c.GetIndex(45, 25), 159);
    EXPECT_EQ(c.GetIndex(45, 35), 5);
    EXPECT_EQ(c.GetIndex(119, 89), 9);

    EXPECT_FALSE(shp.SaveCollage(dir.File("none.bmp"), Rect::OfSize(400, 20), 1, messages));
    EXPECT_EQ(messages.Errors(), std::vector<std::string>{"No icon fits in 400 x 20"});
    EXPECT_FALSE(std::filesystem::exists(dir / "none.bmp"));
    // An icon wider than the area is kept whole rather than left out.
    ASSERT_TRUE(shp.SaveCollage(dir.File("one.bmp"), Rect::OfSize(30, 30), 1, messages));
    EXPECT_EQ(Load("one.bmp").Width(), 40);
}

TEST_F(ImageSet, SavedS16CollageHasGreyGapsAndRoomForItsRows) {
    S16(test::SolidS16(9, SameSize(40, 30)));
    ASSERT_TRUE(s16.SaveCollage(dir.File("c.bmp"), Rect::OfSize(400, 400), 1, false, messages));
    const CBmpDib c = Load("c.bmp");
    EXPECT_EQ(c.Width(), 124);
    EXPECT_EQ(c.Height(), 95);
    EXPECT_EQ(c.PixelRgb(0, 0), MakeRgb(159, 159, 159));
    EXPECT_EQ(c.PixelRgb(1, 1), SolidColour(1));
    EXPECT_EQ(c.PixelRgb(42, 1), SolidColour(2));
    EXPECT_EQ(c.PixelRgb(1, 32), SolidColour(4));
    EXPECT_EQ(c.PixelRgb(1, 94), MakeRgb(159, 159, 159));
}

TEST_F(ImageSet, ABlockLeavesCellsWithoutIconsAsBackground) {
    Shp(test::SolidShp(6, SameSize(10, 8)));
    BlockParams block{dir.File("b.bmp"), 0, 5, 2, 3, 10, 8, false, {}};
    ASSERT_TRUE(shp.SaveBlock(block, messages));
    CBmpDib b = Load("b.bmp");
    EXPECT_EQ(b.Width(), 30);
    EXPECT_EQ(b.Height(), 16);
    EXPECT_EQ(b.GetIndex(5, 3), 1);
    EXPECT_EQ(b.GetIndex(25, 3), 3);
    EXPECT_EQ(b.GetIndex(5, 12), 4);
    EXPECT_EQ(b.GetIndex(15, 12), 5);
    EXPECT_EQ(b.GetIndex(25, 12), 159);

    block.lines = true;
    block.first = 3;  // icons 4, 5, 6 and then none
    ASSERT_TRUE(shp.SaveBlock(block, messages));
    b = Load("b.bmp");
    EXPECT_EQ(b.Width(), 33);
    EXPECT_EQ(b.Height(), 18);
    EXPECT_EQ(b.GetIndex(0, 0), 4);
    EXPECT_EQ(b.GetIndex(10, 0), 196);
    EXPECT_EQ(b.GetIndex(0, 8), 196);
    EXPECT_EQ(b.GetIndex(22, 0), 6);
    // Past the last icon the cells stay empty instead of repeating it.
    EXPECT_EQ(b.GetIndex(0, 9), 196);
    EXPECT_TRUE(messages.Errors().empty());
}

TEST_F(ImageSet, ABlockCutsTallIconsToTheirLowestRows) {
    std::vector<std::vector<std::uint8_t>> rows;
    for (int y = 0; y < 12; ++y) rows.push_back(std::vector<std::uint8_t>(6, std::uint8_t(y + 1)));
    Shp(test::ShpOfRows({rows}));
    ASSERT_TRUE(shp.SaveBlock({dir.File("b.bmp"), 0, 1, 1, 1, 4, 8, false, {}}, messages));
    const CBmpDib b = Load("b.bmp");
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.GetIndex(0, 0), 5);
    EXPECT_EQ(b.GetIndex(3, 7), 12);

    S16Icon icon;
    icon.width = icon.contentWidth = 6;
    icon.height = icon.contentHeight = 12;
    for (int i = 0; i < 72; ++i) icon.content.push_back(ToRgb565(SolidColour(i / 6 + 1)));
    S16(BuildS16({icon}));
    ASSERT_TRUE(s16.SaveBlock({dir.File("s.bmp"), 0, 2, 1, 2, 4, 8, true, {}}, messages));
    const CBmpDib s = Load("s.bmp");
    EXPECT_EQ(s.Width(), 10);
    EXPECT_EQ(s.Height(), 9);
    EXPECT_EQ(s.PixelRgb(0, 0), SolidColour(5));
    EXPECT_EQ(s.PixelRgb(3, 7), SolidColour(12));
    EXPECT_EQ(s.PixelRgb(4, 0), MakeRgb(159, 159, 159));
    EXPECT_EQ(s.PixelRgb(5, 0), MakeRgb(159, 159, 159));  // icon 2 does not exist
}

TEST_F(ImageSet, ABlockWithoutCellsOrTooLargeIsRefused) {
    Shp(test::SolidShp(2, SameSize(4, 4)));
    EXPECT_FALSE(shp.SaveBlock({dir.File("b.bmp"), 0, 2, 0, 3, 4, 4, false, {}}, messages));
    EXPECT_FALSE(shp.SaveBlock({dir.File("b.bmp"), 0, 2, 100000, 100000, 640, 480, true, {}}, messages));
    EXPECT_FALSE(shp.SaveBlock({"", 0, 2, 1, 1, 4, 4, false, {}}, messages));
    ASSERT_EQ(messages.Errors().size(), 2u);
    EXPECT_EQ(messages.Errors()[1], " Not enough  memory ");
    EXPECT_FALSE(std::filesystem::exists(dir / "b.bmp"));
}

// ---- copying into other pictures ----

TEST_F(ImageSet, CopyIconToDropsWhatFallsOutside) {
    Shp(test::ShpOfRows({{{1, 2}, {3, 4}}}));
    shp.SelectIcon(1);
    ASSERT_GT(shp.DecodeIcon(), 0);
    std::vector<std::uint8_t> indices(4 * 2, 0);  // 4 bytes a row, 2 rows, bottom-up
    EXPECT_EQ(shp.CopyIconTo(indices, 3, -1, 4, 2, -1), 2);
    // Only the icon's bottom-left pixel (3) lands inside, at (3, 0): the top row, stored last.
    EXPECT_EQ(indices, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 3}));

    std::vector<std::uint8_t> colours(8 * 2, 0);
    EXPECT_EQ(shp.CopyIconTo(colours, 0, 0, 8, 2, 24), 2);
    const Rgb four = PaletteColour(4);
    EXPECT_EQ(colours[3], BlueOf(four));
    EXPECT_EQ(colours[4], GreenOf(four));
    EXPECT_EQ(colours[5], RedOf(four));
    EXPECT_EQ(shp.CopyIconTo(colours, 0, 0, 8, 2, 16), 0);
}

TEST_F(ImageSet, SheetCellsCountFromTheBottomRow) {
    test::WriteBytes(dir / "sheet.png", test::SheetPng(240, 150));
    ASSERT_EQ(s16.LoadPngPicture(dir.File("sheet.png"), messages), 1);
    CBmpDib target;
    target.Create(100, 60, 24, false);
    target.Allocate();
    EXPECT_EQ(s16.CopyCellTo(0, 0, target, 0), 150);
    EXPECT_EQ(target.PixelRgb(0, 0), SolidColour(7));
    EXPECT_EQ(target.PixelRgb(79, 49), SolidColour(7));
    EXPECT_EQ(target.PixelRgb(80, 0), 0u);
    s16.CopyCellTo(0, 0, target, 8);
    EXPECT_EQ(target.PixelRgb(0, 0), SolidColour(3));
    EXPECT_EQ(s16.CopyCellTo(0, 0, target, 9), 0);

    for (int width : {241, 239}) {
        test::WriteBytes(dir / "wide.png", test::SheetPng(width, 150));
        ASSERT_EQ(s16.LoadPngPicture(dir.File("wide.png"), messages), 1);
        CBmpDib whole;
        whole.Create(width, 150, 24, false);
        whole.Allocate();
        EXPECT_EQ(s16.CopyCellTo(0, 0, whole, 4), 150);
        EXPECT_EQ(whole.PixelRgb(width - 1, 0), s16.PixelRgb(width - 1, 0)) << width;
        EXPECT_EQ(whole.PixelRgb(0, 149), s16.PixelRgb(0, 149)) << width;
    }
}

TEST_F(ImageSet, APngPictureIsDrawnAndSavedWhole) {
    test::WriteBytes(dir / "sheet.png", test::SheetPng(240, 150));
    ASSERT_EQ(s16.LoadPngPicture(dir.File("sheet.png"), messages), 1);
    BitmapCanvas canvas(300, 200);
    EXPECT_EQ(s16.DrawIcon(canvas, Rect::OfSize(300, 200), 1), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), SolidColour(1));
    EXPECT_EQ(canvas.Pixel(239, 149), SolidColour(9));
    EXPECT_EQ(canvas.Pixel(240, 149), kIconBackground);
    ASSERT_TRUE(s16.SaveIcon(dir.File("copy.bmp"), messages));
    EXPECT_EQ(Load("copy.bmp").Width(), 240);
}

}  // namespace
}  // namespace pixmond
