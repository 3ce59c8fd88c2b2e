#include <gtest/gtest.h>

#include <filesystem>

#include "base/ByteReader.h"
#include "image/CShpFile.h"
#include "image/Palette.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "tools/CShpMakerLogic.h"
#include "tools/ShpBuilders.h"
#include "base/Format.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

using test::IndexRows;

std::vector<IndexRows> IconsOf(const std::string& path) {
    CShpFile shp;
    std::vector<IndexRows> icons;
    if (!shp.OpenFile(path, 1)) return icons;
    for (int n = 1; n <= shp.IconCount(); ++n) {
        shp.SelectIcon(n);
        EXPECT_GT(shp.DecodeIcon(), 0) << "icon " << n;
        icons.push_back(test::RowsOf(shp));
    }
    return icons;
}

// A sheet of columns x rows cells of w x h; cell k holds index k + 1 with its top-left pixel transparent,
// so every icon keeps its full size.
IndexRows Sheet(int columns, int rows, int w, int h) {
    IndexRows sheet(size_t(rows * h), std::vector<std::uint8_t>(size_t(columns * w)));
    for (int y = 0; y < rows * h; ++y)
        for (int x = 0; x < columns * w; ++x) {
            const int k = (y / h) * columns + x / w;
            sheet[size_t(y)][size_t(x)] = (x % w == 1 && y % h == 1) ? kTransparentIndex : std::uint8_t(k + 1);
        }
    return sheet;
}

IndexRows Cut(const IndexRows& sheet, int x0, int y0, int w, int h) {
    IndexRows cell;
    for (int y = y0; y < y0 + h; ++y) cell.emplace_back(sheet[size_t(y)].begin() + x0, sheet[size_t(y)].begin() + x0 + w);
    return cell;
}

class ShpMakerTest : public ::testing::Test {
protected:
    ShpMakerTest() : maker(services) { maker.folder = dir.Path().string() + "/"; }
    void WriteBmp(const std::string& name, const IndexRows& rows) {
        ASSERT_TRUE(test::PictureOf(rows).SaveBmp(dir.File(name), true, services.messages));
    }
    test::TempDir dir;
    RecordingServices services;
    CShpMakerLogic maker;
};

TEST(ShpMakerFileSpec, TypedSpecsBecomeBitmapPatterns) {
    EXPECT_EQ(CShpMakerLogic::FilePattern(""), "*.bmp");
    EXPECT_EQ(CShpMakerLogic::FilePattern("tank"), "tank.bmp");
    EXPECT_EQ(CShpMakerLogic::FilePattern("tank "), "tank*.bmp");
    EXPECT_EQ(CShpMakerLogic::FilePattern("t*.BMP"), "t*.BMP");
}

TEST_F(ShpMakerTest, ListingFollowsTheFileSpec) {
    for (const char* name : {"tank.bmp", "tank2.bmp", "TANKER.BMP", "jeep.bmp", "tank.txt"}) test::WriteText(dir / name, "x");
    maker.fileSpec = "tank";
    EXPECT_EQ(maker.ListBitmaps(), std::vector<std::string>{"tank.bmp"});
    maker.fileSpec = "tank ";
    EXPECT_EQ(maker.ListBitmaps(), (std::vector<std::string>{"tank.bmp", "tank2.bmp", "TANKER.BMP"}));
    maker.fileSpec = "";
    EXPECT_EQ(maker.ListBitmaps().size(), 4u);
}

TEST_F(ShpMakerTest, ANineIconShpFromA3x3SheetDecodesToTheSheetsCells) {
    const IndexRows sheet = Sheet(3, 3, 5, 4);
    WriteBmp("sheet.bmp", sheet);
    EXPECT_EQ(maker.MakeFromNineIconBitmaps({"sheet.bmp"}, true), 1);
    const auto icons = IconsOf(dir.File("sheet.shp"));
    ASSERT_EQ(icons.size(), 9u);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(icons[size_t(k)], Cut(sheet, (k % 3) * 5, (k / 3) * 4, 5, 4)) << "cell " << k;
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"\nDone !\n1 files created all with 9 icons\n"});

    // The same through the builder the PNG conversions use.
    const std::string direct = dir.File("direct.shp");
    EXPECT_EQ(BuildShpFromSheet(direct, test::PictureOf(sheet)), 1);
    EXPECT_EQ(IconsOf(direct), icons);
}

