#include <gtest/gtest.h>

#include <cmath>

#include "base/ByteReader.h"
#include "image/CBmpDib.h"
#include "image/CShp3.h"
#include "image/PngReader.h"
#include "base/ReadOnlyFile.h"
#include "support/PngBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

using test::PngSpec;

// Loads the bytes through a file and gives the picture's pixels, rows top first.
std::vector<Rgb> Decode(const std::vector<std::uint8_t>& png, RecordingMessages& messages, int* width = nullptr) {
    test::TempDir dir;
    test::WriteBytes(dir / "p.png", png);
    CBmpDib bitmap;
    if (LoadPng(bitmap, dir.File("p.png"), nullptr, 0, messages) != kPngLoaded) return {};
    EXPECT_EQ(bitmap.BitsPerPixel(), 24);
    EXPECT_FALSE(bitmap.TopDown());
    EXPECT_TRUE(bitmap.FromPng());
    if (width) *width = bitmap.Width();
    std::vector<Rgb> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) pixels.push_back(bitmap.PixelRgb(x, y));
    return pixels;
}

std::vector<Rgb> Decode(const PngSpec& picture) {
    RecordingMessages messages;
    auto pixels = Decode(test::EncodePng(picture), messages);
    EXPECT_TRUE(messages.Errors().empty());
    return pixels;
}

PngSpec PngOf(int width, int height, int colourType, int bitDepth, std::vector<std::uint16_t> samples) {
    PngSpec picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = colourType;
    picture.bitDepth = bitDepth;
    picture.samples = std::move(samples);
    return picture;
}

Rgb Grey(int v) { return MakeRgb(v, v, v); }

TEST(PngDecode, GreyOfEveryDepthBecomesEqualRedGreenBlue) {
    EXPECT_EQ(Decode(PngOf(2, 2, PNG_COLOR_TYPE_GRAY, 1, {0, 1, 1, 0})),
              (std::vector<Rgb>{Grey(0), Grey(255), Grey(255), Grey(0)}));
    EXPECT_EQ(Decode(PngOf(4, 1, PNG_COLOR_TYPE_GRAY, 2, {0, 1, 2, 3})),
              (std::vector<Rgb>{Grey(0), Grey(85), Grey(170), Grey(255)}));
    EXPECT_EQ(Decode(PngOf(3, 1, PNG_COLOR_TYPE_GRAY, 4, {0, 7, 15})),
              (std::vector<Rgb>{Grey(0), Grey(119), Grey(255)}));
    EXPECT_EQ(Decode(PngOf(3, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 100, 255})),
              (std::vector<Rgb>{Grey(0), Grey(100), Grey(255)}));
    // Sixteen bits keep the high byte.
    EXPECT_EQ(Decode(PngOf(2, 1, PNG_COLOR_TYPE_GRAY, 16, {0x12FF, 0xAB00})),
              (std::vector<Rgb>{Grey(0x12), Grey(0xAB)}));
}

TEST(PngDecode, AlphaIsDroppedAndTheStoredColourKept) {
    EXPECT_EQ(Decode(PngOf(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {40, 0, 200, 255})),
              (std::vector<Rgb>{Grey(40), Grey(200)}));
    EXPECT_EQ(Decode(PngOf(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0x5000, 0x0000})), (std::vector<Rgb>{Grey(0x50)}));
    EXPECT_EQ(Decode(PngOf(2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {10, 20, 30, 0, 248, 228, 216, 128})),
              (std::vector<Rgb>{MakeRgb(10, 20, 30), MakeRgb(248, 228, 216)}));
    EXPECT_EQ(Decode(PngOf(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, {0x0100, 0x0200, 0x0300, 0})),
              (std::vector<Rgb>{MakeRgb(1, 2, 3)}));
}

TEST(PngDecode, RgbOfEightAndSixteenBits) {
    EXPECT_EQ(Decode(PngOf(2, 2, PNG_COLOR_TYPE_RGB, 8, {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3})),
              (std::vector<Rgb>{MakeRgb(255, 0, 0), MakeRgb(0, 255, 0), MakeRgb(0, 0, 255), MakeRgb(1, 2, 3)}));
    EXPECT_EQ(Decode(PngOf(1, 1, PNG_COLOR_TYPE_RGB, 16, {0xFA00, 0x7F7F, 0x01FF})),
              (std::vector<Rgb>{MakeRgb(0xFA, 0x7F, 0x01)}));
}

