#include <gtest/gtest.h>

#include "image/BitmapCanvas.h"
#include "image/CBmpDib.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

CBmpDib MakeGradient(int w, int h, int bits, bool topDown) {
    CBmpDib bmp;
    bmp.Create(w, h, bits, topDown);
    EXPECT_TRUE(bmp.Allocate());
    bmp.Fill(0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (bits == 8) bmp.SetIndex(x, y, std::uint8_t(x + 10 * y));
            else bmp.SetColour(x, y, MakeRgb(x * 20, y * 30, 7));
        }
    for (int i = 0; i < 256; ++i) {
        bmp.Colours()[i * 4] = std::uint8_t(i);
        bmp.Colours()[i * 4 + 1] = std::uint8_t(255 - i);
        bmp.Colours()[i * 4 + 2] = std::uint8_t(i / 2);
    }
    return bmp;
}

TEST(Bitmap, StrideIsPaddedToFourBytes) {
    CBmpDib bmp;
    bmp.Create(10, 3, 8);
    EXPECT_EQ(bmp.Stride(), 12);
    bmp.Create(10, 3, 24);
    EXPECT_EQ(bmp.Stride(), 32);
    EXPECT_EQ(bmp.ImageSize(), 96u);
}

TEST(Bitmap, BmpRoundTripsInEveryDepthAndOrientation) {
    test::TempDir dir;
    RecordingMessages messages;
    for (int bits : {8, 24, 32}) {
        for (bool topDown : {false, true}) {
            CBmpDib original = MakeGradient(5, 4, bits, topDown);
            const std::string path = dir.File("x.bmp");
            ASSERT_TRUE(original.SaveBmp(path, true, messages));
            CBmpDib loaded;
            ASSERT_TRUE(loaded.LoadBmp(path, messages)) << bits;
            EXPECT_FALSE(loaded.TopDown());  // saved bottom-up with a positive height
            EXPECT_EQ(loaded.BitsPerPixel(), bits);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 5; ++x) EXPECT_EQ(loaded.PixelRgb(x, y), original.PixelRgb(x, y));
        }
    }
    EXPECT_TRUE(messages.Entries().empty());
}

TEST(Bitmap, TopDownFileLoadsTopDown) {
    test::TempDir dir;
    RecordingMessages messages;
    CBmpDib original = MakeGradient(3, 2, 24, true);
    ASSERT_TRUE(original.SaveBmp(dir.File("td.bmp"), false, messages));
    CBmpDib loaded;
    ASSERT_TRUE(loaded.LoadBmp(dir.File("td.bmp"), messages));
    EXPECT_TRUE(loaded.TopDown());
    EXPECT_EQ(loaded.PixelRgb(2, 1), original.PixelRgb(2, 1));
}

TEST(Bitmap, BadFilesGiveTheirMessages) {
    test::TempDir dir;
    RecordingMessages messages;
    CBmpDib bmp;
    EXPECT_FALSE(bmp.LoadBmp(dir.File("missing"), messages));
    EXPECT_EQ(messages.Errors().back(), dir.File("missing") + ".bmp not found");
    test::WriteText(dir / "short.bmp", "BM12");
    EXPECT_FALSE(bmp.LoadBmp(dir.File("short.bmp"), messages));
    EXPECT_EQ(messages.Errors().back(), "Invalid BMP FileHeader size");
    test::WriteText(dir / "type.bmp", std::string(60, 'x'));
    EXPECT_FALSE(bmp.LoadBmp(dir.File("type.bmp"), messages));
    EXPECT_EQ(messages.Errors().back(), "Invalid BMP type");

    CBmpDib good = MakeGradient(4, 4, 8, false);
    ASSERT_TRUE(good.SaveBmp(dir.File("g.bmp"), true, messages));
    auto bytes = test::ReadBytes(dir / "g.bmp");
    auto withHeader = [&](size_t at, std::uint8_t value) {
        auto copy = bytes;
        copy[at] = value;
        test::WriteBytes(dir / "bad.bmp", copy);
        return bmp.LoadBmp(dir.File("bad.bmp"), messages);
    };
    EXPECT_FALSE(withHeader(19, 0x7f));  // a huge width that the file cannot hold
    bytes.resize(bytes.size() - 3);
    test::WriteBytes(dir / "cut.bmp", bytes);
    EXPECT_FALSE(bmp.LoadBmp(dir.File("cut.bmp"), messages));
}

TEST(Bitmap, SaveRefusesIconExtensions) {
    test::TempDir dir;
    RecordingMessages messages;
    CBmpDib bmp = MakeGradient(2, 2, 8, false);
    EXPECT_FALSE(bmp.Save(dir.File("a.shp"), messages));
    EXPECT_FALSE(bmp.Save(dir.File("a.S16"), messages));
    EXPECT_FALSE(std::filesystem::exists(dir / "a.shp"));
    EXPECT_FALSE(bmp.Save(dir.File("a.tga"), messages));
    EXPECT_FALSE(messages.Errors().empty());
}

TEST(Bitmap, CopyRectChecksDepthAndEdges) {
    CBmpDib a = MakeGradient(6, 6, 24, false), b;
    b.Create(4, 4, 24, true);
    ASSERT_TRUE(b.Allocate());
    b.Fill(0);
    EXPECT_EQ(a.CopyRectTo(1, 1, 3, 3, b, 2, 2), 12u);
    EXPECT_EQ(b.PixelRgb(3, 3), a.PixelRgb(2, 2));
    EXPECT_EQ(a.CopyRectTo(1, 1, 3, 3, b, 3, 3), 0u);
    EXPECT_EQ(a.CopyRectTo(0, 0, 7, 1, b, 0, 0), 0u);
    CBmpDib c = MakeGradient(4, 4, 8, false);
    EXPECT_EQ(a.CopyRectTo(0, 0, 1, 1, c, 0, 0), 0u);
}

TEST(BitmapCanvas, StretchesNearestNeighbourAndMirrors) {
    CBmpDib bmp = MakeGradient(2, 1, 24, false);
    BitmapCanvas canvas(6, 2, MakeRgb(1, 2, 3));
    bmp.Draw(canvas, 0, 0, 4, 2);
    EXPECT_EQ(canvas.Pixel(0, 0), bmp.PixelRgb(0, 0));
    EXPECT_EQ(canvas.Pixel(1, 1), bmp.PixelRgb(0, 0));
    EXPECT_EQ(canvas.Pixel(3, 0), bmp.PixelRgb(1, 0));
    EXPECT_EQ(canvas.Pixel(4, 0), MakeRgb(1, 2, 3));
    bmp.SetMirror(true);
    bmp.Draw(canvas, 0, 0, 4, 2);
    EXPECT_EQ(canvas.Pixel(0, 0), bmp.PixelRgb(1, 0));
    EXPECT_EQ(canvas.Pixel(3, 1), bmp.PixelRgb(0, 0));
}

}  // namespace
}  // namespace pixmond
