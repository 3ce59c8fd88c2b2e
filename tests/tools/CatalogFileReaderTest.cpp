#include <gtest/gtest.h>

#include "archive/CDatFile.h"
#include "image/CBmpDib.h"
#include "image/Palette.h"
#include "image/PngReader.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "tools/CShpCatLogic.h"
#include "tools/CatalogFileReader.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

using test::IconSize;

constexpr Rgb kRed = MakeRgb(248, 0, 0);
constexpr Rgb kBlue = MakeRgb(0, 0, 248);
const std::array<Rgb, 9> kSheet = {MakeRgb(8, 0, 0),  MakeRgb(16, 0, 0), MakeRgb(24, 0, 0),
                                   MakeRgb(32, 0, 0), MakeRgb(40, 0, 0), MakeRgb(48, 0, 0),
                                   MakeRgb(56, 0, 0), MakeRgb(64, 0, 0), MakeRgb(72, 0, 0)};

// Nine icons of 40 x 30 except the fourth.
std::vector<IconSize> FourthDiffers(IconSize fourth) {
    std::vector<IconSize> sizes(9, IconSize{40, 30});
    sizes[3] = fourth;
    return sizes;
}

CatalogIcon Record(const std::string& file, int entry = -1) {
    CatalogIcon icon;
    icon.file = file;
    icon.name = file.substr(0, 12);
    icon.kind = IconKindOfName(file);
    icon.entry = entry;
    return icon;
}

IconSize Measured(CatalogIconReader& reader, const CatalogIcon& record, int icon = 4) {
    IconSize size{-1, -1};
    if (!reader.Measure(record, icon, size.width, size.height)) return {0, 0};
    return size;
}


CBmpDib Canvas24(int width, int height) {
    CBmpDib target;
    target.Create(width, height, 24);
    target.Allocate();
    target.Fill(0);
    return target;
}

TEST(CatalogFolderReader, MeasuresTheViewIconOfNineIconFilesOnly) {
    test::TempDir dir;
    test::WriteBytes(dir / "tank.shp", test::UnitShp(FourthDiffers({70, 50}), 5));
    test::WriteBytes(dir / "ten.shp", test::UnitShp(20, 20, 5, 10));
    test::WriteBytes(dir / "ship.s16", test::UnitS16(FourthDiffers({64, 33}), kRed));
    test::WriteBytes(dir / "ten.s16", test::UnitS16(20, 20, kRed, 10));
    test::WriteBytes(dir / "sheet.png", test::SheetPng(80, 50, kSheet));
    test::WriteBytes(dir / "plain.png", test::PlainPng(100, 60, kBlue));
    test::WriteBytes(dir / "broken.png", std::vector<std::uint8_t>(40, 7));
    CatalogFileReader reader(dir.Path().string());
    EXPECT_EQ(Measured(reader, Record("tank.shp")), (IconSize{70, 50}));
    EXPECT_EQ(Measured(reader, Record("tank.shp"), 1), (IconSize{40, 30}));
    EXPECT_EQ(Measured(reader, Record("ten.shp")), (IconSize{0, 0}));
    // An S16 is measured by the icon that will be drawn, not by its first.
    EXPECT_EQ(Measured(reader, Record("ship.s16")), (IconSize{64, 33}));
    EXPECT_EQ(Measured(reader, Record("ten.s16")), (IconSize{0, 0}));
    EXPECT_EQ(Measured(reader, Record("sheet.png")), (IconSize{80, 50}));
    // A picture that is no sheet is drawn whole, so it takes its whole size.
    EXPECT_EQ(Measured(reader, Record("plain.png")), (IconSize{100, 60}));
    EXPECT_EQ(Measured(reader, Record("broken.png")), (IconSize{0, 0}));
    EXPECT_EQ(Measured(reader, Record("missing.shp")), (IconSize{0, 0}));
}

