#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "image/Canvas.h"

namespace pixmond::test {

// Unit icon files as the game ships them: nine icons to a file. Made with the program's own writers only,
// so benchmarks can use them too.
struct IconSize {
    int width;
    int height;
    bool operator==(const IconSize&) const = default;
};

// An SHP whose icon n is a width x height block of `index` with its top-left pixel transparent (159).
std::vector<std::uint8_t> UnitShp(const std::vector<IconSize>& sizes, std::uint8_t index);
std::vector<std::uint8_t> UnitShp(int width, int height, std::uint8_t index, int icons = 9);
// An S16 whose icons are solid blocks of the colour.
std::vector<std::uint8_t> UnitS16(const std::vector<IconSize>& sizes, Rgb colour);
std::vector<std::uint8_t> UnitS16(int width, int height, Rgb colour, int icons = 9);
// A PNG sheet of 3 x 3 cells of cellWidth x cellHeight, coloured in reading order (top-left cell first).
std::vector<std::uint8_t> SheetPng(int cellWidth, int cellHeight, const std::array<Rgb, 9>& colours);
// A PNG of one colour.
std::vector<std::uint8_t> PlainPng(int width, int height, Rgb colour);

}  // namespace pixmond::test
