#pragma once
#include <cstdint>

namespace pixmond {

class CBmpDib;

// RGB as 0x00RRGGBB.
using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b) { return Rgb((r & 255) << 16 | (g & 255) << 8 | (b & 255)); }
constexpr int RedOf(Rgb c) { return int(c >> 16 & 255); }
constexpr int GreenOf(Rgb c) { return int(c >> 8 & 255); }
constexpr int BlueOf(Rgb c) { return int(c & 255); }

// A drawing surface: a window area on screen, or a bitmap in memory.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void FillRect(int x, int y, int width, int height, Rgb colour) = 0;
    // Stretches the whole bitmap into the rectangle, nearest neighbour, colours through its colour table.
    // A negative width mirrors left to right: the rectangle then runs from x + width to x.
    virtual void StretchBitmap(const CBmpDib& bitmap, int x, int y, int width, int height) = 0;
};

}  // namespace pixmond
