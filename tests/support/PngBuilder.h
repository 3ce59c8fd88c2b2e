#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <png.h>

namespace pixmond::test {

// A PNG written with libpng directly, in any colour type and bit depth, with the optional chunks the
// reader reacts to.
struct PngSpec {
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    // One value per channel per pixel, rows top first; palette pictures give indices.
    std::vector<std::uint16_t> samples;
    std::vector<std::array<std::uint8_t, 3>> palette;  // red, green, blue
    std::vector<std::uint8_t> paletteAlpha;            // tRNS of a palette picture
    std::optional<png_color_16> transparent;           // tRNS of a grey or RGB picture
    std::optional<png_color_16> background;            // bKGD
    std::optional<double> gamma;                       // gAMA
};

std::vector<std::uint8_t> EncodePng(const PngSpec& picture);
int ChannelsOf(int colourType);

// Reads the colour type of a PNG's header (-1 when it is not a PNG).
int PngColourType(const std::vector<std::uint8_t>& bytes);

// A chunk with its length and CRC, for hand-made files.
std::vector<std::uint8_t> PngChunk(const char type[4], const std::vector<std::uint8_t>& data);

}  // namespace pixmond::test
