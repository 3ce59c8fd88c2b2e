#include <gtest/gtest.h>

#include "base/ByteReader.h"
#include "image/CShp3.h"
#include "base/ReadOnlyFile.h"
#include "image/S16Writer.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

constexpr Rgb kBack = CShp3::kBackground;

// An icon whose content is one value per pixel, from a row pattern of letters: 'R' red, 'G' green, 'B' blue,
// 'W' white, anything else black.
S16Icon IconOf(std::vector<std::string> rows, std::int32_t encoding, int width = 0, int height = 0) {
    S16Icon icon;
    icon.contentHeight = std::int32_t(rows.size());
    icon.contentWidth = std::int32_t(rows[0].size());
    icon.width = width ? width : icon.contentWidth;
    icon.height = height ? height : icon.contentHeight;
    icon.encoding = encoding;
    for (auto& row : rows)
        for (char c : row)
            icon.content.push_back(c == 'R' ? 0xF800 : c == 'G' ? 0x07E0 : c == 'B' ? 0x001F : c == 'W' ? 0xFFFF : 0);
    return icon;
}

struct S16File {
    test::TempDir dir;
    std::string path;
    explicit S16File(const std::vector<std::uint8_t>& bytes) : path(dir.File("icons.s16")) {
        test::WriteBytes(path, bytes);
    }
};

