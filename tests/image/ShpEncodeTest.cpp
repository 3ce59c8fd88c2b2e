#include <gtest/gtest.h>

#include "image/CBmpOrvel.h"
#include "image/Palette.h"
#include "support/ShpBuilder.h"

namespace pixmond {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Encoded {
    ShpIconHeader header;
    Bytes stream;  // the record without its header
};

Encoded Encode(const test::IndexRows& rows) {
    CBmpOrvel picture = test::PictureOf(rows);
    Bytes record;
    Encoded result;
    const std::uint32_t size = picture.EncodeIcon(record, result.header, false);
    EXPECT_EQ(size, record.size());
    EXPECT_GE(record.size(), size_t(ShpIconHeader::kSize));
    EXPECT_EQ(ShpIconHeader::Parse(record.data()), result.header);
    result.stream.assign(record.begin() + ShpIconHeader::kSize, record.end());
    return result;
}
Encoded EncodeText(const std::vector<std::string>& text) { return Encode(test::RowsFromText(text)); }

test::IndexRows OneRow(const std::vector<std::uint8_t>& row) { return {row, std::vector<std::uint8_t>(row.size(), kTransparentIndex)}; }

TEST(ShpEncode, SkipsRunsAndLiteralsAreCodedAsTheFormatSays) {
    const Encoded e = EncodeText({"..AAA.B", "C.....C"});
    EXPECT_EQ(e.header.heightMinus1, 1);
    EXPECT_EQ(e.header.widthMinus1, 6);
    EXPECT_EQ(e.header.reserved, 0u);
    EXPECT_EQ(e.header.x0, 0);
    EXPECT_EQ(e.header.y0, 0);
    EXPECT_EQ(e.header.x1, 6);
    EXPECT_EQ(e.header.y1, 1);
    EXPECT_EQ(e.stream, (Bytes{1, 2, 6, 1, 1, 1, 3, 2, 0,  //
                               3, 3, 1, 5, 3, 3, 0}));
}

TEST(ShpEncode, BoundingBoxLimitsTheCodedArea) {
    const Encoded e = EncodeText({"......", "..A...", "...B..", "......"});
    EXPECT_EQ(e.header.x0, 2);
    EXPECT_EQ(e.header.x1, 3);
    EXPECT_EQ(e.header.y0, 1);
    EXPECT_EQ(e.header.y1, 2);
    // A skip that reaches the box's right edge is dropped unless it is the row's only code; the skip in front
    // of a pixel on the right edge stays.
    EXPECT_EQ(e.stream, (Bytes{3, 1, 0, 1, 1, 3, 2, 0}));
}

TEST(ShpEncode, TransparentRowsInsideTheBoxAreOneSkip) {
    EXPECT_EQ(EncodeText({"A..", "...", "..A"}).stream, (Bytes{3, 1, 0, 1, 3, 0, 1, 2, 3, 1, 0}));

    // Wider than one skip can say: a single skip of 255, the rest is trailing transparency.
    test::IndexRows wide(2, std::vector<std::uint8_t>(300, kTransparentIndex));
    wide.push_back(std::vector<std::uint8_t>(300, kTransparentIndex));
    wide[0][0] = 5;
    wide[2][299] = 5;
    const Encoded e = Encode(wide);
    ASSERT_EQ(e.header.y1, 2);
    EXPECT_EQ(Bytes(e.stream.begin(), e.stream.begin() + 8), (Bytes{3, 5, 1, 255, 0, 1, 255, 0}));
}

TEST(ShpEncode, RunsNeedThreeEqualPixelsAndStopAt127) {
    EXPECT_EQ(Encode(OneRow({1, 1, 2})).stream, (Bytes{7, 1, 1, 2, 0, 1, 3, 0}));
    EXPECT_EQ(Encode(OneRow({1, 1, 1})).stream, (Bytes{6, 1, 0, 1, 3, 0}));
    // Two equal pixels inside a literal stay in it; three start a run.
    EXPECT_EQ(Encode(OneRow({2, 1, 1, 3, 3, 3})).stream, (Bytes{7, 2, 1, 1, 6, 3, 0, 1, 6, 0}));

    const Encoded run = Encode(OneRow(std::vector<std::uint8_t>(130, 9)));
    EXPECT_EQ(Bytes(run.stream.begin(), run.stream.begin() + 5), (Bytes{254, 9, 6, 9, 0}));
}

TEST(ShpEncode, LiteralsStopAt127PixelsAndAtTransparency) {
    std::vector<std::uint8_t> row;
    for (int i = 0; i < 130; ++i) row.push_back(std::uint8_t(i % 2 ? 4 : 5));
    const Encoded e = Encode(OneRow(row));
    ASSERT_GE(e.stream.size(), 128u + 4u);
    EXPECT_EQ(e.stream[0], 255);
    EXPECT_EQ(e.stream[128], 7);
    EXPECT_EQ(e.stream[132], 0);

    EXPECT_EQ(Encode(OneRow({1, 2, kTransparentIndex, 3, 4})).stream, (Bytes{5, 1, 2, 1, 1, 5, 3, 4, 0, 1, 5, 0}));
}

TEST(ShpEncode, PictureWithoutVisiblePixelsUsesTheFallbackBox) {
    const Encoded e = Encode(test::IndexRows(5, std::vector<std::uint8_t>(10, kTransparentIndex)));
    EXPECT_EQ(e.header.x0, 0);
    EXPECT_EQ(e.header.x1, 10);
    EXPECT_EQ(e.header.y0, 1);
    EXPECT_EQ(e.header.y1, 2);
    // Positions past the last column read as transparent: one skip of width + 1 per row.
    EXPECT_EQ(e.stream, (Bytes{1, 11, 0, 1, 11, 0}));
}

TEST(ShpEncode, FileHeaderGoesFirstAndIsNotCounted) {
    CBmpOrvel picture = test::PictureOf(test::RowsFromText({"AB", "BA"}));
    Bytes out;
    ShpIconHeader header;
    const std::uint32_t size = picture.EncodeIcon(out, header, true);
    ASSERT_EQ(out.size(), 16u + size);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 16), (Bytes{'1', '.', '1', '0', 1, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ShpEncode, TrueColourPicturesAreConvertedToTheDefaultPalette) {
    CBmpOrvel picture;
    picture.Create(3, 2, 24, false);
    ASSERT_TRUE(picture.Allocate());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) picture.SetColour(x, y, MakeRgb(248, 228, 216));
    picture.SetColour(1, 0, MakeRgb(0, 0, 0));
    picture.SetColour(2, 1, MakeRgb(255, 255, 255));
    Bytes out;
    ShpIconHeader header;
    ASSERT_GT(picture.EncodeIcon(out, header, false), 0u);
    EXPECT_EQ(picture.BitsPerPixel(), 8);
    EXPECT_EQ(header.x0, 1);
    EXPECT_EQ(header.x1, 2);
    EXPECT_EQ(Bytes(out.begin() + 24, out.end()), (Bytes{3, 0, 0, 1, 1, 3, 232, 0}));
}

TEST(ShpEncode, SizesOutsideTheIconLimitsAreRefused) {
    for (auto [w, h] : {std::pair{1, 5}, {5, 1}, {641, 5}, {5, 481}}) {
        CBmpOrvel picture = test::PictureOf(test::IndexRows(size_t(h), std::vector<std::uint8_t>(size_t(w), 1)));
        Bytes out;
        ShpIconHeader header;
        EXPECT_EQ(picture.EncodeIcon(out, header, true), 0u) << w << " x " << h;
        EXPECT_TRUE(out.empty());
    }
    CBmpOrvel largest = test::PictureOf(test::IndexRows(480, std::vector<std::uint8_t>(640, 7)));
    Bytes out;
    ShpIconHeader header;
    EXPECT_GT(largest.EncodeIcon(out, header, false), 0u);
}

}  // namespace
}  // namespace pixmond
