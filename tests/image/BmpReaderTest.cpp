#include <gtest/gtest.h>

#include <cstdlib>

#include "image/CBmpDib.h"
#include "support/BmpBuilder.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

using test::BmpHeaderForm;
using test::IndexPicture;

// Every channel value is one of 0, 8, 16, 239, 247 and 255, which 5- and 6-bit masks hold exactly, so the
// same colours must come back from every form. Alpha is 0 or 255 for the 1-bit alpha masks.
IndexPicture TestPicture() {
    IndexPicture picture = IndexPicture::FromRows({"0123456789a", "bbbbbcdefff", "00000000000", "12333334555", "fedcbaaaaaa"});
    picture.palette = {{0, 0, 0, 255},       {255, 255, 255, 255}, {239, 8, 16, 0},     {8, 247, 16, 255},
                       {16, 8, 247, 255},    {255, 239, 0, 0},     {0, 255, 239, 255},  {247, 0, 255, 255},
                       {8, 8, 8, 0},         {247, 247, 247, 255}, {16, 239, 247, 255}, {239, 16, 8, 255},
                       {0, 16, 255, 0},      {255, 0, 8, 255},     {16, 16, 239, 255},  {239, 247, 255, 255}};
    return picture;
}

test::IndexRows Hex(const std::vector<std::string>& rows) {
    const IndexPicture picture = IndexPicture::FromRows(rows);
    test::IndexRows out(size_t(picture.height));
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) out[size_t(y)].push_back(picture.At(x, y));
    return out;
}

std::string LastError(const RecordingMessages& messages) {
    return messages.Errors().empty() ? std::string() : messages.Errors().back();
}

struct Form {
    const char* file;  // also the name of its seed in the BMP fuzz corpus
    BmpHeaderForm layout;
    bool topDown;
    int loadedBits;
    bool alpha;  // the masks carry alpha
};

const Form kForms[] = {
    {"os2-1bit.bmp", {.headerSize = 12, .bits = 1}, false, 8, false},
    {"os2-4bit.bmp", {.headerSize = 12, .bits = 4}, false, 8, false},
    {"os2-8bit.bmp", {.headerSize = 12, .bits = 8}, false, 8, false},
    {"os2-24bit.bmp", {.headerSize = 12, .bits = 24}, false, 24, false},
    {"1bit.bmp", {.bits = 1}, false, 8, false},
    {"4bit-topdown.bmp", {.bits = 4}, true, 8, false},
    {"8bit.bmp", {.bits = 8}, false, 8, false},
    {"rle8.bmp", {.bits = 8, .compression = 1}, false, 8, false},
    {"rle4.bmp", {.bits = 4, .compression = 2}, false, 8, false},
    {"v5-rle8.bmp", {.headerSize = 124, .bits = 8, .compression = 1}, false, 8, false},
    {"v4-4bit.bmp", {.headerSize = 108, .bits = 4}, false, 8, false},
    {"16bit-555.bmp", {.bits = 16}, false, 24, false},
    {"16bit-565-masks.bmp", {.bits = 16, .compression = 3, .masks = {0xf800, 0x07e0, 0x001f, 0}}, false, 24, false},
    {"v2-16bit-565.bmp", {.headerSize = 52, .bits = 16, .compression = 3, .masks = {0xf800, 0x07e0, 0x001f, 0}}, false,
     24, false},
    {"v3-16bit-1555.bmp", {.headerSize = 56, .bits = 16, .compression = 3, .masks = {0x7c00, 0x03e0, 0x001f, 0x8000}},
     true, 32, true},
    {"v5-16bit-1555.bmp", {.headerSize = 124, .bits = 16, .compression = 3, .masks = {0x7c00, 0x03e0, 0x001f, 0x8000}},
     false, 32, true},
    {"v4-24bit.bmp", {.headerSize = 108, .bits = 24}, false, 24, false},
    {"32bit.bmp", {.bits = 32}, false, 32, true},
    {"v5-32bit-masks.bmp",
     {.headerSize = 124, .bits = 32, .compression = 3, .masks = {0x0000ff00, 0x00ff0000, 0xff000000, 0x000000ff}},
     false, 32, true},
    {"32bit-alpha-masks.bmp",
     {.bits = 32, .compression = 6, .masks = {0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000}}, false, 32, true},
    {"32bit-masks-no-alpha.bmp", {.bits = 32, .compression = 3, .masks = {0x000003ff << 20, 0x3ff << 10, 0x3ff, 0}},
     false, 32, false},
};

