#include <gtest/gtest.h>

#include "image/Palette.h"
#include "base/Format.h"
#include "base/ReadOnlyFile.h"
#include "image/PaletteFile.h"
#include "image/PaletteSearch.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

TEST(Palette, NearestIndexFollowsTheGameRules) {
    EXPECT_EQ(NearestPaletteIndex(248, 228, 216), 159);
    EXPECT_EQ(NearestPaletteIndex(249, 228, 216), 159);
    EXPECT_LT(NearestPaletteIndex(252, 124, 124), 255);
    EXPECT_EQ(NearestPaletteIndex(240, 240, 240), 1);
    EXPECT_EQ(NearestPaletteIndex(108, 104, 76), 32);
    EXPECT_EQ(NearestPaletteIndex(208, 168, 100), 88);
    EXPECT_EQ(NearestPaletteIndex(255, 255, 255), 232);
    EXPECT_EQ(NearestPaletteIndex(0, 0, 0), 0);

    // The transparent colour gives 159 whatever the palette; otherwise the given palette is searched.
    RgbTriples grey{};
    for (int i = 0; i < 256; ++i) grey[i * 3] = grey[i * 3 + 1] = grey[i * 3 + 2] = std::uint8_t(i);
    EXPECT_EQ(NearestPaletteIndex(248, 228, 216, &grey), 159);
    EXPECT_EQ(NearestPaletteIndex(10, 11, 12, &grey), 11);
    EXPECT_EQ(NearestPaletteIndex(255, 255, 255, &grey), 254);
}

// The cell search must give the linear search's answer everywhere: on the palette's own colours and their
// neighbours (where ties and cell edges are), on random colours, with palettes full of duplicates and ties,
// and with entry 255 (never chosen) sitting exactly on the colours asked.
TEST(Palette, CellSearchGivesTheLinearAnswerForEveryColourAsked) {
    std::uint32_t seed = 2024;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    std::vector<RgbTriples> palettes{DefaultPalette()};
    RgbTriples coarse{}, random{}, greys{};
    for (int i = 0; i < 768; ++i) {
        coarse[size_t(i)] = std::uint8_t(std::min<std::uint32_t>(next() % 5 * 64, 255));  // many equal distances
        random[size_t(i)] = std::uint8_t(next());
        greys[size_t(i)] = std::uint8_t((i / 3) / 16 * 17);  // sixteen entries of each grey
    }
    for (int c = 0; c < 3; ++c) coarse[255 * 3 + size_t(c)] = 64;
    palettes.insert(palettes.end(), {coarse, random, greys});
    for (const RgbTriples& palette : palettes) {
        PaletteSearch search(palette);
        std::vector<std::array<int, 3>> colours{{248, 228, 216}, {0, 0, 0}, {255, 255, 255}};
        for (int i = 0; i < 256; ++i)
            for (int d : {0, -1, 1, -9, 16})
                colours.push_back({std::clamp(palette[size_t(i) * 3] + d, 0, 255),
                                   std::clamp(palette[size_t(i) * 3 + 1] - d, 0, 255),
                                   std::clamp(palette[size_t(i) * 3 + 2] + d, 0, 255)});
        for (int i = 0; i < 60000; ++i) {
            const std::uint32_t v = next();
            colours.push_back({int(v & 255), int(v >> 8 & 255), int(next() & 255)});
        }
        // Twice round, so answers kept from the first round are checked as well.
        for (int round = 0; round < 2; ++round)
            for (const auto& [r, g, b] : colours)
                ASSERT_EQ(search.Nearest(r, g, b), NearestPaletteIndex(r, g, b, &palette)) << r << "," << g << "," << b;
    }
}

// A picture large enough to be mapped in bands on several threads: every pixel gets the linear answer, and the
// rows come out top-down with their padding cleared.
TEST(Palette, ALargePictureIsMappedWholeInBands) {
    CBmpDib picture;
    picture.Create(513, 301, 24, false);
    ASSERT_TRUE(picture.Allocate());
    std::uint32_t seed = 5;
    for (int y = 0; y < 301; ++y)
        for (int x = 0; x < 513; ++x) {
            seed = seed * 1664525u + 1013904223u;
            picture.SetColour(x, y, MakeRgb(int(seed >> 24), int(seed >> 16 & 255), (x + y) & 255));
        }
    const CBmpDib original(picture);
    ASSERT_TRUE(ConvertToPalette(picture));
    ASSERT_TRUE(picture.TopDown());
    for (int y = 0; y < 301; ++y) {
        for (int x = 0; x < 513; ++x) {
            const Rgb c = original.PixelRgb(x, y);
            ASSERT_EQ(picture.GetIndex(x, y), NearestPaletteIndex(RedOf(c), GreenOf(c), BlueOf(c))) << x << "," << y;
        }
        for (int x = 513; x < picture.Stride(); ++x) ASSERT_EQ(picture.Bits()[size_t(y) * size_t(picture.Stride()) + size_t(x)], 0);
    }
}

