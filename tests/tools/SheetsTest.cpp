#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "archive/CDatFile.h"
#include "image/CShpFile.h"
#include "image/Palette.h"
#include "image/PaletteFile.h"
#include "image/PngReader.h"
#include "support/ArchiveBuilder.h"
#include "support/DatSample.h"
#include "support/PngBuilder.h"
#include "support/RecordingServices.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "tools/SheetExporter.h"
#include "tools/SheetImporter.h"
#include "tools/SheetManifest.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;
using test::ArchiveBuilder;
using test::ReadBytes;
using State = SheetImportEntry::State;

// An archive, its sheets folder, and the two commands run in-process.
struct SheetsFixture {
    test::TempDir dir;
    RecordingServices services;
    fs::path archive;
    fs::path folder = dir / "sheets";

    bool Export(SheetExportOptions options = {}) {
        CDatFile dat(services);
        if (!dat.LoadForReading(archive.string(), false)) return false;
        options.folder = folder.string();
        SheetExportResult result;
        return SheetExporter(dat, services).Export(options, result);
    }
    bool Import(SheetImportOptions options, SheetImportReport& report) {
        CDatFile dat(services);
        if (!dat.Load(archive.string(), false)) return false;
        options.folder = folder.string();
        return SheetImporter(dat, services).Import(options, report);
    }
    fs::path Sheet(const std::string& name) const { return folder / name; }
    std::string Errors() { return ::testing::PrintToString(services.messages.Errors()); }
    // The entry's bytes in an archive file, by name (the first of that name).
    static std::vector<std::uint8_t> Entry(const fs::path& archive, const std::string& name, int occurrence = 1) {
        for (const auto& e : test::ParseArchive(archive).entries)
            if (e.name == name && --occurrence == 0) return e.bytes;
        return {};
    }
};

PngSamples ReadSheet(const fs::path& path) {
    PngSamples sheet;
    std::string problem;
    EXPECT_TRUE(ReadPngSamples(path.string(), sheet, problem)) << problem;
    return sheet;
}

// Writes the sheet as another program saves it: indexed with the colour table in the opposite order, or as RGB
// or RGBA pixels (an RGBA save gives transparent pixels a colour of its own; alpha decides).
void SaveSheet(const fs::path& path, const PngSamples& sheet, int colourType) {
    test::PngSpec spec;
    spec.width = sheet.width;
    spec.height = sheet.height;
    spec.colourType = colourType;
    const size_t pixels = size_t(sheet.width) * size_t(sheet.height);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 255; i >= 0; --i) {
            const std::uint8_t* c = sheet.palette.data() + i * 4;
            spec.palette.push_back({c[0], c[1], c[2]});
            spec.paletteAlpha.push_back(c[3]);
        }
        for (size_t p = 0; p < pixels; ++p) spec.samples.push_back(std::uint16_t(255 - sheet.pixels[p]));
    } else {
        for (size_t p = 0; p < pixels; ++p) {
            const std::uint8_t* c =
                sheet.indexed ? sheet.palette.data() + sheet.pixels[p] * 4 : sheet.pixels.data() + p * 4;
            const bool hidden = c[3] < 128 && colourType == PNG_COLOR_TYPE_RGB_ALPHA;
            for (int k = 0; k < 3; ++k) spec.samples.push_back(hidden ? 9 : c[k]);
            if (colourType == PNG_COLOR_TYPE_RGB_ALPHA) spec.samples.push_back(c[3]);
        }
    }
    test::WriteBytes(path, test::EncodePng(spec));
}

// Sets pixel (x, y) of a sheet: an index of an indexed sheet, else red, green, blue, alpha.
void SetPixel(PngSamples& sheet, int x, int y, std::array<std::uint8_t, 4> rgba, int index = -1) {
    const size_t p = size_t(y) * size_t(sheet.width) + size_t(x);
    if (sheet.indexed)
        sheet.pixels[p] = std::uint8_t(index);
    else
        std::copy(rgba.begin(), rgba.end(), sheet.pixels.begin() + std::ptrdiff_t(p * 4));
}

