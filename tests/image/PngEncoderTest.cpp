#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <zlib.h>

#include "image/CBmpDib.h"
#include "image/PngEncoder.h"

namespace pixmond {
namespace {

// A PNG taken apart without libpng's help: its chunk names, header, palette, and the filter byte and samples of
// every row (filters undone), so a test sees both what was chosen and what a reader gets back.
struct TakenApart {
    std::vector<std::string> chunks;
    int width = 0, height = 0, colourType = -1;
    std::vector<std::uint8_t> palette;
    std::vector<int> filters;
    std::vector<std::vector<std::uint8_t>> rows;
};

std::uint32_t U32(const std::uint8_t* p) { return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

TakenApart TakeApart(const std::vector<std::uint8_t>& png) {
    TakenApart out;
    std::vector<std::uint8_t> idat;
    for (size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t size = U32(&png[at]);
        const std::string type(png.begin() + long(at) + 4, png.begin() + long(at) + 8);
        const std::uint8_t* data = &png[at + 8];
        EXPECT_EQ(U32(data + size), crc32(0, &png[at + 4], size + 4)) << type;
        out.chunks.push_back(type);
        if (type == "IHDR") {
            out.width = int(U32(data));
            out.height = int(U32(data + 4));
            out.colourType = data[9];
        }
        if (type == "PLTE") out.palette.assign(data, data + size);
        if (type == "IDAT") idat.insert(idat.end(), data, data + size);
        at += 12 + size;
    }
    const size_t bytes = size_t(out.width) * (out.colourType == 3 ? 1 : 3);
    std::vector<std::uint8_t> raw((bytes + 1) * size_t(out.height));
    uLongf rawSize = uLongf(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &rawSize, idat.data(), uLong(idat.size())), Z_OK);
    EXPECT_EQ(rawSize, raw.size());
    const size_t step = out.colourType == 3 ? 1 : 3;
    std::vector<std::uint8_t> above(bytes, 0);
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t* in = raw.data() + (bytes + 1) * size_t(y);
        out.filters.push_back(in[0]);
        std::vector<std::uint8_t> row(bytes);
        for (size_t i = 0; i < bytes; ++i) {
            const int a = i >= step ? row[i - step] : 0, b = above[i], c = i >= step ? above[i - step] : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            const int predicted[5] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b : c};
            row[i] = std::uint8_t(in[1 + i] + predicted[in[0] % 5]);
        }
        out.rows.push_back(row);
        above = row;
    }
    return out;
}

// The filter a colour row should get: the one whose filtered bytes, taken as signed, add up nearest zero; the
// first of equals.
int BestFilter(const std::vector<std::uint8_t>& row, const std::vector<std::uint8_t>& above) {
    long sums[5] = {};
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= 3 ? row[i - 3] : 0, b = above[i], c = i >= 3 ? above[i - 3] : 0;
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        const int predicted[5] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b : c};
        for (int f = 0; f < 5; ++f) sums[f] += std::abs(int(std::int8_t(std::uint8_t(row[i] - predicted[f]))));
    }
    return int(std::min_element(sums, sums + 5) - sums);
}

CBmpDib Picture(int width, int height, int bits, bool topDown, int pattern) {
    CBmpDib picture;
    picture.Create(width, height, bits, topDown);
    EXPECT_TRUE(picture.Allocate());
    std::uint32_t seed = 7;
    for (int i = 0; i < 256; ++i) picture.Colours()[size_t(i) * 4 + size_t(i % 3)] = std::uint8_t(255 - i);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 24);
            const int values[4] = {x * 9, y * 7, (x + y) * 3 + noise % 5, noise};
            const int v = values[pattern % 4];
            if (bits == 8) picture.SetIndex(x, y, std::uint8_t(v));
            else picture.SetColour(x, y, MakeRgb(v & 255, (v * 3) & 255, (255 - v) & 255));
        }
    return picture;
}

// Indexed pictures keep their indices and whole palette; colour pictures their colours, whichever of the five
// filters each row chose (all five are chosen somewhere below, each row the one that suits it best) and whether the picture is small or large. One
// encoder serves every picture, as a batch uses it.
TEST(PngEncoder, EveryPictureComesBackWhateverTheFilterAndSize) {
    PngEncoder encoder;
    std::set<int> filtersSeen;
    for (int bits : {8, 16, 24, 32})
        for (auto [width, height] : {std::pair{1, 1}, {2, 3}, {61, 17}, {300, 260}})
            for (int pattern = 0; pattern < 4; ++pattern) {
                SCOPED_TRACE(testing::Message() << bits << " bits " << width << "x" << height << " pattern " << pattern);
                const CBmpDib picture = Picture(width, height, bits, pattern % 2 == 1, pattern);
                std::vector<std::uint8_t> png;
                ASSERT_TRUE(encoder.Encode(picture, png));
                const TakenApart back = TakeApart(png);
                const bool indexed = bits == 8;
                const std::vector<std::string> chunks =
                    indexed ? std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"} : std::vector<std::string>{"IHDR", "IDAT", "IEND"};
                EXPECT_EQ(back.chunks, chunks);
                ASSERT_EQ(back.width, width);
                ASSERT_EQ(back.height, height);
                ASSERT_EQ(back.colourType, indexed ? 3 : 2);
                if (indexed) {
                    ASSERT_EQ(back.palette.size(), 768u);
                    for (int i = 0; i < 256; ++i)
                        for (int c = 0; c < 3; ++c)
                            ASSERT_EQ(back.palette[size_t(i) * 3 + size_t(c)], picture.Colours()[size_t(i) * 4 + 2 - size_t(c)]);
                }
                for (int y = 0; y < height; ++y) {
                    filtersSeen.insert(back.filters[size_t(y)]);
                    const std::vector<std::uint8_t> zeros(back.rows[0].size(), 0);
                    EXPECT_EQ(back.filters[size_t(y)], indexed ? 0 : BestFilter(back.rows[size_t(y)], y ? back.rows[size_t(y) - 1] : zeros))
                        << "row " << y;
                    for (int x = 0; x < width; ++x) {
                        const std::uint8_t* sample = &back.rows[size_t(y)][size_t(x) * (indexed ? 1 : 3)];
                        if (indexed) {
                            ASSERT_EQ(*sample, picture.GetIndex(x, y)) << x << "," << y;
                        } else {
                            ASSERT_EQ(MakeRgb(sample[0], sample[1], sample[2]), picture.PixelRgb(x, y)) << x << "," << y;
                        }
                    }
                }
            }
    EXPECT_EQ(filtersSeen, (std::set<int>{0, 1, 2, 3, 4}));

    CBmpDib empty;
    std::vector<std::uint8_t> png{1, 2, 3};
    EXPECT_FALSE(encoder.Encode(empty, png));
    EXPECT_TRUE(png.empty());
}

}  // namespace
}  // namespace pixmond