std::vector<std::string> RowsOf(const CShp3& set) {
    std::vector<std::string> rows;
    for (int y = 0; y < set.Height(); ++y) {
        std::string row;
        for (int x = 0; x < set.Width(); ++x) {
            const Rgb c = set.PixelRgb(x, y);
            row += c == kBack                   ? '.'
                   : c == MakeRgb(248, 0, 0)     ? 'R'
                   : c == MakeRgb(0, 252, 0)     ? 'G'
                   : c == MakeRgb(0, 0, 248)     ? 'B'
                   : c == MakeRgb(248, 252, 248) ? 'W'
                   : c == 0                      ? 'K'
                                                 : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(S16Colour, FiveSixFiveValuesSpreadToTheTopOfEachByte) {
    EXPECT_EQ(CShp3::ColourOf(0xFFFF), MakeRgb(248, 252, 248));
    EXPECT_EQ(CShp3::ColourOf(0xF800), MakeRgb(248, 0, 0));
    EXPECT_EQ(CShp3::ColourOf(0x001F), MakeRgb(0, 0, 248));
    EXPECT_EQ(CShp3::ColourOf(0x07E0), MakeRgb(0, 252, 0));
    EXPECT_EQ(CShp3::ColourOf(ToRgb565(MakeRgb(200, 100, 50))), MakeRgb(200, 100, 48));
}

TEST(S16Decode, RawRunsAndOtherEncodingsGiveTheSamePicture) {
    const std::vector<std::string> rows = {"RRRRGGB", "WWWWWWW", "KBBBBBR"};
    for (std::int32_t encoding : {0, 1, 2, 7, -1}) {
        SCOPED_TRACE(encoding);
        S16File file(BuildS16({IconOf(rows, encoding)}));
        CShp3 set;
        ASSERT_TRUE(set.OpenFile(file.path));
        ASSERT_EQ(set.IconCount(), 1);
        EXPECT_EQ(set.DecodeIcon(), 21);
        EXPECT_EQ(set.BitsPerPixel(), 24);
        EXPECT_FALSE(set.TopDown());
        EXPECT_EQ(RowsOf(set), rows);
    }
}

TEST(S16Decode, ContentIsPlacedAtItsOffsetOrCentredWhenItWouldNotFit) {
    S16Icon icon = IconOf({"RR", "GG"}, 1, 5, 4);
    icon.xOffset = 2;
    icon.yOffset = 1;
    S16Icon centred = IconOf(std::vector<std::string>(50, std::string(60, 'W')), 0, 100, 50);
    centred.xOffset = 70;
    S16Icon negative = IconOf({"B"}, 0, 3, 3);
    negative.xOffset = -5;
    negative.yOffset = 9;
    S16File file(BuildS16({icon, centred, negative}));
    CShp3 set;
    ASSERT_TRUE(set.OpenFile(file.path));
    ASSERT_EQ(set.DecodeIcon(), 4);
    EXPECT_EQ(RowsOf(set), (std::vector<std::string>{".....", "..RR.", "..GG.", "....."}));

    ASSERT_EQ(set.SelectIcon(2), 2);
    ASSERT_EQ(set.DecodeIcon(), 3000);
    EXPECT_EQ(set.PixelRgb(19, 10), kBack);
    EXPECT_EQ(set.PixelRgb(20, 10), MakeRgb(248, 252, 248));
    EXPECT_EQ(set.PixelRgb(79, 49), MakeRgb(248, 252, 248));
    EXPECT_EQ(set.PixelRgb(80, 0), kBack);

    set.SelectIcon(3);
    ASSERT_EQ(set.DecodeIcon(), 1);
    EXPECT_EQ(RowsOf(set), (std::vector<std::string>{"...", "B..", "..."}));

    // Content taller than the icon: the first row below the icon ends the picture, whatever the encoding.
    for (std::int32_t encoding : {0, 1}) {
        S16File tall(BuildS16({IconOf({"RGB", "GBR", "BRG", "WWW"}, encoding, 3, 2)}));
        ASSERT_TRUE(set.OpenFile(tall.path));
        EXPECT_EQ(set.DecodeIcon(), 6) << encoding;
        EXPECT_EQ(RowsOf(set), (std::vector<std::string>{"RGB", "GBR"})) << encoding;
    }
}

TEST(S16Decode, ShortDataStopsAtTheLastCompletePixelOrRun) {
    std::vector<std::uint8_t> runs = BuildS16({IconOf({"RRRG", "GGBB"}, 1)});
    runs.resize(runs.size() - 1);  // the last run (two blue) loses a byte
    S16File runFile(runs);
    CShp3 set;
    ASSERT_TRUE(set.OpenFile(runFile.path));
    EXPECT_EQ(set.DecodeIcon(), 6);
    EXPECT_EQ(RowsOf(set), (std::vector<std::string>{"RRRG", "GG.."}));

    std::vector<std::uint8_t> raw = BuildS16({IconOf({"RRRG", "GGBB"}, 0)});
    raw.resize(raw.size() - 5);
    S16File rawFile(raw);
    ASSERT_TRUE(set.OpenFile(rawFile.path));
    EXPECT_EQ(set.DecodeIcon(), 5);
    EXPECT_EQ(RowsOf(set), (std::vector<std::string>{"RRRG", "G..."}));
}

TEST(S16Decode, RunsOfZeroPaintNothingAndRunsStopAtTheContent) {
    std::vector<std::uint8_t> bytes = BuildS16({IconOf({"RRR", "RRR"}, 1)});
    // Replace the data (one run of six) by: 0 x blue, 2 x green, 200 x red.
    bytes.resize(4 + 40);
    for (std::uint8_t b : {0, 0x1F, 0x00, 2, 0xE0, 0x07, 200, 0x00, 0xF8}) bytes.push_back(b);
    bytes[4 + 28] = 9;
    S16File file(bytes);
    CShp3 set;
    ASSERT_TRUE(set.OpenFile(file.path));
    EXPECT_EQ(set.DecodeIcon(), 6);
    EXPECT_EQ(RowsOf(set), (std::vector<std::string>{"GGR", "RRR"}));
}

TEST(S16Decode, IconSizeLimits) {
    S16Icon largest;
    largest.width = largest.contentWidth = 800;
    largest.height = largest.contentHeight = 600;
    largest.content.assign(800 * 600, 0x001F);
    largest.encoding = 1;
    S16Icon tooWide = IconOf({"R"}, 0, 801, 10);
    S16Icon tooHigh = IconOf({"R"}, 0, 800, 601);
    S16Icon empty = IconOf({"R"}, 0, 4, 4);
    empty.contentHeight = 0;
    S16File file(BuildS16({largest, tooWide, tooHigh, empty}));
    CShp3 set;
    ASSERT_TRUE(set.OpenFile(file.path));
    EXPECT_EQ(set.DecodeIcon(), 480000);
    EXPECT_EQ(set.PixelRgb(799, 599), MakeRgb(0, 0, 248));
    for (int icon : {2, 3, 4}) {
        set.SelectIcon(icon);
        EXPECT_EQ(set.DecodeIcon(), 0) << icon;
    }
}

TEST(S16Decode, NegativeDataSizeReadsTheImageSize) {
    std::vector<std::uint8_t> bytes = BuildS16({IconOf({"RG", "BW"}, 0)});
    StoreU32(bytes.data() + 4 + 28, 0xFFFFFFFF);
    S16File file(bytes);
    CShp3 set;
    ASSERT_TRUE(set.OpenFile(file.path));
    EXPECT_EQ(set.DecodeIcon(), 4);
    EXPECT_EQ(RowsOf(set), (std::vector<std::string>{"RG", "BW"}));
}

TEST(S16Directory, SelectionClampsAndAnEmptyFileSelectsNothing) {
    S16File file(BuildS16({IconOf({"R"}, 0), IconOf({"G"}, 0), IconOf({"BB"}, 1)}));
    CShp3 set;
    ASSERT_TRUE(set.OpenFile(file.path));
    EXPECT_EQ(set.CurrentIcon(), 1);
    EXPECT_EQ(set.SelectIcon(0), 1);
    EXPECT_EQ(set.SelectIcon(99), 3);
    ASSERT_NE(set.CurrentEntry(), nullptr);
    EXPECT_EQ(set.CurrentEntry()->contentWidth, 2);
    EXPECT_EQ(set.CurrentEntry()->encoding, 1);
    EXPECT_EQ(set.CurrentEntry()->dataOffset, 4u);
    EXPECT_EQ(set.DataPosition(), 4u + 3 * 40 + 4);

    S16File emptyFile(BuildS16({}));
    ASSERT_TRUE(set.OpenFile(emptyFile.path));
    EXPECT_EQ(set.IconCount(), 0);
    EXPECT_EQ(set.SelectIcon(1), 0);
    EXPECT_EQ(set.CurrentEntry(), nullptr);
    EXPECT_EQ(set.DecodeIcon(), 0);

    EXPECT_FALSE(set.OpenFile(file.dir.File("missing.s16")));
    EXPECT_EQ(set.IconCount(), 0);
}

TEST(S16Directory, CountsAndOffsetsTheFileCannotHoldAreRefused) {
    CShp3 set;
    for (std::uint32_t count : {2u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        std::vector<std::uint8_t> bytes = BuildS16({IconOf({"R"}, 0)});
        StoreU32(bytes.data(), count);
        S16File file(bytes);
        ASSERT_TRUE(set.OpenFile(file.path)) << count;
        EXPECT_EQ(set.IconCount(), 0) << count;
        EXPECT_EQ(set.DecodeIcon(), 0) << count;
    }
    S16File tiny(std::vector<std::uint8_t>{1, 0});
    ASSERT_TRUE(set.OpenFile(tiny.path));
    EXPECT_EQ(set.IconCount(), 0);

    std::vector<std::uint8_t> bytes = BuildS16({IconOf({"R"}, 0)});
    StoreU32(bytes.data() + 4 + 24, 0xFFFFFF00u);
    S16File pastEnd(bytes);
    ASSERT_TRUE(set.OpenFile(pastEnd.path));
    EXPECT_EQ(set.IconCount(), 1);
    EXPECT_EQ(set.DecodeIcon(), 0);
}

TEST(S16Directory, ArchiveEntryIsReadAtItsBaseOffset) {
    test::TempDir dir;
    std::vector<std::uint8_t> archive(100, 0xAB);
    const auto s16 = BuildS16({IconOf({"R"}, 0), IconOf({"GB"}, 1)});
    archive.insert(archive.end(), s16.begin(), s16.end());
    archive.insert(archive.end(), 50, 0xCD);
    test::WriteBytes(dir / "a.dat", archive);
    auto file = ReadOnlyFile::Open(dir / "a.dat");

    CShp3 set;
    ASSERT_TRUE(set.AttachArchiveFile(file, 100));
    EXPECT_EQ(set.ReadDirectory(2), 2);
    EXPECT_EQ(set.BaseOffset(), 100u);
    EXPECT_EQ(set.DecodeIcon(), 2);
    EXPECT_EQ(RowsOf(set), std::vector<std::string>{"GB"});
    set.CloseFile();
    EXPECT_EQ(set.IconCount(), 0);
    EXPECT_EQ(set.BaseOffset(), 0u);
    EXPECT_EQ(set.DecodeIcon(), 0);
}

}  // namespace
}  // namespace pixmond
