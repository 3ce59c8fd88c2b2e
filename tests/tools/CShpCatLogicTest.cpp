#include <gtest/gtest.h>

#include <map>

#include "archive/CDatFile.h"
#include "image/CBmpDib.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "tools/CShpCatLogic.h"
#include "base/Format.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

constexpr Rgb kIconColour = MakeRgb(10, 200, 30);

// Icons of given sizes without files: every icon is a solid block, and each copy is remembered.
class FakeReader : public CatalogIconReader {
public:
    struct IconSize {
        int width, height;
    };
    struct Placed {
        std::string file;
        int x, y;
    };
    std::map<std::string, IconSize> sizes;       // measured
    std::map<std::string, IconSize> drawnSizes;  // when drawing finds another size
    std::vector<std::string> unreadable;         // fail to load at drawing
    std::vector<Placed> placed;
    std::vector<int> iconsAsked;

    bool Measure(const CatalogIcon& record, int icon, int& width, int& height) override {
        iconsAsked.push_back(icon);
        const auto it = sizes.find(record.file);
        if (it == sizes.end()) return false;
        width = it->second.width;
        height = it->second.height;
        return true;
    }
    bool Load(const CatalogIcon& record, int icon, int& width, int& height) override {
        if (std::find(unreadable.begin(), unreadable.end(), record.file) != unreadable.end()) return false;
        if (!Measure(record, icon, width, height)) return false;
        if (auto it = drawnSizes.find(record.file); it != drawnSizes.end()) {
            width = it->second.width;
            height = it->second.height;
        }
        current_ = record.file;
        width_ = width;
        height_ = height;
        return true;
    }
    bool CopyTo(CBmpDib& target, int x, int y) override {
        placed.push_back({current_, x, y});
        for (int row = 0; row < height_; ++row)
            for (int col = 0; col < width_; ++col) target.SetColour(x + col, y + row, kIconColour);
        return true;
    }
    const Placed* Find(const std::string& file) const {
        for (const Placed& p : placed)
            if (p.file == file) return &p;
        return nullptr;
    }

private:
    std::string current_;
    int width_ = 0, height_ = 0;
};

std::vector<CatalogIcon> Records(const std::vector<std::string>& names) { return CShpCatLogic::FolderCandidates(names); }

// count icons of one size named U000.SHP, U001.SHP ...
std::vector<std::string> AddUnits(FakeReader& reader, int count, int width, int height, const char* prefix = "U") {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(Format("%s%03d.SHP", prefix, i));
        reader.sizes[names.back()] = {width, height};
    }
    return names;
}

struct Catalog {
    test::TempDir dir;
    RecordingServices services;
    CShpCatLogic logic{services, services.text};
    FakeReader reader;

    explicit Catalog(bool names = true) {
        logic.Settings().outputFolder = dir.Path().string();
        logic.Settings().includeName = names;
    }
    void Collect(const std::vector<std::string>& names) {
        ASSERT_TRUE(logic.Start(CatalogSource::Folder, dir.Path().string(), int(names.size())));
        logic.Collect(Records(names), reader);
    }
    CBmpDib Picture(int number) {
        CBmpDib picture;
        picture.LoadBmp(logic.PicturePath(number), services.messages);
        return picture;
    }
    std::string Log() { return test::ReadText(logic.LogName()); }
};