TEST(Palette, RemappingTheDefaultPaletteChangesExactlyItsDuplicatesAndIndex255) {
    CBmpDib picture;
    picture.Create(16, 16, 8, false);
    ASSERT_TRUE(picture.Allocate());
    for (int i = 0; i < 256; ++i) picture.SetIndex(i % 16, i / 16, std::uint8_t(i));
    picture.SetColourTable(DefaultColourTable());
    ASSERT_TRUE(RemapToDefaultPalette(picture));
    std::vector<std::pair<int, int>> changed;
    for (int i = 0; i < 256; ++i) {
        const int now = picture.GetIndex(i % 16, i / 16);
        if (now != i) changed.emplace_back(i, now);
    }
    EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{63, 32}, {96, 88}, {150, 88}, {231, 1}, {255, 117}}));

    CBmpDib trueColour;
    trueColour.Create(2, 2, 24, false);
    ASSERT_TRUE(trueColour.Allocate());
    EXPECT_FALSE(RemapToDefaultPalette(trueColour));
    CBmpDib none;
    none.Create(2, 2, 8, false);
    EXPECT_FALSE(RemapToDefaultPalette(none));
}

TEST(Palette, RemapUsesThePictureOwnColours) {
    CBmpDib picture;
    picture.Create(3, 1, 8, true);
    ASSERT_TRUE(picture.Allocate());
    CBmpDib::ColourTable table{};
    table[7 * 4 + 2] = 255;  // index 7: red
    table[8 * 4] = 255;      // index 8: blue
    picture.SetColourTable(table);
    picture.SetIndex(0, 0, 7);
    picture.SetIndex(1, 0, 8);
    picture.SetIndex(2, 0, 7);
    ASSERT_TRUE(RemapToDefaultPalette(picture));
    EXPECT_EQ(picture.GetIndex(0, 0), NearestPaletteIndex(255, 0, 0));
    EXPECT_EQ(picture.GetIndex(1, 0), NearestPaletteIndex(0, 0, 255));
    EXPECT_EQ(picture.GetIndex(2, 0), picture.GetIndex(0, 0));
    EXPECT_EQ(picture.Colours(), DefaultColourTable());
}

TEST(Palette, ConvertingTrueColourGivesATopDownIndexedPicture) {
    for (int bits : {24, 32}) {
        CBmpDib picture;
        picture.Create(5, 3, bits, false);
        ASSERT_TRUE(picture.Allocate());
        picture.Fill(0);
        picture.SetColour(0, 0, MakeRgb(248, 228, 216));
        picture.SetColour(4, 2, MakeRgb(255, 255, 255));
        picture.SetColour(2, 1, MakeRgb(252, 124, 124));
        ASSERT_TRUE(ConvertToPalette(picture));
        EXPECT_EQ(picture.BitsPerPixel(), 8);
        EXPECT_TRUE(picture.TopDown());
        EXPECT_EQ(picture.Stride(), 8);
        EXPECT_EQ(picture.ColourCount(), 256);
        EXPECT_EQ(picture.GetIndex(0, 0), 159);
        EXPECT_EQ(picture.GetIndex(4, 2), 232);
        EXPECT_EQ(picture.GetIndex(1, 0), 0);
        EXPECT_EQ(picture.GetIndex(2, 1), NearestPaletteIndex(252, 124, 124));
        EXPECT_EQ(picture.Colours(), DefaultColourTable());
    }
    RgbTriples two{};
    two[3] = two[4] = two[5] = 200;
    CBmpDib picture;
    picture.Create(2, 1, 24, true);
    ASSERT_TRUE(picture.Allocate());
    picture.SetColour(0, 0, MakeRgb(190, 190, 190));
    picture.SetColour(1, 0, MakeRgb(20, 0, 0));
    ASSERT_TRUE(ConvertToPalette(picture, &two));
    EXPECT_EQ(picture.GetIndex(0, 0), 1);
    EXPECT_EQ(picture.GetIndex(1, 0), 0);
    EXPECT_EQ(picture.Colours(), ColourTableOf(two));

    CBmpDib empty;
    EXPECT_FALSE(ConvertToPalette(empty));
}

class PaletteFileTest : public ::testing::Test {
protected:
    test::TempDir dir_;
    RecordingMessages messages_;
    CBmpDib::ColourTable table_ = DefaultColourTable();
};

TEST_F(PaletteFileTest, TextAndBinaryFormsRoundTrip) {
    CBmpDib::ColourTable table{};
    for (int i = 0; i < 1024; ++i) table[i] = (i % 4 == 3) ? 0 : std::uint8_t(i * 7);
    ASSERT_TRUE(WriteTextPalette(table, dir_.File("p.txt"), messages_));
    ASSERT_TRUE(WriteBinaryPalette(table, dir_.File("p.pal"), messages_));
    const std::string text = test::ReadText(dir_ / "p.txt");
    EXPECT_EQ(text.substr(0, 28), "JASP-PAL\nOrvel Shp Tool\n256\n");
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 259);
    EXPECT_EQ(test::ReadBytes(dir_ / "p.pal").size(), 1024u);

    ASSERT_TRUE(ReadPalette(table_, dir_.File("p.txt"), messages_));
    EXPECT_EQ(table_, table);
    table_ = DefaultColourTable();
    ASSERT_TRUE(ReadPalette(table_, dir_.File("p.pal"), messages_));
    EXPECT_EQ(table_, table);
    EXPECT_TRUE(messages_.Errors().empty());
}