// The icons of an SHP held in memory: records (header and stream) and decoded rows.
struct ShpContent {
    std::vector<std::vector<std::uint8_t>> records;
    std::vector<test::IndexRows> icons;
    std::vector<ShpIconHeader> headers;
};
ShpContent ReadShp(const std::vector<std::uint8_t>& bytes) {
    test::TempDir dir;
    test::WriteBytes(dir / "x.shp", bytes);
    CShpFile shp;
    EXPECT_TRUE(shp.OpenFile(dir.File("x.shp")));
    ShpContent content;
    for (int n = 1; n <= shp.IconCount(); ++n) {
        const std::uint32_t at = shp.Directory()[size_t(n - 1)].imageOffset;
        content.records.emplace_back(bytes.begin() + at, bytes.begin() + at + shp.IconRecordSize(n));
        content.headers.push_back(shp.StoredHeaders()[size_t(n - 1)]);
        EXPECT_EQ(shp.SelectIcon(n), n);
        EXPECT_GT(shp.DecodeIcon(), 0);
        content.icons.push_back(test::RowsOf(shp));
    }
    return content;
}

// Every kind of entry, and SHP files this program would not write itself: two entries of one name, a record
// two icons share, a second offset, bytes behind the records, another magic, an icon that does not decode,
// indices whose colour the palette holds twice (63 is 32's colour).
fs::path WriteEveryKindArchive(const fs::path& folder) {
    const auto r1 = test::ShpBuilder()
                        .Icon({{159, 159, 159, 159, 159}, {159, 63, 32, 159, 159}, {159, 63, 63, 159, 159}})
                        .Records()[0];
    const auto r2 = test::ShpBuilder().IconText({"EEE", "E.E"}).Records()[0];
    std::vector<std::uint8_t> shared = {'1', '.', '1', '1'};
    test::PutU32(shared, 3);
    const std::uint32_t r1At = 8 + 24, r2At = r1At + std::uint32_t(r1.size());
    for (const std::uint32_t v : {r1At, 0u, r1At, 0u, r2At, r2At}) test::PutU32(shared, v);
    shared.insert(shared.end(), r1.begin(), r1.end());
    shared.insert(shared.end(), r2.begin(), r2.end());
    shared.insert(shared.end(), {'T', 'A', 'I', 'L'});

    ShpIconHeader tooWide;
    tooWide.widthMinus1 = 900;
    tooWide.heightMinus1 = 3;
    tooWide.x1 = tooWide.y1 = 1;
    const auto broken = test::ShpBuilder().RawIcon(tooWide, {0, 0}).IconText({"AA", "AA"}).Build();

    const fs::path archive = folder / "every.dat";
    ArchiveBuilder()
        .Add("BROKEN.SHP", broken)
        .Add("EMPTY.SHP", test::ShpBuilder().Build())
        .Add("K\xF6NIG.SHP", test::UnitShp(10, 10, 7))
        .Add("PLANE.S16", test::UnitS16({{30, 20}, {12, 8}}, MakeRgb(0, 128, 255)))
        .Add("SHARED.SHP", shared)
        .Add("TANKS.PNG", test::PlainPng(30, 20, MakeRgb(10, 20, 30)))
        .Add("TIGER.SHP", test::UnitShp({{20, 16}, {12, 30}, {8, 8}}, 12))
        .Add("TIGER.SHP", test::UnitShp(6, 6, 30, 2))
        .Add("readme.txt", std::string("notes"))
        .Write(archive);
    return archive;
}