TEST(CatalogLayout, DefaultsMakeFullHeightPicturesOfTenColumns) {
    Catalog c;
    c.Collect(AddUnits(c.reader, 35, 50, 40));
    EXPECT_EQ(c.logic.BoxWidth(), 90);
    EXPECT_EQ(c.logic.BoxHeight(), 76);
    EXPECT_EQ(c.logic.Estimate(), "Will need:  1 files");
    EXPECT_EQ(c.logic.FittingRows(), 4);
    EXPECT_EQ(c.logic.Run(c.reader), 1);
    EXPECT_EQ(c.logic.BitmapWidth(), 900);
    EXPECT_EQ(c.logic.BitmapHeight(), 4564);
    // Rows fill left to right; the eleventh icon starts the second row.
    EXPECT_EQ(c.reader.Find("U009.SHP")->x, 810);
    EXPECT_EQ(c.reader.Find("U010.SHP")->x, 0);
    EXPECT_EQ(c.reader.Find("U010.SHP")->y, 76);
    const CBmpDib picture = c.Picture(1);
    EXPECT_EQ(picture.Width(), 900);
    EXPECT_EQ(picture.Height(), 4564);
    EXPECT_EQ(picture.PixelRgb(0, 0), kIconColour);
    EXPECT_EQ(picture.PixelRgb(60, 10), CShpCatLogic::kBackground);
    EXPECT_EQ(c.Log(),
              "Selected 10 x 60 (600) icons / file (fitting icon box size)\n"
              "Icon box size adjusted to: 90 x 76 (icon name selected) \n"
              "35 icons fitting icon box size\n"
              "\nBitmap set to 24 bits, 900 x 4564 pixels ... 1 files needed\n\n\n");
    // The log is shown at the end, the pictures are numbered from 01.
    ASSERT_EQ(c.services.shell.opened.size(), 1u);
    EXPECT_EQ(c.logic.Written(), std::vector<std::string>{c.dir.File("FolderCatalog01.BMP")});
}

TEST(CatalogLayout, OneRowOfIconsGetsAPictureCutToIt) {
    Catalog c;
    auto names = AddUnits(c.reader, 7, 30, 20);
    names.push_back("WIDE.SHP");
    c.reader.sizes["WIDE.SHP"] = {50, 12};
    names.push_back("HIGH.SHP");
    c.reader.sizes["HIGH.SHP"] = {12, 40};
    c.Collect(names);
    EXPECT_EQ(c.logic.Estimate(), "Will need:  1 files");
    EXPECT_EQ(c.logic.BoxWidth(), 50);
    EXPECT_EQ(c.logic.BoxHeight(), 56);
    EXPECT_EQ(c.logic.BitmapWidth(), 450);
    EXPECT_EQ(c.logic.BitmapHeight(), 56);
    c.logic.Run(c.reader);
    const CBmpDib picture = c.Picture(1);
    EXPECT_EQ(picture.Width(), 450);
    EXPECT_EQ(picture.Height(), 60);
    EXPECT_EQ(c.reader.placed.size(), 9u);
    EXPECT_EQ(c.reader.Find("U006.SHP")->x, 350);  // after HIGH.SHP and U000 .. U005
}

TEST(CatalogLayout, IconsAreSortedIntoFittingBigAndDropped) {
    Catalog c;
    c.reader.sizes = {{"FIT.SHP", {90, 60}},      {"WIDE.SHP", {91, 10}},    {"TALL.S16", {120, 80}},
                      {"EDGE.PNG", {399, 399}},   {"HUGE.SHP", {400, 50}},   {"HIGH.SHP", {20, 400}},
                      {"ZERO.SHP", {0, 10}}};
    c.Collect({"FIT.SHP", "WIDE.SHP", "TALL.S16", "EDGE.PNG", "HUGE.SHP", "HIGH.SHP", "ZERO.SHP", "GONE.SHP",
               "notes.txt"});
    EXPECT_EQ(c.logic.Fitting().size(), 1u);
    ASSERT_EQ(c.logic.Big().size(), 3u);
    EXPECT_EQ(c.logic.BigBoxWidth(), 399);
    EXPECT_EQ(c.logic.BigBoxHeight(), 399 + 16);
    EXPECT_EQ(c.logic.Unreadable(), (std::vector<std::string>{"ZERO.SHP", "GONE.SHP"}));
    // The view icon is the fourth unless chosen otherwise.
    EXPECT_EQ(c.reader.iconsAsked.front(), 4);

    // The box decides again which icons fit, and names add their strip to the big box too.
    c.logic.Settings().includeName = false;
    c.logic.Settings().boxX = 130;
    c.logic.Settings().boxY = 90;
    c.logic.Collect(Records({"FIT.SHP", "WIDE.SHP", "TALL.S16", "EDGE.PNG"}), c.reader);
    EXPECT_EQ(c.logic.Fitting().size(), 3u);
    EXPECT_EQ(c.logic.BigBoxHeight(), 399);
}

