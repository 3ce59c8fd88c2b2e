#include <gtest/gtest.h>

#include "image/CShpFile.h"
#include "image/Palette.h"
#include "base/ReadOnlyFile.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::IndexRows;
using test::RowsFromText;

class ShpFileTest : public ::testing::Test {
protected:
    std::string Write(const Bytes& bytes, const std::string& name = "T.SHP") {
        const std::string path = dir_.File(name);
        test::WriteBytes(path, bytes);
        return path;
    }
    test::TempDir dir_;
};

ShpIconHeader HeaderOf(int width, int height, int x0, int y0, int x1, int y1) {
    ShpIconHeader h;
    h.widthMinus1 = std::int16_t(width - 1);
    h.heightMinus1 = std::int16_t(height - 1);
    h.x0 = x0;
    h.y0 = y0;
    h.x1 = x1;
    h.y1 = y1;
    return h;
}

TEST_F(ShpFileTest, DecodesEveryIconOfAFileBackToItsPicture) {
    const std::vector<IndexRows> pictures = {
        RowsFromText({"..AAA.B", "C.....C"}),
        RowsFromText({"....", ".#Z.", "....", ".9.."}),
        RowsFromText({"..", ".."}),
    };
    IndexRows big(120, std::vector<std::uint8_t>(300, kTransparentIndex));
    for (int y = 10; y < 110; ++y)
        for (int x = 0; x < 300; ++x)
            if ((x * 7 + y * 3) % 11 < 6) big[size_t(y)][size_t(x)] = std::uint8_t((x / 40 + y) % 255);
    test::ShpBuilder builder;
    for (const auto& p : pictures) builder.Icon(p);
    builder.Icon(big);

    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(Write(builder.Build()), 1));
    ASSERT_EQ(shp.IconCount(), 4);
    EXPECT_EQ(shp.Directory()[0].imageOffset, 8u + 8u * 4u);
    for (int n = 1; n <= 4; ++n) {
        ASSERT_EQ(shp.SelectIcon(n), n);
        EXPECT_GT(shp.DecodeIcon(), 0) << n;
        const IndexRows& expected = n <= 3 ? pictures[size_t(n - 1)] : big;
        EXPECT_EQ(test::RowsOf(shp), expected) << n;
        EXPECT_EQ(shp.IconRecordSize(n), builder.Records()[size_t(n - 1)].size()) << n;
        EXPECT_EQ(shp.CurrentIcon(), n);
    }
    // The picture is 8-bit, bottom-up, over the default palette.
    EXPECT_EQ(shp.BitsPerPixel(), 8);
    EXPECT_FALSE(shp.TopDown());
    EXPECT_EQ(shp.Colours(), DefaultColourTable());
}

TEST_F(ShpFileTest, SelectIconClampsAndAZeroIconFileSelectsNothing) {
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(Write(test::ShpBuilder().IconText({"AA", "A."}).IconText({"B.", ".B"}).Build()), 1));
    EXPECT_EQ(shp.SelectIcon(0), 1);
    EXPECT_EQ(shp.SelectIcon(-3), 1);
    EXPECT_EQ(shp.SelectIcon(2 + 5), 2);
    EXPECT_EQ(shp.IconRecordSize(0), shp.IconRecordSize(1));

    CShpFile empty;
    ASSERT_TRUE(empty.OpenFile(Write(test::ShpBuilder().Build(), "E.SHP"), 1));
    EXPECT_EQ(empty.IconCount(), 0);
    EXPECT_EQ(empty.SelectIcon(1), 0);
    EXPECT_EQ(empty.DecodeIcon(), 0);
    EXPECT_EQ(empty.IconRecordSize(1), 0u);

    CShpFile closed;
    EXPECT_FALSE(closed.OpenFile(dir_.File("missing.shp"), 1));
    EXPECT_EQ(closed.SelectIcon(1), 0);
}

