#include <gtest/gtest.h>

#include <cstdio>

#include <jpeglib.h>

#include "image/CBmpDib.h"
#include "image/ImageWriter.h"
#include "image/PngReader.h"
#include "support/PngBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

CBmpDib Picture(int width, int height, int bits) {
    CBmpDib bmp;
    bmp.Create(width, height, bits);
    EXPECT_TRUE(bmp.Allocate());
    bmp.Fill(0);
    for (int i = 0; i < 256; ++i) {
        bmp.Colours()[i * 4] = std::uint8_t(255 - i);  // blue
        bmp.Colours()[i * 4 + 1] = std::uint8_t(i / 2);
        bmp.Colours()[i * 4 + 2] = std::uint8_t(i);  // red
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (bits == 8) bmp.SetIndex(x, y, std::uint8_t(x * 16 + y));
            else bmp.SetColour(x, y, MakeRgb(x * 20, y * 30, 255 - x));
        }
    return bmp;
}

void ExpectSamePixels(const CBmpDib& a, const CBmpDib& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.PixelRgb(x, y), b.PixelRgb(x, y)) << x << "," << y;
}

TEST(PngWrite, EightBitPicturesBecomeIndexedAndOthersRgb) {
    test::TempDir dir;
    RecordingMessages messages;
    for (int bits : {8, 24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(bits * 10 + topDown);
            CBmpDib picture = Picture(7, 5, bits);
            if (topDown) {
                CBmpDib flipped;
                flipped.Create(7, 5, bits, true);
                ASSERT_TRUE(flipped.Allocate());
                flipped.SetColourTable(picture.Colours());
                for (int y = 0; y < 5; ++y)
                    for (int x = 0; x < 7; ++x) {
                        if (bits == 8) flipped.SetIndex(x, y, picture.GetIndex(x, y));
                        else flipped.SetColour(x, y, picture.PixelRgb(x, y));
                    }
                picture = flipped;
            }
            const std::string path = dir.File("out.png");
            ASSERT_TRUE(picture.Save(path, messages));
            EXPECT_EQ(test::PngColourType(test::ReadBytes(path)),
                      bits == 8 ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB);
            CBmpDib back;
            ASSERT_EQ(LoadPng(back, path, nullptr, 0, messages), kPngLoaded);
            ExpectSamePixels(picture, back);
        }
    }
    EXPECT_TRUE(messages.Errors().empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(PngWrite, FailureLeavesTheTargetAlone) {
    test::TempDir dir;
    RecordingMessages messages;
    CBmpDib empty;
    EXPECT_FALSE(WritePng(empty, dir.File("e.png"), messages));
    EXPECT_FALSE(std::filesystem::exists(dir / "e.png"));
    const CBmpDib picture = Picture(3, 3, 24);
    EXPECT_FALSE(WritePng(picture, dir.File("no/such/folder/x.png"), messages));
    EXPECT_EQ(messages.Errors().size(), 2u);
    EXPECT_EQ(messages.Errors()[1], "Error creating " + dir.File("no/such/folder/x.png"));
}

struct DecodedJpeg {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    Rgb At(int x, int y) const {
        const std::uint8_t* p = rgb.data() + (size_t(y) * width + x) * 3;
        return MakeRgb(p[0], p[1], p[2]);
    }
};

DecodedJpeg ReadJpeg(const std::string& path) {
    DecodedJpeg out;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return out;
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = int(info.output_width);
    out.height = int(info.output_height);
    out.rgb.resize(size_t(out.width) * out.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgb.data() + size_t(info.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return out;
}

int Distance(Rgb a, Rgb b) {
    return std::max({std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)), std::abs(BlueOf(a) - BlueOf(b))});
}

TEST(JpgWrite, WritesAPictureLibjpegReadsBackCloseToTheOriginal) {
    test::TempDir dir;
    RecordingMessages messages;
    // Flat quarters compress almost without loss away from their edges.
    CBmpDib picture;
    picture.Create(64, 48, 24);
    ASSERT_TRUE(picture.Allocate());
    const Rgb quarters[4] = {MakeRgb(200, 30, 30), MakeRgb(30, 200, 30), MakeRgb(30, 30, 200), MakeRgb(240, 240, 240)};
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) picture.SetColour(x, y, quarters[(x >= 32) + 2 * (y >= 24)]);

    ASSERT_TRUE(picture.Save(dir.File("q.jpg"), messages));
    const DecodedJpeg jpeg = ReadJpeg(dir.File("q.jpg"));
    ASSERT_EQ(jpeg.width, 64);
    ASSERT_EQ(jpeg.height, 48);
    EXPECT_LE(Distance(jpeg.At(8, 8), quarters[0]), 6);
    EXPECT_LE(Distance(jpeg.At(56, 8), quarters[1]), 6);
    EXPECT_LE(Distance(jpeg.At(8, 40), quarters[2]), 6);
    EXPECT_LE(Distance(jpeg.At(56, 40), quarters[3]), 6);

    // An 8-bit picture goes through its colour table; a lower quality gives a smaller file.
    const CBmpDib indexed = Picture(40, 40, 8);
    ASSERT_TRUE(WriteJpg(indexed, dir.File("high.jpg"), 95, messages));
    ASSERT_TRUE(WriteJpg(indexed, dir.File("low.jpg"), 10, messages));
    EXPECT_LT(std::filesystem::file_size(dir / "low.jpg"), std::filesystem::file_size(dir / "high.jpg"));
    EXPECT_LE(Distance(ReadJpeg(dir.File("high.jpg")).At(20, 20), indexed.PixelRgb(20, 20)), 40);
    EXPECT_TRUE(messages.Errors().empty());

    EXPECT_FALSE(WriteJpg(indexed, dir.File("bad.jpg"), 0, messages));
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.jpg"));
    EXPECT_EQ(messages.Errors().size(), 1u);
}

}  // namespace
}  // namespace pixmond
