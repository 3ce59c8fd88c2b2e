#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pixmond::test {

// The headers of a hand-made BMP file: any header form, depth and compression, with bit-field masks in
// the header (52 bytes and more) or after it (40 bytes).
struct BmpHeaderForm {
    int headerSize = 40;  // 12, 40, 52, 56, 108 or 124
    int width = 0;
    int height = 0;  // negative for top-down rows
    int bits = 8;
    std::uint32_t compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields, 6 bit fields with alpha
    std::array<std::uint32_t, 4> masks{};               // red, green, blue, alpha
    std::vector<std::array<std::uint8_t, 3>> colours{};  // colour table, red, green, blue
};

// Headers, masks and colour table followed by the given pixel bytes (rows or a run-length stream).
std::vector<std::uint8_t> WrapBmp(const BmpHeaderForm& layout, const std::vector<std::uint8_t>& pixelBytes);

// A picture of palette indices with its palette; alpha is used by forms whose masks carry it.
struct IndexPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;                    // rows top first
    std::vector<std::array<std::uint8_t, 4>> palette;     // red, green, blue, alpha
    static IndexPicture FromRows(const std::vector<std::string>& rows);  // one hex digit per pixel
    std::uint8_t At(int x, int y) const { return indices[size_t(y * width + x)]; }
};

// The picture in the form the layout gives (its width, height and colours are taken from the picture):
// indices for 1 to 8 bits, raw or run-length coded; colours packed into the masks for 16 and 32 bits
// (5-5-5 when a 16-bit picture has none); blue, green, red for 24 bits.
std::vector<std::uint8_t> EncodeBmp(const IndexPicture& picture, BmpHeaderForm layout, bool topDown = false);

}  // namespace pixmond::test