TEST(SheetRoundTrip, ExportThenImportWithoutEditsGivesTheSameArchive) {
    for (const bool sample : {true, false}) {
        SheetsFixture f;
        f.archive = sample ? test::WriteDatSample(f.dir.Path()) : WriteEveryKindArchive(f.dir.Path());
        const auto original = ReadBytes(f.archive);
        ASSERT_TRUE(f.Export()) << f.Errors();

        SheetImportReport report;
        ASSERT_TRUE(f.Import({.output = f.dir.File("copy.dat")}, report)) << f.Errors();
        EXPECT_EQ(ReadBytes(f.dir / "copy.dat"), original) << sample;
        EXPECT_EQ(report.Summary(), "No icon changed; written to " + f.dir.File("copy.dat"));

        // Saved again by other programs, as RGBA or indexed, the sheets still hold no change: every pixel keeps
        // the index it had while it shows that index's colour.
        for (const auto& file : fs::directory_iterator(f.folder)) {
            const std::string name = file.path().filename().string();
            if (name.ends_with(".SHP.png") || name.ends_with("~2.png"))
                SaveSheet(file.path(), ReadSheet(file.path()),
                          name[0] < 'M' ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_PALETTE);
        }
        ASSERT_TRUE(f.Import({}, report)) << f.Errors();
        EXPECT_EQ(ReadBytes(f.archive), original);
        EXPECT_EQ(report.Summary(), "No icon changed; " + f.archive.filename().string() + " left as it was");
        EXPECT_FALSE(fs::exists(f.dir / (f.archive.stem().string() + "_back.dat")));
    }
}

TEST(SheetExport, WritesOneSheetPerEntryAndAManifestOfThem) {
    SheetsFixture f;
    f.archive = WriteEveryKindArchive(f.dir.Path());
    ASSERT_TRUE(f.Export()) << f.Errors();
    SheetManifest manifest;
    std::string problem;
    ASSERT_TRUE(manifest.FromJson(test::ReadText(f.folder / SheetManifest::kFileName), problem)) << problem;
    std::vector<std::string> sheets;
    for (const SheetEntry& e : manifest.entries) {
        sheets.push_back(e.sheet + (e.ReadOnly() ? " read-only" : ""));
        EXPECT_TRUE(fs::exists(f.Sheet(e.sheet))) << e.sheet;
    }
    // No sheet for a file without icons or for a text; names of one entry each, a PNG as it is.
    EXPECT_EQ(sheets, (std::vector<std::string>{"BROKEN.SHP.png", "K\xC3\xB6NIG.SHP.png", "PLANE.S16.png read-only",
                                                "SHARED.SHP.png", "TANKS.PNG", "TIGER.SHP.png", "TIGER.SHP~2.png"}));
    EXPECT_EQ(ReadBytes(f.Sheet("TANKS.PNG")), SheetsFixture::Entry(f.archive, "TANKS.PNG"));

    // Cells of the largest icon, rows of ten (three for nine icons); each icon at its cell's top-left; the
    // transparent index marked so in the colour table; an icon that does not decode leaves its cell empty.
    const PngSamples tiger = ReadSheet(f.Sheet("TIGER.SHP.png"));
    EXPECT_TRUE(tiger.indexed);
    EXPECT_EQ(tiger.width, 3 * 20);
    EXPECT_EQ(tiger.height, 30);
    EXPECT_EQ(tiger.palette[kTransparentIndex * 4 + 3], 0);
    EXPECT_EQ(tiger.palette[12 * 4 + 3], 255);
    EXPECT_EQ(tiger.pixels[1], 12);  // icon 1, its top-left pixel is transparent
    EXPECT_EQ(tiger.pixels[0], kTransparentIndex);
    EXPECT_EQ(tiger.pixels[29 * 60 + 20 + 11], 12);  // icon 2 reaches the bottom of its 12 x 30 cell
    EXPECT_EQ(tiger.pixels[29 * 60 + 20 + 12], kTransparentIndex);
    EXPECT_EQ(tiger.pixels[7 * 60 + 40 + 7], 12);
    EXPECT_EQ(tiger.pixels[8 * 60 + 40 + 7], kTransparentIndex);
    const PngSamples unit = ReadSheet(f.Sheet("K\xC3\xB6NIG.SHP.png"));
    EXPECT_EQ(unit.width, 30);
    EXPECT_EQ(unit.height, 30);
    const PngSamples broken = ReadSheet(f.Sheet("BROKEN.SHP.png"));
    EXPECT_EQ(broken.width, 4);
    EXPECT_EQ(broken.pixels, (std::vector<std::uint8_t>{159, 159, 1, 1, 159, 159, 1, 1}));
    const PngSamples plane = ReadSheet(f.Sheet("PLANE.S16.png"));
    EXPECT_FALSE(plane.indexed);
    EXPECT_EQ(plane.width, 60);

    // Another palette gives the sheets its colours, and the import reads them back through it.
    CBmpDib::ColourTable table = DefaultColourTable();
    table[12 * 4] = 3, table[12 * 4 + 1] = 2, table[12 * 4 + 2] = 1;
    ASSERT_TRUE(WriteTextPalette(table, f.dir.File("game.txt"), f.services.messages));
    f.folder = f.dir / "other";
    ASSERT_TRUE(f.Export({.paletteFile = f.dir.File("game.txt")})) << f.Errors();
    const PngSamples coloured = ReadSheet(f.Sheet("TIGER.SHP.png"));
    EXPECT_EQ(std::vector<int>(coloured.palette.begin() + 12 * 4, coloured.palette.begin() + 12 * 4 + 4),
              (std::vector<int>{1, 2, 3, 255}));
    SaveSheet(f.Sheet("TIGER.SHP.png"), coloured, PNG_COLOR_TYPE_RGB);
    SheetImportReport report;
    ASSERT_TRUE(f.Import({.dryRun = true}, report)) << f.Errors();
    EXPECT_EQ(report.Summary(), "No icon changed (dry run)");
    f.folder = f.dir / "sheets";

    // A second export over sheets edited since would lose the edits: refused unless forced.
    SaveSheet(f.Sheet("TIGER.SHP.png"), unit, PNG_COLOR_TYPE_PALETTE);
    EXPECT_FALSE(f.Export());
    EXPECT_NE(f.services.messages.Errors().back().find("TIGER.SHP.png (edited since it was exported)"),
              std::string::npos);
    EXPECT_TRUE(f.Export({.force = true}));
    EXPECT_EQ(ReadSheet(f.Sheet("TIGER.SHP.png")).width, 60);
}

