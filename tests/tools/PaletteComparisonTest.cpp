#include <gtest/gtest.h>

#include "image/Palette.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"
#include "tools/PaletteComparison.h"

namespace pixmond {
namespace {

void SetRgb(CBmpDib::ColourTable& table, int index, int red, int green, int blue, int fourth = 0) {
    table[size_t(index) * 4] = std::uint8_t(blue);
    table[size_t(index) * 4 + 1] = std::uint8_t(green);
    table[size_t(index) * 4 + 2] = std::uint8_t(red);
    table[size_t(index) * 4 + 3] = std::uint8_t(fourth);
}

TEST(PaletteComparison, RowsGridAndTheRowOfAnIndex) {
    PaletteComparison palettes;
    palettes.first.name = "Current palette";
    palettes.first.table = DefaultColourTable();
    palettes.Start();
    EXPECT_EQ(palettes.second.name, "Default Orvel palette");
    EXPECT_EQ(palettes.second.table, DefaultColourTable());
    palettes.onlyDifferences = true;
    EXPECT_TRUE(palettes.Rows().empty());

    SetRgb(palettes.first.table, 3, 1, 2, 3);
    SetRgb(palettes.second.table, 200, 255, 0, 7);
    SetRgb(palettes.second.table, 100, 224, 204, 136, 99);  // only the fourth byte differs from the default
    EXPECT_EQ(palettes.Differences(), 2);
    const auto rows = palettes.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].indexText, "003");
    EXPECT_EQ(rows[0].firstText, "  1,   2,   3");
    EXPECT_EQ(rows[0].secondText, "212, 212, 212");
    EXPECT_EQ(rows[1].indexText, "200");
    EXPECT_EQ(rows[1].secondText, "255,   0,   7");
    // Rows are no longer indexes: a click finds the row that shows the index, or none.
    EXPECT_EQ(palettes.RowOfIndex(200), 1);
    EXPECT_EQ(palettes.RowOfIndex(100), -1);
    palettes.onlyDifferences = false;
    EXPECT_EQ(palettes.Rows().size(), 256u);
    EXPECT_EQ(palettes.RowOfIndex(200), 200);

    EXPECT_EQ(PaletteComparison::IndexAt(0, 0), 0);
    EXPECT_EQ(PaletteComparison::IndexAt(159, 159), 255);
    EXPECT_EQ(PaletteComparison::IndexAt(35, 21), 2 * 16 + 3);
    EXPECT_EQ(PaletteComparison::IndexAt(160, 5), -1);  // the closing line, not the next row's first cell
    EXPECT_EQ(PaletteComparison::IndexAt(5, 160), -1);
    EXPECT_EQ(PaletteComparison::IndexAt(-1, 5), -1);
}

TEST(PaletteComparison, FilesAreTextByTheirFirstBytesElseBinaryEntries) {
    test::TempDir dir;
    RecordingMessages messages;
    PaletteComparison palettes;
    palettes.Start();

    // Text by its "JAS" start whatever the extension; lines missing at the end keep the colours.
    test::WriteText(dir / "game.bin", "JASP-PAL\nOrvel Shp Tool\n256\n9 8 7\n6 5 4\n");
    ASSERT_TRUE(palettes.Load(1, dir.File("game.bin"), messages));
    EXPECT_EQ(palettes.second.name, "game.bin");
    EXPECT_EQ(palettes.Rows()[1].secondText, "  6,   5,   4");
    EXPECT_EQ(palettes.Rows()[2].secondText, "224, 224, 224");

    // Binary otherwise: two whole entries and a torn third change the first two only, in blue, green, red order.
    test::WriteBytes(dir / "PSP_short.txt", {1, 2, 3, 0, 4, 5, 6, 0, 9, 9});
    ASSERT_TRUE(palettes.Load(1, dir.File("PSP_short.txt"), messages));
    EXPECT_EQ(palettes.Rows()[0].secondText, "  3,   2,   1");
    EXPECT_EQ(palettes.Rows()[1].secondText, "  6,   5,   4");
    EXPECT_EQ(palettes.Rows()[2].secondText, "224, 224, 224");

    // A file that is not there changes nothing and says so; the first palette was never touched.
    const auto before = palettes.second.table;
    EXPECT_FALSE(palettes.Load(1, dir.File("none.pal"), messages));
    EXPECT_EQ(messages.Errors(), (std::vector<std::string>{"[" + dir.File("none.pal") + "] Not found"}));
    EXPECT_EQ(palettes.second.table, before);
    EXPECT_EQ(palettes.second.name, "PSP_short.txt");
    EXPECT_EQ(palettes.first.table, DefaultColourTable());
    EXPECT_EQ(palettes.first.name, "Default Orvel palette");
    EXPECT_EQ(PaletteComparison::PickerStart("/pals/"), "/pals/PSP_*.pal");
}

}  // namespace
}  // namespace pixmond