TEST_F(ShpMakerTest, NineByOneIgnoresTheRemainderColumns) {
    // 300 x 50 gives nine icons of 33 x 50 from x = 0, 33, ..., 264.
    const IndexRows strip = Sheet(9, 1, 33, 50);
    IndexRows wide = strip;
    for (auto& row : wide) row.insert(row.end(), 3, 77);
    WriteBmp("strip.bmp", wide);
    EXPECT_EQ(maker.MakeFromNineIconBitmaps({"strip.bmp"}, false), 1);
    const auto icons = IconsOf(dir.File("strip.shp"));
    ASSERT_EQ(icons.size(), 9u);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(icons[size_t(k)], Cut(strip, k * 33, 0, 33, 50));
}

TEST_F(ShpMakerTest, ClonesRepeatOneRecordNineTimes) {
    const IndexRows icon = test::RowsFromText({"AB.C", "DDDD", ".EE."});
    WriteBmp("jeep.bmp", icon);
    EXPECT_EQ(maker.MakeClones({"jeep.bmp"}), 1);
    const auto bytes = test::ReadBytes(dir / "jeep.shp");
    const std::uint32_t size = (std::uint32_t(bytes.size()) - 80) / 9;
    ASSERT_EQ(bytes.size(), 80u + 9 * size);
    const ByteReader r(bytes);
    EXPECT_EQ(r.U32(4), 9u);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(r.U32(size_t(8 + 8 * k)), 80 + k * size);
        EXPECT_EQ(r.U32(size_t(12 + 8 * k)), 0u);
    }
    EXPECT_EQ(IconsOf(dir.File("jeep.shp")), std::vector<IndexRows>(9, icon));
}

TEST_F(ShpMakerTest, BatchesCountWhatCouldNotBeMade) {
    WriteBmp("good.bmp", test::RowsFromText({"AB", "CD"}));
    WriteBmp("huge.bmp", IndexRows(2, std::vector<std::uint8_t>(700, 3)));
    test::WriteText(dir / "broken.bmp", "not a bitmap");
    EXPECT_EQ(maker.MakeClones({"good.bmp", "huge.bmp", "broken.bmp", "missing.bmp"}), 1);
    EXPECT_EQ(services.messages.Errors().back(), "\n1 files created\n3 files could not be created\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "good.shp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "huge.shp"));

    // A sheet whose cells are too small to be icons.
    WriteBmp("tiny.bmp", IndexRows(3, std::vector<std::uint8_t>(3, 4)));
    services.messages.Clear();
    EXPECT_EQ(maker.MakeFromNineIconBitmaps({"tiny.bmp"}, true), 0);
    EXPECT_EQ(services.messages.Errors(), std::vector<std::string>{"\n0 files created\n1 files could not be created\n"});
}

TEST_F(ShpMakerTest, RunsNeedASelectionOrIcons) {
    EXPECT_FALSE(maker.ReadyToRun(CShpMakerLogic::kExpressBatch, 0));
    EXPECT_TRUE(maker.ReadyToRun(CShpMakerLogic::kExpressBatch, 2));
    EXPECT_FALSE(maker.ReadyToRun(CShpMakerLogic::kIconList, 5));
    maker.iconList.Add("tank");
    EXPECT_TRUE(maker.ReadyToRun(CShpMakerLogic::kIconList, 0));
    EXPECT_EQ(services.messages.Errors(), (std::vector<std::string>{"No selection to process..", "No icons added yet .."}));
}

TEST_F(ShpMakerTest, IconListBuildsOneShpAndLeavesOutWhatCannotBeLoaded) {
    const IndexRows a = test::RowsFromText({"AA", "B."});
    const IndexRows b = test::RowsFromText({"CCC", "D.D"});
    WriteBmp("alpha.bmp", a);
    WriteBmp("BETA.BMP", b);
    for (const char* title : {"BETA", "missing", "alpha"}) maker.iconList.Add(title);
    const std::string output = dir.File("out.shp");
    ASSERT_TRUE(maker.MakeFromIconList(output));
    EXPECT_EQ(IconsOf(output), (std::vector<IndexRows>{b, a}));
    ASSERT_FALSE(services.messages.Errors().empty());
    EXPECT_EQ(services.messages.Errors().back(), "1 of 3 bitmaps could not be made into icons and were left out:\nmissing");
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"\n " + output + " was created \n"});

    // Nothing loadable: no file at all.
    maker.iconList.Clear();
    maker.iconList.Add("missing");
    const std::string nothing = dir.File("nothing.shp");
    EXPECT_FALSE(maker.MakeFromIconList(nothing));
    EXPECT_FALSE(std::filesystem::exists(nothing));
}