TEST_F(PaletteFileTest, AShortTextPaletteChangesOnlyTheEntriesItGives) {
    std::string text = "any\nthree\nlines\r\n";
    for (int i = 0; i < 10; ++i) text += std::to_string(i) + " 1 2\r\n";
    test::WriteText(dir_ / "short.txt", text);
    ASSERT_TRUE(ReadPalette(table_, dir_.File("short.txt"), messages_));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(table_[i * 4 + 2], i);
        EXPECT_EQ(table_[i * 4 + 1], 1);
        EXPECT_EQ(table_[i * 4], 2);
    }
    for (int i = 40; i < 1024; ++i) EXPECT_EQ(table_[i], DefaultColourTable()[i]) << i;

    // A runaway line (longer than a read block) is cut at 1023 characters: what follows the cut is dropped and
    // the next line is still the next entry.
    std::string runaway = "h\nh\nh\n1 2 3\n7 ";
    runaway.append(5000, 'x').append(" 9 9\n4 5 6\n");
    const auto file = ReadOnlyFile::FromBytes(std::vector<std::uint8_t>(runaway.begin(), runaway.end()));
    CBmpDib::ColourTable table = DefaultColourTable();
    ASSERT_TRUE(ReadPalette(table, *file));
    EXPECT_EQ(std::vector<int>({table[4 + 2], table[4 + 1], table[4]}),
              std::vector<int>({7, DefaultColourTable()[4 + 1], DefaultColourTable()[4]}));
    EXPECT_EQ(std::vector<int>({table[8 + 2], table[8 + 1], table[8]}), std::vector<int>({4, 5, 6}));
}

TEST_F(PaletteFileTest, ColourLinesTakeNumbersWhateverSeparatesThem) {
    std::uint8_t rgb[3] = {0, 0, 0};
    EXPECT_EQ(ParsePaletteLine("12, 200 ;7", rgb), 3);
    EXPECT_EQ(rgb[0], 12);
    EXPECT_EQ(rgb[1], 200);
    EXPECT_EQ(rgb[2], 7);
    EXPECT_EQ(ParsePaletteLine("-5 300 x", rgb), 2);  // minus is skipped, 300 keeps its low eight bits
    EXPECT_EQ(rgb[0], 5);
    EXPECT_EQ(rgb[1], 44);
    EXPECT_EQ(rgb[2], 7);
    EXPECT_EQ(ParsePaletteLine("", rgb), 0);
    EXPECT_EQ(ParsePaletteLine("99999999999999999999 1 1", rgb), 3);
}

TEST_F(PaletteFileTest, AnRgbTriplePaletteIsRead) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 256; ++i) bytes.insert(bytes.end(), {std::uint8_t(i), 10, std::uint8_t(255 - i)});
    test::WriteBytes(dir_ / "rgb.pal", bytes);
    ASSERT_TRUE(ReadPalette(table_, dir_.File("rgb.pal"), messages_));
    EXPECT_EQ(table_[5 * 4 + 2], 5);
    EXPECT_EQ(table_[5 * 4 + 1], 10);
    EXPECT_EQ(table_[5 * 4], 250);
    EXPECT_EQ(table_[5 * 4 + 3], 0);
}

TEST_F(PaletteFileTest, FailuresAreReportedAndKeepTheTable) {
    EXPECT_FALSE(ReadPalette(table_, dir_.File("none.pal"), messages_));
    EXPECT_FALSE(ReadPalette(table_, dir_.Path().string(), messages_));
    ASSERT_EQ(messages_.Errors().size(), 2u);
    EXPECT_EQ(messages_.Errors()[0], Format("[%s] Not found", dir_.File("none.pal").c_str()));
    EXPECT_FALSE(WriteTextPalette(table_, dir_.File("no/such/folder/p.txt"), messages_));
    EXPECT_EQ(messages_.Errors().back(), Format("Error on creating [%s]", dir_.File("no/such/folder/p.txt").c_str()));
    EXPECT_EQ(table_, DefaultColourTable());

    // Odd sizes are read as text; binary noise gives nothing usable but no harm.
    test::WriteBytes(dir_ / "odd.pal", std::vector<std::uint8_t>(1023, 0xFF));
    EXPECT_TRUE(ReadPalette(table_, dir_.File("odd.pal"), messages_));
    EXPECT_EQ(table_, DefaultColourTable());
}

}  // namespace
}  // namespace pixmond
