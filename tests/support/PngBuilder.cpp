#include "support/PngBuilder.h"

#include <zlib.h>

#include <cstring>
#include <stdexcept>

namespace pixmond::test {

namespace {
void Append(png_structp png, png_bytep data, size_t size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}
void NoFlush(png_structp) {}
}  // namespace

int ChannelsOf(int colourType) {
    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        case PNG_COLOR_TYPE_RGB: return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
        default: return 1;
    }
}

std::vector<std::uint8_t> EncodePng(const PngSpec& picture) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const int channels = ChannelsOf(picture.colourType);
    const size_t samplesPerRow = size_t(picture.width) * channels;
    // Packed depths are given one sample per byte and packed by libpng; 16 bits go big-endian.
    const size_t rowBytes = samplesPerRow * (picture.bitDepth == 16 ? 2 : 1);
    std::vector<std::uint8_t> row(rowBytes);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the test picture");
    }
    png_set_write_fn(png, &out, Append, NoFlush);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty()) {
        std::vector<png_color> colours;
        for (auto& c : picture.palette) colours.push_back({c[0], c[1], c[2]});
        png_set_PLTE(png, info, colours.data(), int(colours.size()));
    }
    if (!picture.paletteAlpha.empty())
        png_set_tRNS(png, info, picture.paletteAlpha.data(), int(picture.paletteAlpha.size()), nullptr);
    if (picture.transparent) {
        png_color_16 t = *picture.transparent;
        png_set_tRNS(png, info, nullptr, 0, &t);
    }
    if (picture.background) {
        png_color_16 b = *picture.background;
        png_set_bKGD(png, info, &b);
    }
    if (picture.gamma) png_set_gAMA(png, info, *picture.gamma);
    png_write_info(png, info);
    if (picture.bitDepth < 8) png_set_packing(png);
    for (int y = 0; y < picture.height; ++y) {
        for (size_t i = 0; i < samplesPerRow; ++i) {
            const std::uint16_t v = picture.samples.at(size_t(y) * samplesPerRow + i);
            if (picture.bitDepth == 16) {
                row[i * 2] = std::uint8_t(v >> 8);
                row[i * 2 + 1] = std::uint8_t(v);
            } else {
                row[i] = std::uint8_t(v);
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

int PngColourType(const std::vector<std::uint8_t>& bytes) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 26 || std::memcmp(bytes.data(), signature, 8) != 0) return -1;
    return bytes[25];
}

std::vector<std::uint8_t> PngChunk(const char type[4], const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out;
    const std::uint32_t size = std::uint32_t(data.size());
    for (int s = 24; s >= 0; s -= 8) out.push_back(std::uint8_t(size >> s));
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const std::uint32_t crc = std::uint32_t(crc32(0, out.data() + 4, uInt(4 + data.size())));
    for (int s = 24; s >= 0; s -= 8) out.push_back(std::uint8_t(crc >> s));
    return out;
}

}  // namespace pixmond::test