TEST(ShpIconListOrder, RemovingAndMoving) {
    ShpIconList list;
    for (const char* title : {"a", "b", "c", "d", "e"}) list.Add(title);
    ASSERT_TRUE(list.Remove(1));
    EXPECT_EQ(list.Titles(), (std::vector<std::string>{"a", "c", "d", "e"}));
    EXPECT_EQ(list.Move(0, -1), -1);
    EXPECT_EQ(list.Move(3, 1), -1);
    EXPECT_EQ(list.Move(2, -1), 1);
    EXPECT_EQ(list.Titles(), (std::vector<std::string>{"a", "d", "c", "e"}));
    EXPECT_FALSE(list.Remove(4));
}

TEST(ShpMakerSettingsStore, DefaultsFallbackAndRoundTrip) {
    MemorySettings settings;
    settings.SetString("Settings", "BMP folder", "/bmp/");
    ShpMakerSettings values(settings);
    EXPECT_EQ(values.Folder(), "/bmp/");
    EXPECT_EQ(values.Mode(), 2);
    EXPECT_TRUE(values.ThreeByThree());
    EXPECT_FALSE(values.Preview());

    values.SetFolder("/icons/");
    values.SetMode(1);
    values.SetThreeByThree(false);
    values.SetPreview(true);
    EXPECT_EQ(settings.GetString("Settings", "Folder"), "/icons/");
    EXPECT_EQ(settings.GetInt("Settings", "Option", -1), 1);
    EXPECT_EQ(settings.GetInt("Settings", "3x3", -1), 0);
    EXPECT_EQ(settings.GetInt("Settings", "Preview", -1), 1);
    ShpMakerSettings again(settings);
    EXPECT_EQ(again.Folder(), "/icons/");
    EXPECT_FALSE(again.ThreeByThree());
}

TEST_F(ShpMakerTest, PreviewInfoReplaceAndSave) {
    EXPECT_EQ(maker.BitmapInfo(), "No Pic loaded");
    // Bottom-left pixel index 7.
    WriteBmp("pic.bmp", test::RowsFromText({"AB", "GC"}));
    ASSERT_TRUE(maker.LoadPreview("pic.bmp", true));
    const auto& t = DefaultPalette();
    EXPECT_EQ(maker.BitmapInfo(), Format("8 bits 2 x 2\nPix 0 is: Pal=7 (%d,%d,%d)", t[21], t[22], t[23]));
    EXPECT_EQ(maker.ReplaceProposal(), 7);
    EXPECT_EQ(maker.WithProposal(), kTransparentIndex);
    EXPECT_EQ(maker.PaletteColour(159), MakeRgb(248, 228, 216));
    EXPECT_FALSE(maker.Changed());

    EXPECT_FALSE(maker.ReplaceColour(7, -1));   // nothing to replace with
    EXPECT_FALSE(maker.ReplaceColour(7, 256));
    EXPECT_FALSE(maker.ReplaceColour(7, 7));    // the same index
    ASSERT_TRUE(maker.ReplaceColour(7, kTransparentIndex));
    EXPECT_EQ(test::RowsOf(maker.Preview()), test::RowsFromText({"AB", ".C"}));
    ASSERT_TRUE(maker.SaveChanged("pic.bmp"));
    EXPECT_FALSE(maker.Changed());
    ASSERT_TRUE(maker.LoadPreview("picX.bmp", false));
    EXPECT_EQ(test::RowsOf(maker.Preview()), test::RowsFromText({"AB", ".C"}));
}

TEST_F(ShpMakerTest, DeepBitmapsPreviewInTheDefaultPaletteWhenAsked) {
    CBmpDib deep;
    deep.Create(2, 2, 24, false);
    ASSERT_TRUE(deep.Allocate());
    deep.Fill(0);
    deep.SetColour(0, 1, MakeRgb(248, 228, 216));
    ASSERT_TRUE(deep.SaveBmp(dir.File("deep.bmp"), true, services.messages));
    ASSERT_TRUE(maker.LoadPreview("deep.bmp", false));
    EXPECT_EQ(maker.BitmapInfo(), "24 bits 2 x 2\nPix 0 is: RGB (248,228,216)");
    EXPECT_FALSE(maker.CanReplace());
    ASSERT_TRUE(maker.LoadPreview("deep.bmp", true));
    EXPECT_TRUE(maker.Changed());
    EXPECT_EQ(maker.ReplaceProposal(), 159);
}

}  // namespace
}  // namespace pixmond