TEST(CatalogFolderReader, CopiesEveryPixelOfTheIconAndClipsAtTheEdges) {
    test::TempDir dir;
    test::WriteBytes(dir / "tank.shp", test::UnitShp(6, 4, 5));
    test::WriteBytes(dir / "sheet.png", test::SheetPng(80, 50, kSheet));
    CatalogFileReader reader(dir.Path().string());
    CBmpDib target = Canvas24(100, 60);
    int width = 0, height = 0;
    ASSERT_TRUE(reader.Load(Record("tank.shp"), 4, width, height));
    EXPECT_EQ(width, 6);
    EXPECT_EQ(height, 4);
    ASSERT_TRUE(reader.CopyTo(target, 10, 20));
    const Rgb five = MakeRgb(DefaultPalette()[15], DefaultPalette()[16], DefaultPalette()[17]);
    EXPECT_EQ(target.PixelRgb(10, 20), CShpCatLogic::kBackground);  // the transparent corner
    EXPECT_EQ(target.PixelRgb(11, 20), five);
    EXPECT_EQ(target.PixelRgb(15, 23), five);
    EXPECT_EQ(target.PixelRgb(16, 23), MakeRgb(0, 0, 0));
    EXPECT_EQ(target.PixelRgb(15, 24), MakeRgb(0, 0, 0));
    EXPECT_TRUE(reader.CopyTo(target, 97, -2));
    EXPECT_EQ(target.PixelRgb(99, 1), five);

    // Sheets count their icons from the bottom row up.
    ASSERT_TRUE(reader.Load(Record("sheet.png"), 1, width, height));
    ASSERT_TRUE(reader.CopyTo(target, 0, 0));
    EXPECT_EQ(target.PixelRgb(0, 0), kSheet[6]);
    EXPECT_EQ(target.PixelRgb(79, 49), kSheet[6]);
    ASSERT_TRUE(reader.Load(Record("sheet.png"), 6, width, height));
    ASSERT_TRUE(reader.CopyTo(target, 0, 0));
    EXPECT_EQ(target.PixelRgb(40, 20), kSheet[5]);
}

TEST(CatalogArchiveReader, ReadsEntriesThroughTheOpenArchive) {
    test::TempDir dir;
    test::ArchiveBuilder()
        .Add("SHIP.S16", test::UnitS16(FourthDiffers({12, 9}), kBlue))
        .Add("TANK.SHP", test::UnitShp(FourthDiffers({30, 20}), 7))
        .Add("UNIT.PNG", test::SheetPng(80, 50, kSheet))
        .Write(dir / "units.dat");
    RecordingServices services;
    CDatFile dat(services);
    ASSERT_TRUE(dat.LoadForReading(dir.File("units.dat"), false));
    std::vector<int> rows = {0, 1, 2};
    const auto records = CShpCatLogic::ArchiveCandidates(dat, rows);
    ASSERT_EQ(records.size(), 3u);
    CatalogFileReader reader(dat);
    EXPECT_EQ(Measured(reader, records[0]), (IconSize{12, 9}));
    EXPECT_EQ(Measured(reader, records[1]), (IconSize{30, 20}));
    EXPECT_EQ(Measured(reader, records[2]), (IconSize{80, 50}));

    CBmpDib target = Canvas24(40, 40);
    int width = 0, height = 0;
    ASSERT_TRUE(reader.Load(records[0], 4, width, height));
    ASSERT_TRUE(reader.CopyTo(target, 1, 1));
    EXPECT_EQ(target.PixelRgb(12, 9), kBlue);
    EXPECT_EQ(target.PixelRgb(13, 9), MakeRgb(0, 0, 0));
    ASSERT_TRUE(reader.Load(records[2], 4, width, height));
    ASSERT_TRUE(reader.CopyTo(target, 0, 0));
    EXPECT_EQ(target.PixelRgb(5, 5), kSheet[3]);
}

TEST(CatalogArchiveReader, ACatalogOfAnArchiveDrawsEachUnitInItsBox) {
    test::TempDir dir;
    test::ArchiveBuilder()
        .Add("A.SHP", test::UnitShp(40, 30, 7))
        .Add("B.S16", test::UnitS16(50, 40, kRed))
        .Add("C.PNG", test::SheetPng(80, 50, kSheet))
        .Write(dir / "units.dat");
    RecordingServices services;
    CDatFile dat(services);
    ASSERT_TRUE(dat.LoadForReading(dir.File("units.dat"), false));
    CShpCatLogic catalog(services, services.text);
    catalog.Settings().outputFolder = dir.File("out");
    catalog.Settings().fileType = 1;
    ASSERT_TRUE(catalog.Start(CatalogSource::Archive, dat.Path(), dat.Total()));
    CatalogFileReader reader(dat);
    catalog.Collect(CShpCatLogic::ArchiveCandidates(dat, {0, 1, 2}), reader);
    EXPECT_EQ(catalog.Estimate(), "Will need:  1 files");
    ASSERT_EQ(catalog.Go(reader), 1);
    CBmpDib picture;
    ASSERT_TRUE(LoadPng(picture, dir.File("out/units_Catalog01.PNG"), nullptr, 0, services.messages) == 1);
    // Three boxes of the widest icon (80) and highest (50) plus the name strip.
    EXPECT_EQ(picture.Width(), 240);
    EXPECT_EQ(picture.Height(), 70);
    EXPECT_EQ(picture.PixelRgb(100, 10), kRed);
    EXPECT_EQ(picture.PixelRgb(170, 10), kSheet[3]);
    EXPECT_TRUE(catalog.Fitting().empty());  // emptied after the run
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "units_Catalog.txt"));
}

}  // namespace
}  // namespace pixmond