TEST(PngDecode, PalettesOfEveryDepthWithAndWithoutTransparency) {
    const std::vector<std::array<std::uint8_t, 3>> palette = {{1, 2, 3}, {248, 228, 216}, {9, 8, 7}, {50, 60, 70}};
    for (int depth : {1, 2, 4, 8}) {
        SCOPED_TRACE(depth);
        const std::uint16_t last = depth == 1 ? 1 : 3;
        PngSpec picture = PngOf(3, 1, PNG_COLOR_TYPE_PALETTE, depth, {0, last, 1});
        picture.palette.assign(palette.begin(), palette.begin() + (depth == 1 ? 2 : 4));
        const std::vector<Rgb> expected = {MakeRgb(1, 2, 3), depth == 1 ? MakeRgb(248, 228, 216) : MakeRgb(50, 60, 70),
                                           MakeRgb(248, 228, 216)};
        EXPECT_EQ(Decode(picture), expected);
        // Transparent entries keep their palette colour.
        picture.paletteAlpha = {0, 0};
        EXPECT_EQ(Decode(picture), expected);
    }
}

TEST(PngDecode, TransparencyOfGreyAndRgbPicturesKeepsTheColour) {
    PngSpec grey = PngOf(2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 9});
    grey.transparent = png_color_16{0, 0, 0, 0, 7};
    EXPECT_EQ(Decode(grey), (std::vector<Rgb>{Grey(7), Grey(9)}));
    PngSpec rgb = PngOf(2, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6});
    rgb.transparent = png_color_16{0, 1, 2, 3, 0};
    EXPECT_EQ(Decode(rgb), (std::vector<Rgb>{MakeRgb(1, 2, 3), MakeRgb(4, 5, 6)}));
}

TEST(PngDecode, BackgroundChunkCompositesTransparentPixels) {
    PngSpec rgba = PngOf(2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {10, 20, 30, 0, 40, 50, 60, 255});
    rgba.background = png_color_16{0, 200, 100, 50, 0};
    EXPECT_EQ(Decode(rgba), (std::vector<Rgb>{MakeRgb(200, 100, 50), MakeRgb(40, 50, 60)}));

    PngSpec palette = PngOf(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1});
    palette.palette = {{1, 2, 3}, {4, 5, 6}, {70, 80, 90}};
    palette.paletteAlpha = {0};
    palette.background = png_color_16{2, 0, 0, 0, 0};
    EXPECT_EQ(Decode(palette), (std::vector<Rgb>{MakeRgb(70, 80, 90), MakeRgb(4, 5, 6)}));

    PngSpec greyAlpha = PngOf(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0x1000, 0, 0x2000, 0xFFFF});
    greyAlpha.background = png_color_16{0, 0, 0, 0, 0x9000};
    EXPECT_EQ(Decode(greyAlpha), (std::vector<Rgb>{Grey(0x90), Grey(0x20)}));
}

TEST(PngDecode, GammaChunkCorrectsForTheScreen) {
    // A file gamma that matches the screen leaves the samples alone; a linear file is brightened.
    PngSpec matched = PngOf(2, 1, PNG_COLOR_TYPE_RGB, 8, {0, 128, 255, 64, 64, 64});
    matched.gamma = 1 / 2.2;
    EXPECT_EQ(Decode(matched), (std::vector<Rgb>{MakeRgb(0, 128, 255), Grey(64)}));

    PngSpec linear = PngOf(1, 1, PNG_COLOR_TYPE_GRAY, 8, {128});
    linear.gamma = 1.0;
    const std::vector<Rgb> pixels = Decode(linear);
    ASSERT_EQ(pixels.size(), 1u);
    const int expected = int(std::lround(255 * std::pow(128 / 255.0, 1 / 2.2)));
    EXPECT_NEAR(RedOf(pixels[0]), expected, 1);
    EXPECT_EQ(RedOf(pixels[0]), BlueOf(pixels[0]));
}

TEST(PngDecode, BlockIsBottomUpWithPaddedRows) {
    std::vector<std::uint16_t> samples;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x) samples.insert(samples.end(), {std::uint16_t(x), std::uint16_t(y), 99});
    test::TempDir dir;
    test::WriteBytes(dir / "w.png", test::EncodePng(PngOf(10, 2, PNG_COLOR_TYPE_RGB, 8, samples)));
    RecordingMessages messages;
    PngLoadRequest request;
    request.fileName = dir.File("w.png");
    ASSERT_TRUE(LoadImagePNG(request, messages));
    ASSERT_EQ(request.pixels, request.block.get() + 40);
    const ByteReader header(std::span<const std::uint8_t>(request.block.get(), 40));
    EXPECT_EQ(header.U32(0), 40u);
    EXPECT_EQ(header.I32(4), 10);
    EXPECT_EQ(header.I32(8), 2);
    EXPECT_EQ(header.U16(14), 24);
    // 30 bytes of pixels padded to 32; the top row is stored second.
    const std::uint8_t* top = request.pixels + 32;
    EXPECT_EQ(top[3 * 4], 99);  // blue
    EXPECT_EQ(top[3 * 4 + 1], 0);
    EXPECT_EQ(top[3 * 4 + 2], 4);  // red
    EXPECT_EQ(request.pixels[1], 1);
}