TEST(SheetImport, OnePixelChangedChangesOnlyThatIconsRecord) {
    SheetsFixture f;
    f.archive = test::WriteDatSample(f.dir.Path());
    const auto original = ReadBytes(f.archive);
    ASSERT_TRUE(f.Export()) << f.Errors();
    PngSamples tiger = ReadSheet(f.Sheet("TIGER.SHP.png"));
    SetPixel(tiger, 4 * 200 + 100, 80, {}, 30);  // icon 5: cells of 200 x 160, ten to a row
    SaveSheet(f.Sheet("TIGER.SHP.png"), tiger, PNG_COLOR_TYPE_PALETTE);

    SheetImportReport report;
    ASSERT_TRUE(f.Import({.dryRun = true}, report)) << f.Errors();
    EXPECT_EQ(report.Lines(), std::vector<std::string>{"TIGER.SHP: icon 5 changed"});
    EXPECT_EQ(report.Summary(), "1 icon changed in 1 entry; nothing written (dry run)");
    EXPECT_EQ(ReadBytes(f.archive), original);

    ASSERT_TRUE(f.Import({}, report)) << f.Errors();
    EXPECT_EQ(report.Summary(),
              "1 icon changed in 1 entry; demo.dat rewritten, former archive saved as " + f.dir.File("demo_back.dat"));
    EXPECT_EQ(ReadBytes(f.dir / "demo_back.dat"), original);
    const auto before = test::ParseArchive(f.dir / "demo_back.dat"), after = test::ParseArchive(f.archive);
    ASSERT_TRUE(after.sound);
    ASSERT_EQ(after.entries.size(), before.entries.size());
    for (size_t k = 0; k < after.entries.size(); ++k) {
        EXPECT_EQ(after.entries[k].name, before.entries[k].name);
        if (after.entries[k].name != "TIGER.SHP") {
            EXPECT_EQ(after.entries[k].bytes, before.entries[k].bytes);
        }
    }
    const ShpContent old = ReadShp(SheetsFixture::Entry(f.dir / "demo_back.dat", "TIGER.SHP"));
    const ShpContent now = ReadShp(SheetsFixture::Entry(f.archive, "TIGER.SHP"));
    ASSERT_EQ(now.records.size(), 20u);
    for (size_t k = 0; k < 20; ++k) {
        if (k == 4) continue;
        EXPECT_EQ(now.records[k], old.records[k]) << "icon " << k + 1;
    }
    EXPECT_EQ(now.headers[4], old.headers[4]);
    test::IndexRows expected = old.icons[4];
    expected[80][100] = 30;
    EXPECT_EQ(now.icons[4], expected);
}