// The same picture written in every form loads with the same pixels; pictures of 8 bits and less keep
// their indices. Saving writes the 40-byte header whatever the form was. With PIXMOND_BMP_SEEDS set to a
// folder, the files are also written there (the seeds of the BMP fuzz target).
TEST(BmpForms, EveryFormLoadsTheSamePicture) {
    test::TempDir dir;
    RecordingMessages messages;
    const IndexPicture picture = TestPicture();
    const char* seeds = std::getenv("PIXMOND_BMP_SEEDS");
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.file);
        const auto bytes = test::EncodeBmp(picture, form.layout, form.topDown);
        test::WriteBytes(dir / form.file, bytes);
        if (seeds) test::WriteBytes(std::filesystem::path(seeds) / form.file, bytes);
        CBmpDib bmp;
        ASSERT_TRUE(bmp.LoadBmp(dir.File(form.file), messages)) << LastError(messages);
        ASSERT_EQ(bmp.BitsPerPixel(), form.loadedBits);
        EXPECT_EQ(bmp.Width(), picture.width);
        EXPECT_EQ(bmp.Height(), picture.height);
        EXPECT_EQ(bmp.TopDown(), form.topDown);

        const std::uint8_t indexMask = form.layout.bits == 1 ? 1 : 15;
        std::vector<Rgb> want, got;
        std::vector<int> wantIndex, gotIndex, wantAlpha, gotAlpha;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const auto& c = picture.palette[picture.At(x, y) & indexMask];
                want.push_back(MakeRgb(c[0], c[1], c[2]));
                got.push_back(bmp.PixelRgb(x, y));
                if (form.loadedBits == 8) {
                    wantIndex.push_back(picture.At(x, y) & indexMask);
                    gotIndex.push_back(bmp.GetIndex(x, y));
                }
                if (form.loadedBits == 32) {
                    wantAlpha.push_back(form.alpha ? c[3] : 0);
                    gotAlpha.push_back(bmp.Bits()[bmp.Offset(x, y) + 3]);
                }
            }
        EXPECT_EQ(got, want);
        EXPECT_EQ(gotIndex, wantIndex);
        EXPECT_EQ(gotAlpha, wantAlpha);

        ASSERT_TRUE(bmp.SaveBmp(dir.File("saved.bmp"), true, messages));
        const auto saved = test::ReadBytes(dir / "saved.bmp");
        EXPECT_EQ(saved[14], 40);
        EXPECT_EQ(saved[30], 0);  // uncompressed
        CBmpDib again;
        ASSERT_TRUE(again.LoadBmp(dir.File("saved.bmp"), messages));
        EXPECT_EQ(again.PixelRgb(10, 4), bmp.PixelRgb(10, 4));
    }
    EXPECT_TRUE(messages.Entries().empty());
}