TEST_F(ShpFileTest, BoxesOffTheTopOrLeftMoveToTheEdge) {
    // y0 = -2, y1 = 0: three rows starting at row 0. x0 = -5 starts at column 0.
    const Bytes stream = {3, 1, 0, 3, 2, 0, 3, 3, 0};
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(Write(test::ShpBuilder().RawIcon(HeaderOf(3, 4, -5, -2, 0, 0), stream).Build()), 1));
    EXPECT_EQ(shp.IconHeader().y0, -2);
    ASSERT_EQ(shp.DecodeIcon(), 3);
    EXPECT_EQ(test::RowsOf(shp), RowsFromText({"A..", "B..", "C..", "..."}));
    EXPECT_EQ(shp.IconHeader().y0, 0);
    EXPECT_EQ(shp.IconHeader().x0, 0);
    EXPECT_EQ(shp.StoredHeaders()[0].y0, -2);
}

TEST_F(ShpFileTest, PixelsOutsideThePictureAreDropped) {
    // A literal of five pixels in a three-pixel row, a run past the edge, rows below the picture.
    const Bytes stream = {11, 1, 2, 3, 4, 5, 0, 1, 2, 8, 6, 0, 3, 7, 0, 3, 8, 0};
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(Write(test::ShpBuilder().RawIcon(HeaderOf(3, 2, 0, 0, 2, 3), stream).Build()), 1));
    EXPECT_GT(shp.DecodeIcon(), 0);
    EXPECT_EQ(test::RowsOf(shp), (IndexRows{{1, 2, 3}, {kTransparentIndex, kTransparentIndex, 6}}));
}

TEST_F(ShpFileTest, AStreamCutShortEndsTheRowsAndReadsMissingPixelsAs255) {
    Bytes shpBytes = test::ShpBuilder().RawIcon(HeaderOf(4, 3, 0, 0, 3, 2), {3, 1, 0, 9, 2, 3}).Build();
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(Write(shpBytes), 1));
    ASSERT_GT(shp.DecodeIcon(), 0);
    EXPECT_EQ(test::RowsOf(shp), (IndexRows{{1, 159, 159, 159}, {2, 3, 255, 255}, {159, 159, 159, 159}}));
    EXPECT_EQ(shp.IconRecordSize(1), shpBytes.size() - 16);
}

TEST_F(ShpFileTest, HostileDirectoriesFailWithAReason) {
    // A count the file cannot hold.
    Bytes tooMany = {'1', '.', '1', '0'};
    test::PutU32(tooMany, 0x10000000u);
    test::PutU32(tooMany, 16);
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(Write(tooMany), 1));
    EXPECT_EQ(shp.IconCount(), 0);
    EXPECT_NE(shp.Problem().find("icon count"), std::string::npos);
    EXPECT_EQ(shp.DecodeIcon(), 0);

    Bytes negative = {'1', '.', '1', '0', 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_TRUE(shp.OpenFile(Write(negative, "N.SHP"), 1));
    EXPECT_EQ(shp.IconCount(), 0);

    ASSERT_TRUE(shp.OpenFile(Write({'1', '.'}, "S.SHP"), 1));
    EXPECT_EQ(shp.IconCount(), 0);
    EXPECT_NE(shp.Problem().find("too short"), std::string::npos);

    // The second icon's record lies past the end: the first still decodes.
    test::ShpBuilder builder;
    builder.IconText({"AB", "BA"});
    Bytes bytes = builder.RawRecord({}).Build();
    StoreU32(&bytes[16], 0xFFFFFFF0u);
    ASSERT_TRUE(shp.OpenFile(Write(bytes, "P.SHP"), 2));
    ASSERT_EQ(shp.IconCount(), 2);
    EXPECT_EQ(shp.CurrentIcon(), 2);
    EXPECT_FALSE(shp.IconReadable(2));
    EXPECT_EQ(shp.DecodeIcon(), 0);
    EXPECT_NE(shp.Problem().find("past the end"), std::string::npos);
    EXPECT_EQ(shp.IconRecordSize(2), 0u);
    EXPECT_EQ(shp.SelectIcon(1), 1);
    EXPECT_GT(shp.DecodeIcon(), 0);
}

