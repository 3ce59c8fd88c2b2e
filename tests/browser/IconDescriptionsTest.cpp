#include <gtest/gtest.h>

#include "browser/CIconDescriptions.h"
#include "support/TestFiles.h"
#include "ui/LocalFileSystem.h"

namespace pixmond {
namespace {

std::array<std::string, 6> Fields(const CIconDescriptions& d, const std::string& key) {
    const stIconTxItem* item = d.Find(key);
    return item ? item->field : std::array<std::string, 6>{"<none>"};
}

TEST(IconDescriptions, TheTwoFlavoursCutTheSameLinesDifferently) {
    const std::string lines =
        "TIGER=Tiger I=grey\n"
        "units\\panther.shp: Panther tank\n"
        "KV1;heavy;green;tank;USSR;tracked;KV;extra\n";
    CIconDescriptions text;
    text.ReadText(lines, false);
    EXPECT_EQ(Fields(text, "TIGER"), (std::array<std::string, 6>{"Tiger I", "grey", "", "", "", ""}));
    // The blank after the colon stays part of the field.
    EXPECT_EQ(Fields(text, "PANTHER")[0], " Panther tank");
    EXPECT_EQ(Fields(text, "KV1"), (std::array<std::string, 6>{"heavy", "green", "tank", "USSR", "tracked", "KV"}));

    CIconDescriptions csv;
    csv.ReadText(lines, true);
    EXPECT_EQ(text.Size(), 3u);
    EXPECT_EQ(Fields(csv, "TIGER=TIGER")[0], "I=grey");
    EXPECT_EQ(csv.Find("TIGER"), nullptr);
    // The name ends at the colon in both flavours.
    EXPECT_EQ(Fields(csv, "PANTHER")[0], " Panther tank");
    EXPECT_EQ(Fields(csv, "KV1"), Fields(text, "KV1"));
}

TEST(IconDescriptions, CommentsShortLinesAndSeparators) {
    const std::string lines =
        "#TIGER;hash\n"
        "+PLUS;plus\n"
        "'QUOTE;quote\n"
        "AB\n"               // two characters and the line end: long enough
        "A\n"                // too short
        ";NOKEY;x\n"         // empty name adds nothing
        "EMPTIES;;;c;\n"     // two separators give an empty field, a final one none
        "SAME;first\n"
        "SAME;second\n"
        "CRLF;windows\r\n"
        "LAST;no line end";
    CIconDescriptions text;
    text.ReadText(lines, false);
    EXPECT_EQ(text.Find("TIGER"), nullptr);
    EXPECT_EQ(text.Find("+PLUS"), nullptr);
    EXPECT_EQ(text.Find("'QUOTE"), nullptr);
    EXPECT_NE(text.Find("AB"), nullptr);
    EXPECT_EQ(text.Find("A"), nullptr);
    EXPECT_EQ(text.Find("NOKEY"), nullptr);
    EXPECT_EQ(Fields(text, "EMPTIES"), (std::array<std::string, 6>{"", "", "c", "", "", ""}));
    EXPECT_EQ(Fields(text, "SAME")[0], "second");
    EXPECT_EQ(Fields(text, "CRLF")[0], "windows");
    EXPECT_EQ(Fields(text, "LAST")[0], "no line end");

    CIconDescriptions csv;
    csv.ReadText(lines, true);
    EXPECT_EQ(csv.Find("TIGER"), nullptr);
    EXPECT_EQ(Fields(csv, "+PLUS")[0], "plus");
    EXPECT_EQ(Fields(csv, "'QUOTE")[0], "quote");
}

TEST(IconDescriptions, ALongLineIsReadInPieces) {
    const std::string first = "LONG;" + std::string(1018, 'x');  // 1023 characters: one full piece
    CIconDescriptions d;
    d.ReadText(first + "PIECE;second\n", true);
    EXPECT_EQ(Fields(d, "LONG")[0], std::string(1018, 'x'));
    EXPECT_EQ(Fields(d, "PIECE")[0], "second");
}

TEST(IconDescriptions, FileBesideTheArchiveWhateverItsCase) {
    test::TempDir dir;
    LocalFileSystem files;
    const auto archive = dir / "Demo.dat";
    EXPECT_FALSE(CIconDescriptions::FindBeside(archive, files));
    test::WriteText(dir / "DEMO.TXT", "A1;text\n");
    EXPECT_EQ(CIconDescriptions::FindBeside(archive, files)->filename(), "DEMO.TXT");
    test::WriteText(dir / "demo.Csv", "A1;csv\n");
    const auto found = CIconDescriptions::FindBeside(archive, files);
    EXPECT_EQ(found->filename(), "demo.Csv");

    CIconDescriptions d;
    ASSERT_TRUE(d.Read(*found));
    EXPECT_TRUE(d.IsCsv());
    EXPECT_EQ(Fields(d, "A1")[0], "csv");
    EXPECT_FALSE(d.Read(dir / "missing.txt"));
    EXPECT_EQ(Fields(d, "A1")[0], "csv");

    // The game's own archive also finds its shipped description file.
    EXPECT_FALSE(CIconDescriptions::FindBeside(dir / "VARNEK2.DAT", files));
    test::WriteText(dir / "varnek2_v2.TXT", "A1;game\n");
    EXPECT_EQ(CIconDescriptions::FindBeside(dir / "VARNEK2.DAT", files)->filename(), "varnek2_v2.TXT");
    EXPECT_FALSE(CIconDescriptions::FindBeside(dir / "other.dat", files));
}

}  // namespace
}  // namespace pixmond