TEST(SheetImport, SheetsSavedAsRgbOrRgbaTakeTheNearestPaletteColours) {
    SheetsFixture f;
    f.archive = test::WriteDatSample(f.dir.Path());
    ASSERT_TRUE(f.Export()) << f.Errors();
    // ARMOUR.SHP (40 x 30, index 30) saved as RGB with an off-palette colour in icon 1; PANEL.SHP (20 x 10, index
    // 50) saved as RGBA with a half-transparent edge pixel in icon 2 and an exact palette colour in icon 3.
    PngSamples armour = ReadSheet(f.Sheet("ARMOUR.SHP.png")), panel = ReadSheet(f.Sheet("PANEL.SHP.png"));
    const std::uint8_t* c88 = DefaultPalette().data() + 88 * 3;
    auto rgba = [](PngSamples sheet) {
        PngSamples out = sheet;
        out.indexed = false;
        out.pixels.clear();
        for (const std::uint8_t i : sheet.pixels)
            out.pixels.insert(out.pixels.end(), sheet.palette.begin() + i * 4, sheet.palette.begin() + i * 4 + 4);
        return out;
    };
    armour = rgba(armour);
    panel = rgba(panel);
    SetPixel(armour, 1, 1, {201, 3, 2, 255});
    SetPixel(panel, 20 + 5, 5, {0, 0, 0, 100});
    SetPixel(panel, 40 + 5, 5, {c88[0], c88[1], c88[2], 255});
    SaveSheet(f.Sheet("ARMOUR.SHP.png"), armour, PNG_COLOR_TYPE_RGB);
    SaveSheet(f.Sheet("PANEL.SHP.png"), panel, PNG_COLOR_TYPE_RGB_ALPHA);

    SheetImportReport report;
    ASSERT_TRUE(f.Import({}, report)) << f.Errors();
    EXPECT_EQ(report.Lines(),
              (std::vector<std::string>{"ARMOUR.SHP: icon 1 changed; 1 pixel took the nearest palette colour",
                                        "PANEL.SHP: icons 2, 3 changed"}));
    const ShpContent armourNow = ReadShp(SheetsFixture::Entry(f.archive, "ARMOUR.SHP"));
    EXPECT_EQ(armourNow.icons[0][1][1], NearestPaletteIndex(201, 3, 2));
    EXPECT_EQ(armourNow.icons[0][1][2], 30);
    const ShpContent panelNow = ReadShp(SheetsFixture::Entry(f.archive, "PANEL.SHP"));
    EXPECT_EQ(panelNow.icons[1][5][5], kTransparentIndex);
    EXPECT_EQ(panelNow.icons[2][5][5], 88);
    EXPECT_EQ(panelNow.icons[0][5][5], 50);
}

TEST(SheetImport, AnEditOutsideTheBoxGrowsItAndPixelsOutsideTheIconsAreIgnored) {
    SheetsFixture f;
    f.archive = f.dir / "box.dat";
    const auto shp =
        test::ShpBuilder().IconText({"......", "..AA..", "..AA..", "......"}).IconText({"B..", ".B.", "..B"}).Build();
    ArchiveBuilder().Add("BOX.SHP", shp).Write(f.archive);
    ASSERT_TRUE(f.Export()) << f.Errors();
    PngSamples sheet = ReadSheet(f.Sheet("BOX.SHP.png"));  // two cells of 6 x 4
    ASSERT_EQ(sheet.width, 12);
    SetPixel(sheet, 5, 3, {}, 3);      // icon 1, right of and below its box
    SetPixel(sheet, 6 + 4, 1, {}, 4);  // in icon 2's cell, beside the 3 x 3 icon
    SaveSheet(f.Sheet("BOX.SHP.png"), sheet, PNG_COLOR_TYPE_PALETTE);

    SheetImportReport report;
    ASSERT_TRUE(f.Import({}, report)) << f.Errors();
    EXPECT_EQ(report.Lines(), std::vector<std::string>{"BOX.SHP: icon 1 changed; 1 pixel outside the icons ignored"});
    const ShpContent old = ReadShp(shp), now = ReadShp(SheetsFixture::Entry(f.archive, "BOX.SHP"));
    EXPECT_EQ(now.headers[0].x0, 2);
    EXPECT_EQ(now.headers[0].y0, 1);
    EXPECT_EQ(now.headers[0].x1, 5);
    EXPECT_EQ(now.headers[0].y1, 3);
    EXPECT_EQ(now.icons[0], test::RowsFromText({"......", "..AA..", "..AA..", ".....C"}));
    EXPECT_EQ(now.records[1], old.records[1]);
}