// Run-length streams written by hand; each stream starts at the bottom row, the rows below are top first.
TEST(BmpForms, RunLengthEscapesAtTheEdges) {
    struct Case {
        const char* what;
        int bits, width, height;
        std::vector<std::uint8_t> stream;
        std::vector<std::string> rows;  // empty: refused
    };
    const Case cases[] = {
        {"a delta past the row hides the rest of the line, one past the picture ends it", 8, 4, 3,
         {2, 7, /*delta*/ 0, 2, 5, 0, 3, 9, /*eol*/ 0, 0, 1, 6, /*delta*/ 0, 2, 0, 5, 1, 9},
         {"0000", "6000", "7700"}},
        {"an absolute run past the row is cut, not wrapped; odd runs are padded", 8, 4, 3,
         {0, 5, 1, 2, 3, 4, 5, /*pad*/ 0, 0, 0, 4, 8, 0, 1},
         {"0000", "8888", "1234"}},
        {"a coded run past the row is cut", 8, 4, 2, {6, 9, 0, 0, 1, 5, 0, 1}, {"5000", "9999"}},
        {"the end marker leaves the rest at index 0", 8, 4, 3, {2, 3, 0, 1, 4, 4}, {"0000", "0000", "3300"}},
        {"a stream without end marker that reaches the last row loads", 8, 4, 3,
         {4, 1, 0, 0, 4, 2, 0, 0, 2, 3},
         {"3300", "2222", "1111"}},
        {"a stream that stops before the last row is refused", 8, 4, 3, {4, 1, 0, 0}, {}},
        {"an absolute run longer than the stream is refused", 8, 4, 3, {0, 200, 1, 2, 3}, {}},
        {"four bits: coded runs alternate two indices, absolute runs pad their bytes", 4, 5, 3,
         {5, 0x12, 0, 0, 0, 5, 0x67, 0x89, 0xa0, /*pad*/ 0, 0, 0, 3, 0xbb, 0, 1},
         {"bbb00", "6789a", "12121"}},
        {"four bits: runs past the row are cut", 4, 3, 2, {7, 0x45, 0, 0, 0, 5, 0x12, 0x34, 0x50, 0, 0, 1},
         {"123", "454"}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteBytes(dir / "rle.bmp", test::WrapBmp({.width = c.width, .height = c.height, .bits = c.bits,
                                                         .compression = c.bits == 8 ? 1u : 2u},
                                                        c.stream));
        RecordingMessages messages;
        CBmpDib bmp;
        const bool loaded = bmp.LoadBmp(dir.File("rle.bmp"), messages);
        if (c.rows.empty()) {
            EXPECT_FALSE(loaded);
            ASSERT_EQ(messages.Errors().size(), 1u);
            EXPECT_EQ(messages.Errors().back(), "BMP RLE data ends before the last row: " + dir.File("rle.bmp"));
            continue;
        }
        ASSERT_TRUE(loaded) << LastError(messages);
        EXPECT_EQ(bmp.BitsPerPixel(), 8);
        EXPECT_EQ(test::RowsOf(bmp), Hex(c.rows));
    }
}

// Damaged and unsupported files: every count checked against the file, each refusal with its own message,
// and the bitmap keeps what it held.
TEST(BmpForms, HostileCountsAndUnsupportedFormsAreRefused) {
    test::TempDir dir;
    const std::string path = dir.File("bad.bmp");
    const IndexPicture picture = TestPicture();
    auto file = [&](BmpHeaderForm layout) { return test::EncodeBmp(picture, layout); };
    auto patched = [](std::vector<std::uint8_t> bytes, size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = std::uint8_t(value >> (8 * i));
        return bytes;
    };
    auto cut = [](std::vector<std::uint8_t> bytes, size_t size) {
        bytes.resize(size);
        return bytes;
    };
    const auto rle8 = file({.bits = 8, .compression = 1});
    const auto v5 = file({.headerSize = 124, .bits = 24});
    const auto masks = file({.bits = 16, .compression = 3, .masks = {0xf800, 0x07e0, 0x001f, 0}});
    const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
        {patched(file({.bits = 8}), 46, 200), "BMP colour table of 200 entries runs past the end of " + path},
        {patched(rle8, 34, 5000), "BMP RLE data of 5000 bytes runs past the end of " + path},
        {cut(masks, 60), "BMP colour masks run past the end of " + path},
        {cut(v5, 100), "BMP file too short for its header: " + path},
        {cut(file({.bits = 1}), 70), "BMP file too short for its image: " + path},
        {patched(v5, 10, 60), "Invalid BMP data offset 60: " + path},
        {patched(v5, 10, 100000), "Invalid BMP data offset 100000: " + path},
        {patched(patched(rle8, 18, 8000), 22, 8000), "Invalid BMP image: 8000 x 8000, 8 bits"},
        {patched(v5, 14, 64), "Invalid BMP Header size: 64 <> 40"},
        {patched(v5, 30, 4), "BMP compression JPEG is not supported: " + path},
        {patched(v5, 30, 5), "BMP compression PNG is not supported: " + path},
        {patched(v5, 30, 1), "BMP compression RLE8 is not supported with 24 bits: " + path},
        {patched(masks, 30, 2), "BMP compression RLE4 is not supported with 16 bits: " + path},
        {patched(v5, 28, 2), "Only 1, 4, 8, 16, 24 and 32 bits BMP supported"},
    };
    CBmpDib bmp;
    bmp.Create(2, 2, 24);
    ASSERT_TRUE(bmp.Allocate());
    for (const auto& [bytes, message] : cases) {
        SCOPED_TRACE(message);
        test::WriteBytes(path, bytes);
        RecordingMessages messages;
        EXPECT_FALSE(bmp.LoadBmp(path, messages));
        EXPECT_EQ(messages.Errors(), std::vector<std::string>{message});
        EXPECT_EQ(bmp.Width(), 2);
    }
}

}  // namespace
}  // namespace pixmond
