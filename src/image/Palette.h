#pragma once
#include <array>
#include <cstdint>

#include "image/CBmpDib.h"

namespace pixmond {

// 256 red, green, blue triples: the form the conversions take their target palette in.
using RgbTriples = std::array<std::uint8_t, 256 * 3>;

// Index of the game palette that SHP files use for pixels not drawn, colour (248, 228, 216).
constexpr std::uint8_t kTransparentIndex = 159;

// The game's built-in palette ("Default Orvel palette").
const RgbTriples& DefaultPalette();
// The same as a colour table (blue, green, red, 0).
const CBmpDib::ColourTable& DefaultColourTable();
CBmpDib::ColourTable ColourTableOf(const RgbTriples& triples);
RgbTriples TriplesOf(const CBmpDib::ColourTable& table);

// The closest entry of 0..254 by the sum of absolute differences, the lowest index on a tie;
// the transparent colour itself always gives 159. A null palette means the default one.
std::uint8_t NearestPaletteIndex(int red, int green, int blue, const RgbTriples* palette = nullptr);

// Turns a 16-, 24- or 32-bit picture into an 8-bit top-down one over the palette (default when null).
// An 8-bit picture is mapped through its own colour table. False when there is no picture or no memory.
bool ConvertToPalette(CBmpDib& image, const RgbTriples* palette = nullptr);

// Replaces every index of an 8-bit picture by the default index nearest to its colour and installs the
// default palette. False when there is no picture or it is not 8-bit.
bool RemapToDefaultPalette(CBmpDib& image);

}  // namespace pixmond