TEST(SheetImport, EditsOfFilesThisProgramWouldNotWriteKeepTheirOtherBytes) {
    SheetsFixture f;
    f.archive = WriteEveryKindArchive(f.dir.Path());
    ASSERT_TRUE(f.Export()) << f.Errors();
    // SHARED.SHP: icons 1 and 2 share a record (cells 5 x 3); the second TIGER.SHP has a sheet of its own.
    PngSamples shared = ReadSheet(f.Sheet("SHARED.SHP.png"));
    SetPixel(shared, 0, 0, {}, 5);
    SetPixel(shared, 10 + 1, 1, {}, 6);
    SaveSheet(f.Sheet("SHARED.SHP.png"), shared, PNG_COLOR_TYPE_PALETTE);
    PngSamples second = ReadSheet(f.Sheet("TIGER.SHP~2.png"));
    SetPixel(second, 0, 0, {}, 7);
    SaveSheet(f.Sheet("TIGER.SHP~2.png"), second, PNG_COLOR_TYPE_PALETTE);

    SheetImportReport report;
    ASSERT_TRUE(f.Import({.output = f.dir.File("new.dat")}, report)) << f.Errors();
    EXPECT_EQ(report.Lines(),
              (std::vector<std::string>{"SHARED.SHP: icons 1, 3 changed", "TIGER.SHP: icon 1 changed"}));
    const fs::path before = f.archive, after = f.dir / "new.dat";
    EXPECT_EQ(SheetsFixture::Entry(after, "TIGER.SHP", 1), SheetsFixture::Entry(before, "TIGER.SHP", 1));
    EXPECT_EQ(ReadShp(SheetsFixture::Entry(after, "TIGER.SHP", 2)).icons[0][0][0], 7);

    const auto bytes = SheetsFixture::Entry(after, "SHARED.SHP");
    const ShpContent old = ReadShp(SheetsFixture::Entry(before, "SHARED.SHP")), now = ReadShp(bytes);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "1.11");
    EXPECT_EQ(now.records[1], old.records[1]);  // icon 2 keeps the record it shared; icon 1 got one of its own
    EXPECT_EQ(now.icons[0][0][0], 5);
    EXPECT_EQ(now.icons[0][1][1], 63);
    EXPECT_EQ(now.icons[2][1][1], 6);
    // Icon 3's record was replaced where it lay; the bytes behind it follow, then icon 1's new record. The
    // second offset moved with the record it pointed at.
    auto u32 = [&bytes](size_t at) {
        return size_t(bytes[at]) | size_t(bytes[at + 1]) << 8 | size_t(bytes[at + 2]) << 16;
    };
    const size_t at1 = u32(8), at3 = u32(24);
    EXPECT_EQ(u32(28), at3);
    EXPECT_EQ(std::string(bytes.begin() + at3 + now.records[2].size(), bytes.begin() + at3 + now.records[2].size() + 4),
              "TAIL");
    EXPECT_EQ(at1, at3 + now.records[2].size() + 4);
    EXPECT_EQ(at1 + now.records[0].size(), bytes.size());
}