TEST(CatalogLayout, NoIconsGiveNoPictureAndNoLog) {
    Catalog c;
    c.Collect({"GONE.SHP", "readme.txt"});
    EXPECT_EQ(c.logic.Estimate(), "No icons found");
    EXPECT_EQ(c.logic.Go(c.reader), 0);
    EXPECT_FALSE(std::filesystem::exists(c.logic.LogName()));
    EXPECT_FALSE(std::filesystem::exists(c.logic.PicturePath(1)));
    EXPECT_EQ(c.services.messages.Notices(),
              std::vector<std::string>{Format("\tDone!!!  \nCatalog output to: %s   \n", c.dir.Path().c_str())});
}

TEST(CatalogLayout, BigIconsFollowTheFittingOnesInBigBoxes) {
    Catalog c;
    auto names = AddUnits(c.reader, 10, 50, 40);  // exactly one full row
    for (const char* big : {"BIG1.SHP", "BIG2.SHP"}) {
        names.push_back(big);
        c.reader.sizes[big] = {120, 80};
    }
    c.reader.sizes["BIG2.SHP"] = {100, 94};
    c.Collect(names);
    EXPECT_EQ(c.logic.Estimate(), "Will need:  1 files");
    // With big icons waiting the picture keeps its full size.
    EXPECT_EQ(c.logic.BitmapWidth(), 900);
    EXPECT_EQ(c.logic.BigRows(), 1);
    c.logic.Run(c.reader);
    // A full last row leaves one empty row before the big icons.
    EXPECT_EQ(c.reader.Find("BIG1.SHP")->y, 152);
    EXPECT_EQ(c.reader.Find("BIG1.SHP")->x, 0);
    EXPECT_EQ(c.reader.Find("BIG2.SHP")->x, 120);
    EXPECT_EQ(c.Log(),
              "Selected 10 x 60 (600) icons / file (fitting icon box size)\n"
              "Icon box size adjusted to: 90 x 76 (icon name selected) \n"
              "10 icons fitting icon box size\n"
              "2 big icons will use a bigger box size: 120 x 110 \n"
              "\tMax width  because icon: BIG1.SHP  width:120\n"
              "\tMax height because icon: BIG2.SHP  height: 94\n"
              "\nBitmap set to 24 bits, 900 x 4564 pixels ... 1 files needed\n\n\n"
              "Cat#1, Icon#11 - BIG1.SHP 120 x 80  .. added\n"
              "Cat#1, Icon#12 - BIG2.SHP 100 x 94  .. added\n");
}

TEST(CatalogLayout, OnlyBigIconsGetPicturesOfTheirOwn) {
    for (const bool names : {true, false}) {
        Catalog c(names);
        c.Collect(AddUnits(c.reader, 25, 120, 80, "B"));
        EXPECT_EQ(c.logic.Estimate(), "Will need:  1 files") << names;
        EXPECT_EQ(c.logic.BigRows(), 4);  // 7 big boxes of 120 in a row of 900
        EXPECT_EQ(c.logic.Run(c.reader), 1);
        EXPECT_EQ(c.reader.Find("B000.SHP")->y, 0);
        EXPECT_EQ(c.reader.Find("B007.SHP")->x, 0);
        EXPECT_EQ(c.reader.Find("B007.SHP")->y, c.logic.BigBoxHeight());
        EXPECT_EQ(c.Picture(1).Width(), 900);
    }
}