TEST(PngDecode, ReadsAStreamAtAnOffset) {
    test::TempDir dir;
    std::vector<std::uint8_t> bytes(37, 0xEE);
    const auto png = test::EncodePng(PngOf(1, 1, PNG_COLOR_TYPE_RGB, 8, {5, 6, 7}));
    bytes.insert(bytes.end(), png.begin(), png.end());
    bytes.insert(bytes.end(), 20, 0x11);  // the next archive entry
    test::WriteBytes(dir / "a.dat", bytes);
    auto file = ReadOnlyFile::Open(dir / "a.dat");
    RecordingMessages messages;
    CShp3 set;
    ASSERT_EQ(set.LoadPngPicture(file, 37, messages), kPngLoaded);
    EXPECT_EQ(set.PixelRgb(0, 0), MakeRgb(5, 6, 7));
    EXPECT_TRUE(set.FromPng());
    EXPECT_EQ(set.IconCount(), 0);
    EXPECT_EQ(set.BaseOffset(), 37u);
    EXPECT_EQ(set.SelectIcon(5), 0);
    EXPECT_EQ(set.LoadPngPicture(file, 36, messages), kPngFailed);
    EXPECT_EQ(messages.Errors(), std::vector<std::string>{"Error in loading the PNG image"});
}

TEST(PngDecode, BadInputIsReportedAndLeavesTheBitmapAlone) {
    const auto good = test::EncodePng(PngOf(4, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<std::uint16_t>(48, 77)));
    auto truncated = good;
    truncated.resize(good.size() - 20);
    auto badCrc = good;
    badCrc[45] ^= 0x55;  // inside the IDAT data
    const std::vector<std::uint8_t> notPng = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9};

    for (const std::vector<std::uint8_t>* bytes : std::initializer_list<const std::vector<std::uint8_t>*>{&truncated, &badCrc, &notPng}) {
        RecordingMessages messages;
        test::TempDir dir;
        test::WriteBytes(dir / "bad.png", *bytes);
        CBmpDib bitmap;
        bitmap.Create(3, 3, 8);
        EXPECT_EQ(LoadPng(bitmap, dir.File("bad.png"), nullptr, 0, messages), kPngFailed);
        EXPECT_EQ(bitmap.Width(), 3);
        EXPECT_EQ(bitmap.BitsPerPixel(), 8);
        EXPECT_FALSE(bitmap.FromPng());
        EXPECT_EQ(messages.Errors(), std::vector<std::string>{"Error in loading the PNG image"});
    }
    RecordingMessages messages;
    CBmpDib bitmap;
    EXPECT_EQ(LoadPng(bitmap, "/no/such/file.png", nullptr, 0, messages), kPngFailed);
    EXPECT_EQ(LoadPng(bitmap, "", nullptr, 0, messages), kPngFailed);
    EXPECT_EQ(messages.Errors(),
              (std::vector<std::string>{"Error in loading the PNG image", "Bad parameters loading the PNG image"}));
}

std::vector<std::uint8_t> HeaderOnlyPng(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    for (std::uint32_t v : {width, height})
        for (int s = 24; s >= 0; s -= 8) ihdr.push_back(std::uint8_t(v >> s));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    auto chunk = test::PngChunk("IHDR", ihdr);
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    chunk = test::PngChunk("IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    return bytes;
}

TEST(PngDecode, HostileSizesAreRefusedBeforeAllocating) {
    RecordingMessages messages;
    EXPECT_TRUE(Decode(HeaderOnlyPng(20000, 20000), messages).empty());
    ASSERT_EQ(messages.Errors().size(), 1u);
    EXPECT_EQ(messages.Errors()[0].rfind("PNG image too large: 20000 x 20000 pixels", 0), 0u) << messages.Errors()[0];
    // Within the size limits but far more pixels than the file's data could inflate to.
    messages.Clear();
    EXPECT_TRUE(Decode(HeaderOnlyPng(10000, 4000), messages).empty());
    EXPECT_EQ(messages.Errors(), std::vector<std::string>{"Error in loading the PNG image"});
}

}  // namespace
}  // namespace pixmond