TEST(SheetImport, BadInputLeavesTheArchiveUntouched) {
    SheetsFixture f;
    f.archive = test::WriteDatSample(f.dir.Path());
    const fs::path sample = f.archive;
    const auto original = ReadBytes(sample);
    ASSERT_TRUE(f.Export()) << f.Errors();
    PngSamples tiger = ReadSheet(f.Sheet("TIGER.SHP.png"));
    SetPixel(tiger, 3, 3, {}, 1);
    SaveSheet(f.Sheet("TIGER.SHP.png"), tiger, PNG_COLOR_TYPE_PALETTE);
    const std::string manifest = test::ReadText(f.folder / SheetManifest::kFileName);
    const auto armourSheet = ReadBytes(f.Sheet("ARMOUR.SHP.png")), panelSheet = ReadBytes(f.Sheet("PANEL.SHP.png"));

    // An archive that lost an entry, and another archive altogether.
    fs::copy_file(sample, f.dir / "gone.dat");
    {
        CDatFile gone(f.services);
        ASSERT_TRUE(gone.Load(f.dir.File("gone.dat"), false));
        int panel = 0;
        while (panel < gone.Total() && gone.Item(panel).Name() != "PANEL.SHP") ++panel;
        ASSERT_EQ(gone.Remove(panel), "PANEL.SHP");
        fs::remove(f.dir / "gone_back.dat");
    }
    const fs::path other = WriteEveryKindArchive(f.dir.Path());

    struct Case {
        const char* what;
        std::function<void()> spoil;
        fs::path archive;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"not JSON", [&] { test::WriteText(f.folder / SheetManifest::kFileName, "{\"format\": \"pixmond-sheets\", "); },
         sample, (f.folder / SheetManifest::kFileName).string() + " is not JSON; nothing was imported"},
        {"entry gone", [] {}, f.dir / "gone.dat",
         "PANEL.SHP: not in gone.dat (the sheets were exported from demo.dat)"},
        {"another archive", [] {}, other,
         "TIGER.SHP: the entry is not the one that was exported (it changed since, or this is another archive)"},
        {"wrong size",
         [&] { SaveSheet(f.Sheet("ARMOUR.SHP.png"), ReadSheet(f.Sheet("PANEL.SHP.png")), PNG_COLOR_TYPE_PALETTE); },
         sample, "ARMOUR.SHP: ARMOUR.SHP.png is 60 x 10 pixels; it was exported as 120 x 90"},
        {"not a PNG", [&] { test::WriteText(f.Sheet("PANEL.SHP.png"), "GIF89a"); }, sample,
         "PANEL.SHP: PANEL.SHP.png is not a PNG file"},
    };
    for (const Case& c : cases) {
        c.spoil();
        f.archive = c.archive;
        const auto before = ReadBytes(c.archive);
        f.services.messages.Clear();
        SheetImportReport report;
        EXPECT_FALSE(f.Import({}, report)) << c.what;
        EXPECT_FALSE(f.Import({.output = f.dir.File("out.dat")}, report)) << c.what;
        const auto errors = f.services.messages.Errors();
        EXPECT_NE(std::find(errors.begin(), errors.end(), c.error), errors.end())
            << c.what << ": " << ::testing::PrintToString(errors);
        EXPECT_EQ(ReadBytes(c.archive), before) << c.what;
        EXPECT_FALSE(fs::exists(f.dir / "out.dat")) << c.what;
        EXPECT_FALSE(fs::exists(f.dir / (c.archive.stem().string() + "_back.dat"))) << c.what;
        test::WriteText(f.folder / SheetManifest::kFileName, manifest);
        test::WriteBytes(f.Sheet("ARMOUR.SHP.png"), armourSheet);
        test::WriteBytes(f.Sheet("PANEL.SHP.png"), panelSheet);
    }
    EXPECT_EQ(ReadBytes(sample), original);

    // Told to, the import takes the sound sheets and leaves the bad ones out.
    f.archive = sample;
    cases[3].spoil();
    cases[4].spoil();
    SheetImportReport report;
    ASSERT_TRUE(f.Import({.forcePartial = true}, report)) << f.Errors();
    EXPECT_EQ(report.Summary(), "1 icon changed in 1 entry; demo.dat rewritten, former archive saved as " +
                                    f.dir.File("demo_back.dat") + "; 2 bad sheets left out");
    EXPECT_EQ(SheetsFixture::Entry(f.archive, "ARMOUR.SHP"),
              SheetsFixture::Entry(f.dir / "demo_back.dat", "ARMOUR.SHP"));
    EXPECT_EQ(ReadShp(SheetsFixture::Entry(f.archive, "TIGER.SHP")).icons[0][3][3], 1);
}

}  // namespace
}  // namespace pixmond