TEST(CatalogLayout, PicturesFillUpAndTheBigIconsMoveToANewOneWhenThereIsNoRoom) {
    Catalog c(false);
    c.logic.Settings().columnsIndex = 0;  // 8 columns of 90: 720
    c.logic.Settings().rowsIndex = 0;     // 20 rows of 50: 1000
    c.logic.Settings().boxY = 50;
    auto names = AddUnits(c.reader, 8 * 20 * 2 + 8 * 15 + 3, 40, 40);  // two full pictures and 15 rows more
    names.push_back("ZBIG.SHP");
    c.reader.sizes["ZBIG.SHP"] = {150, 300};
    c.Collect(names);
    c.logic.Estimate();
    EXPECT_EQ(c.logic.Run(c.reader), 4);
    EXPECT_EQ(c.reader.Find("U320.SHP")->y, 0);  // first icon of the third picture
    // The third picture's row ends low enough that the big icon would cross its bottom edge.
    EXPECT_EQ(c.reader.Find("ZBIG.SHP")->y, 0);
    EXPECT_EQ(c.Log().find("out of boundaries"), std::string::npos);
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(std::filesystem::exists(c.logic.PicturePath(n))) << n;
    EXPECT_EQ(c.Picture(4).PixelRgb(0, 299), kIconColour);
}

TEST(CatalogLog, ListsEveryIconWhenAskedAndSaysWhyIconsAreMissing) {
    Catalog c;
    c.logic.Settings().namesInLog = true;
    c.reader.sizes = {{"A.SHP", {80, 40}}, {"B.SHP", {50, 40}}, {"C.SHP", {50, 40}}, {"D.SHP", {200, 100}}};
    c.reader.unreadable = {"B.SHP", "D.SHP"};
    c.reader.drawnSizes["C.SHP"] = {900, 40};
    c.Collect({"A.SHP", "B.SHP", "C.SHP", "D.SHP"});
    c.logic.Run(c.reader);
    const std::string log = c.Log();
    const std::string body = log.substr(log.find("needed\n\n\n") + 9);
    EXPECT_EQ(body,
              "Cat#1, Icon#1 - A.SHP 80 x 40  .. added\n"
              "Cat#1, Icon#2 - B.SHP 50 x 40  .. Skipped!\n"
              "Cat#1, Icon#3 - C.SHP 50 x 40 Icon out of boundaries Ico.cx=900 x=180, Bmp.cx=900 .. Skipped!\n"
              "Cat#1, Icon#4 - D.SHP 200 x 100  .. skipped\n");
}

TEST(CatalogLog, AnOversizedPictureIsRefusedLikeMissingMemory) {
    Catalog c;
    c.logic.Settings().boxX = c.logic.Settings().boxY = 1000;
    c.logic.Settings().columnsIndex = 12;
    c.logic.Settings().rowsIndex = 13;
    c.Collect(AddUnits(c.reader, 40, 50, 40));
    EXPECT_EQ(c.logic.Run(c.reader), 0);
    EXPECT_NE(c.Log().find("\n Not enough  memory to create bitmap\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(c.logic.PicturePath(1)));
}

TEST(CatalogLog, CancellingKeepsWhatWasMeasuredOrDrawn) {
    Catalog c;
    c.services.progress.CancelNextAfter(39);
    c.Collect(AddUnits(c.reader, 50, 50, 40));
    EXPECT_EQ(c.logic.Fitting().size(), 40u);
    c.services.progress.CancelNextAfter(4);
    EXPECT_EQ(c.logic.Run(c.reader), 1);
    EXPECT_EQ(c.reader.placed.size(), 5u);
    EXPECT_NE(c.Log().find("Cancelled by the user"), std::string::npos);
}

TEST(CatalogNames, NamesAreDrawnUnderTheIconsOnlyWhenChosen) {
    for (const bool names : {true, false}) {
        Catalog c(names);
        c.Collect(AddUnits(c.reader, 12, 50, 40));
        c.logic.Run(c.reader);
        const CBmpDib picture = c.Picture(1);
        int ink = 0;
        for (int y = 60; y < 76; ++y)
            for (int x = 0; x < 90; ++x) ink += picture.PixelRgb(x, y) == MakeRgb(0, 0, 0);
        EXPECT_EQ(ink > 0, names);
    }
}

TEST(CatalogChoices, ShowThePixelsEachChoiceTakes) {
    Catalog c;
    c.logic.Settings().boxX = 10;  // raised to the minimum
    c.logic.Settings().boxY = 100;
    c.logic.DeriveBox();
    const auto columns = c.logic.ColumnChoices();
    ASSERT_EQ(columns.size(), 13u);
    EXPECT_EQ(columns.front(), "8 icons (720)");
    EXPECT_EQ(columns.back(), "20 icons (1800)");
    const auto rows = c.logic.RowChoices();
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_EQ(rows.front(), "20 icons (2320)");
    EXPECT_EQ(rows.back(), "150 icons (17400)");
}

TEST(CatalogStart, NamesTheCatalogAndItsLogAfterTheSource) {
    RecordingServices services;
    CShpCatLogic logic(services, services.text);
    EXPECT_FALSE(logic.Start(CatalogSource::Archive, "/games/varnek2.dat", 0));
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"No icons on active view ..."});

    logic.Settings().outputFolder = "/out";
    ASSERT_TRUE(logic.Start(CatalogSource::Archive, "/games/varnek2.dat", 3));
    EXPECT_EQ(logic.Settings().catalogName, "varnek2_Catalog");
    EXPECT_EQ(logic.LogName(), "/out/varnek2_Catalog.txt");
    EXPECT_EQ(logic.InputLabel(), "/games/varnek2.dat ... (3 items)");
    EXPECT_EQ(logic.PicturePath(7), "/out/varnek2_Catalog07.BMP");
    ASSERT_TRUE(logic.Start(CatalogSource::Folder, "/games/icons", 3));
    EXPECT_EQ(logic.Settings().catalogName, "FolderCatalog");
    logic.Settings().fileType = 2;
    EXPECT_EQ(logic.PicturePath(12), "/out/FolderCatalog12.JPG");
}