TEST_F(ShpFileTest, SizesOutsideTheLimitsAreNotDecoded) {
    for (auto [w, h] : {std::pair{1, 5}, {5, 1}, {641, 5}, {5, 481}, {-3, 5}}) {
        CShpFile shp;
        ASSERT_TRUE(shp.OpenFile(Write(test::ShpBuilder().RawIcon(HeaderOf(w, h, 0, 0, 1, 1), {3, 1, 0}).Build()), 1));
        EXPECT_EQ(shp.DecodeIcon(), 0) << w << " x " << h;
        EXPECT_NE(shp.Problem().find("outside"), std::string::npos);
    }
    CShpFile largest;
    ASSERT_TRUE(largest.OpenFile(Write(test::ShpBuilder().RawIcon(HeaderOf(640, 480, 0, 479, 639, 479), {3, 1, 0}).Build()), 1));
    EXPECT_EQ(largest.DecodeIcon(), 1);
    EXPECT_EQ(largest.GetIndex(0, 479), 1);
}

TEST_F(ShpFileTest, AHugeBoxOnAShortStreamEndsWithTheFile) {
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(Write(test::ShpBuilder().RawIcon(HeaderOf(4, 4, 0, -0x7FFFFFFF, 3, 0x7FFFFFFF), {3, 1, 0, 0}).Build()), 1));
    EXPECT_EQ(shp.DecodeIcon(), 1);
    EXPECT_EQ(shp.IconRecordSize(1), 24u + 4u);
}

// A record is read in one piece sized from where the next record starts; a directory whose records overlap
// (the second starting inside the first's stream) must still give the first icon whole.
TEST_F(ShpFileTest, ARecordThatRunsIntoTheNextOneIsStillReadWhole) {
    IndexRows picture(40, std::vector<std::uint8_t>(90, kTransparentIndex));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 90; ++x)
            if ((x + y) % 3) picture[size_t(y)][size_t(x)] = std::uint8_t(1 + (x * 5 + y) % 200);
    test::ShpBuilder builder;
    builder.Icon(picture).IconText({"AB", "CD"});
    Bytes bytes = builder.Build();
    const std::uint32_t first = 8 + 2 * 8;
    for (int b = 0; b < 4; ++b) bytes[16 + size_t(b)] = std::uint8_t((first + 24 + 7) >> (8 * b));
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(Write(bytes), 1));
    ASSERT_GT(shp.DecodeIcon(), 0);
    EXPECT_EQ(test::RowsOf(shp), picture);
}

TEST_F(ShpFileTest, ReadersOwnTheirPixels) {
    const std::string path = Write(test::ShpBuilder().IconText({"AA", "AA"}).IconText({"BBB", "BBB"}).Build());
    CShpFile first, second;
    ASSERT_TRUE(first.OpenFile(path, 1));
    ASSERT_TRUE(second.OpenFile(path, 2));
    ASSERT_GT(first.DecodeIcon(), 0);
    ASSERT_GT(second.DecodeIcon(), 0);
    EXPECT_EQ(test::RowsOf(first), RowsFromText({"AA", "AA"}));
}

TEST_F(ShpFileTest, AnSHPInsideALargerFileIsReadAtItsBaseOffset) {
    const Bytes shpBytes = test::ShpBuilder().IconText({".A.", "B.C"}).IconText({"DD", "DD"}).Build();
    Bytes container = shpBytes;
    container.insert(container.begin(), 37, 0xEE);
    container.resize(container.size() + 50, 0xEE);
    auto file = ReadOnlyFile::Open(Write(container, "ARCHIVE.DAT"));
    ASSERT_TRUE(file);
    CShpFile shp;
    ASSERT_TRUE(shp.AttachArchiveFile(file, 37));
    EXPECT_EQ(shp.ReadDirectory(2), 2);
    EXPECT_EQ(shp.BaseOffset(), 37u);
    ASSERT_GT(shp.DecodeIcon(), 0);
    EXPECT_EQ(test::RowsOf(shp), RowsFromText({"DD", "DD"}));
    EXPECT_EQ(shp.SelectIcon(1), 1);
    ASSERT_GT(shp.DecodeIcon(), 0);
    EXPECT_EQ(test::RowsOf(shp), RowsFromText({".A.", "B.C"}));
}

}  // namespace
}  // namespace pixmond
