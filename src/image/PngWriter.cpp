#include <png.h>

#include <new>
#include <vector>

#include "image/CBmpDib.h"
#include "image/ImageWriter.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/SafeFile.h"

namespace pixmond {

namespace {

void WriteData(png_structp png, png_bytep data, size_t count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    bool full = false;
    try {
        out->insert(out->end(), data, data + count);
    } catch (const std::bad_alloc&) {
        full = true;  // no exception may pass through libpng
    }
    if (full) png_error(png, "Out of memory");
}
void FlushData(png_structp) {}
[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

struct Encoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<std::uint8_t> row;
    std::vector<png_color> palette;
    std::vector<png_byte> alpha;  // the transparency chunk of a palette picture; empty: every entry opaque

    Encoder() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (png) info = png_create_info_struct(png);
    }
    ~Encoder() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

// Fills the encoder's row buffer with picture row y: indices for 8 bits, red-green-blue otherwise.
void FillRow(const CBmpDib& bitmap, int y, std::vector<std::uint8_t>& row) {
    const int width = bitmap.Width();
    if (bitmap.BitsPerPixel() == 8) {
        for (int x = 0; x < width; ++x) row[size_t(x)] = bitmap.GetIndex(x, y);
        return;
    }
    for (int x = 0; x < width; ++x) {
        const Rgb c = bitmap.PixelRgb(x, y);
        row[size_t(x) * 3] = std::uint8_t(RedOf(c));
        row[size_t(x) * 3 + 1] = std::uint8_t(GreenOf(c));
        row[size_t(x) * 3 + 2] = std::uint8_t(BlueOf(c));
    }
}

// Only memory reached through e and out changes after setjmp.
bool Encode(Encoder& e, const CBmpDib& bitmap, std::vector<std::uint8_t>& out) {
    if (setjmp(png_jmpbuf(e.png))) return false;
    png_set_write_fn(e.png, &out, WriteData, FlushData);
    const bool indexed = bitmap.BitsPerPixel() == 8;
    png_set_IHDR(e.png, e.info, png_uint_32(bitmap.Width()), png_uint_32(bitmap.Height()), 8,
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (indexed) png_set_PLTE(e.png, e.info, e.palette.data(), int(e.palette.size()));
    if (indexed && !e.alpha.empty()) png_set_tRNS(e.png, e.info, e.alpha.data(), int(e.alpha.size()), nullptr);
    png_write_info(e.png, e.info);
    for (int y = 0; y < bitmap.Height(); ++y) {
        FillRow(bitmap, y, e.row);
        png_write_row(e.png, e.row.data());
    }
    png_write_end(e.png, e.info);
    return true;
}

}  // namespace

bool EncodePng(const CBmpDib& bitmap, std::vector<std::uint8_t>& out, int transparentIndex) {
    out.clear();
    if (!bitmap.Bits() || bitmap.Width() < 1 || bitmap.Height() < 1) return false;
    Encoder encoder;
    if (!encoder.png || !encoder.info) return false;
    const bool indexed = bitmap.BitsPerPixel() == 8;
    encoder.row.resize(size_t(bitmap.Width()) * (indexed ? 1 : 3));
    if (indexed) {
        // Every index may occur in the pixels, so the palette always holds all 256 entries.
        const auto& table = bitmap.Colours();
        for (int i = 0; i < 256; ++i)
            encoder.palette.push_back({table[size_t(i) * 4 + 2], table[size_t(i) * 4 + 1], table[size_t(i) * 4]});
        // Entries past the end of the chunk are opaque, so it ends at the transparent one.
        if (transparentIndex >= 0 && transparentIndex < 256) {
            encoder.alpha.assign(size_t(transparentIndex) + 1, 255);
            encoder.alpha.back() = 0;
        }
    }
    return Encode(encoder, bitmap, out);
}

bool WritePng(const CBmpDib& bitmap, const std::string& path, Messages& messages, int transparentIndex) {
    if (!bitmap.Bits() || bitmap.Width() < 1 || bitmap.Height() < 1) {
        messages.Error(Format("Cannot save %s: the picture is empty", path.c_str()));
        return false;
    }
    std::vector<std::uint8_t> bytes;
    SafeFile file(path);
    if (!EncodePng(bitmap, bytes, transparentIndex) || !file.IsOpen() || !file.Write(bytes) || !file.Commit()) {
        messages.Error(Format("Error creating %s", path.c_str()));
        return false;
    }
    return true;
}

}  // namespace pixmond