TEST(CatalogCandidates, ArchiveEntriesMustBeNineIconUnitFiles) {
    test::TempDir dir;
    test::ArchiveBuilder builder;
    using B = test::ArchiveBuilder;
    builder.Add("TANK.SHP", B::Shp(9))
        .Add("TANK10.SHP", B::Shp(10))
        .Add("ABCDEFG.SHP", B::Shp(9))
        .Add("BR_1.SHP", B::Shp(9))
        .Add("XBR_1.S16", B::S16(9))
        .Add("INFTRYR1.S16", B::S16(9))
        .Add("G16.SHP", B::Shp(9))
        .Add("G16.S16", B::S16(9))
        .Add("SHIP.PNG", std::vector<std::uint8_t>(8, 0))
        .Add("ICONS.TXT", "text");
    builder.Write(dir / "units.dat");
    test::WriteText(dir / "units.keep", "LOST;NOWHERE\nTANK2;TANK\n");
    RecordingServices services;
    CDatFile dat(services);
    ASSERT_TRUE(dat.LoadForReading(dir.File("units.dat"), true));
    std::vector<int> rows;
    for (int i = 0; i < dat.Total(); ++i) rows.push_back(i);
    std::vector<std::string> taken;
    for (const CatalogIcon& icon : CShpCatLogic::ArchiveCandidates(dat, rows)) {
        EXPECT_EQ(dat.Item(icon.entry).Name(), icon.file);
        taken.push_back(icon.file);
    }
    std::sort(taken.begin(), taken.end());
    EXPECT_EQ(taken, (std::vector<std::string>{"G16.S16", "SHIP.PNG", "TANK.SHP", "TANK2.SHP"}));
}

TEST(CatalogCandidates, FolderFilesAreTakenByExtensionAndShortenedForShow) {
    const auto records = CShpCatLogic::FolderCandidates({"a.shp", "Long-name-unit.S16", "x.Png", "notes.txt", "shp"});
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, IconKind::Shp);
    EXPECT_EQ(records[1].kind, IconKind::S16);
    EXPECT_EQ(records[1].name, "Long-name-un");
    EXPECT_EQ(records[1].file, "Long-name-unit.S16");
    EXPECT_EQ(records[2].kind, IconKind::Png);
    EXPECT_EQ(records[0].entry, -1);
}

}  // namespace
}  // namespace pixmond
