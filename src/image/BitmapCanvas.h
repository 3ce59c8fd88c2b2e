#pragma once
#include "image/CBmpDib.h"
#include "image/Canvas.h"

namespace pixmond {

// The software canvas: draws into a 24-bit bitmap, so views and tests draw without a display.
class BitmapCanvas : public Canvas {
public:
    // A new 24-bit top-down surface of the given size, filled with the colour.
    BitmapCanvas(int width, int height, Rgb background = MakeRgb(0, 0, 0));
    int Width() const override { return surface_.Width(); }
    int Height() const override { return surface_.Height(); }
    void FillRect(int x, int y, int width, int height, Rgb colour) override;
    void StretchBitmap(const CBmpDib& bitmap, int x, int y, int width, int height) override;

    const CBmpDib& Surface() const { return surface_; }
    CBmpDib& Surface() { return surface_; }
    Rgb Pixel(int x, int y) const { return surface_.PixelRgb(x, y); }

private:
    CBmpDib surface_;
};

}  // namespace pixmond
