#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "image/Canvas.h"

namespace pixmond::test {

// Icon files whose icons are easy to tell apart in a picture: icon n (from 1) of a solid file is filled with
// palette index n (SHP) or with SolidColour(n) (S16). Built with this program's own encoders, and used by the
// benchmarks as well, so they depend on the core library only.

// Sizes per icon, 1-based number in, width and height out.
using IconSizeOf = std::function<void(int n, int& width, int& height)>;
IconSizeOf SameSize(int width, int height);

std::vector<std::uint8_t> SolidShp(int count, const IconSizeOf& size);
std::vector<std::uint8_t> SolidS16(int count, const IconSizeOf& size);
// A 5-6-5-exact colour for icon n, different for n = 1..64.
Rgb SolidColour(int n);

// An SHP icon with the given rows of indices (top row first), each row a string of index bytes.
std::vector<std::uint8_t> ShpOfRows(const std::vector<std::vector<std::vector<std::uint8_t>>>& icons);

// An RGB PNG of width x height; pixel colour from the function (x, y from the top-left).
std::vector<std::uint8_t> RgbPng(int width, int height, const std::function<Rgb(int x, int y)>& colour);
// A 3 x 3 sheet whose cell c (0..8, counted from the top-left, left to right) is SolidColour(c + 1).
std::vector<std::uint8_t> SheetPng(int width, int height);

}  // namespace pixmond::test
