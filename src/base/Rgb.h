#pragma once
#include <cstdint>

namespace pixmond {

// RGB as 0x00RRGGBB.
using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b) { return Rgb((r & 255) << 16 | (g & 255) << 8 | (b & 255)); }
constexpr int RedOf(Rgb c) { return int(c >> 16 & 255); }
constexpr int GreenOf(Rgb c) { return int(c >> 8 & 255); }
constexpr int BlueOf(Rgb c) { return int(c & 255); }

}  // namespace pixmond
