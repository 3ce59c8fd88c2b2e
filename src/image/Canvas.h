#pragma once
#include "base/Rgb.h"

namespace pixmond {

class CBmpDib;

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
