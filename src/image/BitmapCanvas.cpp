#include "image/BitmapCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace pixmond {

BitmapCanvas::BitmapCanvas(int width, int height, Rgb background) {
    surface_.Create(std::max(width, 0), std::max(height, 0), 24, true);
    surface_.Allocate();
    FillRect(0, 0, width, height, background);
}

void BitmapCanvas::FillRect(int x, int y, int width, int height, Rgb colour) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + width, Width()), y1 = std::min(y + height, Height());
    for (int row = y0; row < y1; ++row)
        for (int col = x0; col < x1; ++col) surface_.SetColour(col, row, colour);
}

void BitmapCanvas::StretchBitmap(const CBmpDib& bitmap, int x, int y, int width, int height) {
    if (width == 0 || height == 0 || bitmap.Width() <= 0 || bitmap.Height() <= 0 || !bitmap.Bits()) return;
    const bool mirrored = width < 0;
    const int left = mirrored ? x + width : x;
    const int w = std::abs(width);
    const int top = height < 0 ? y + height : y;
    const int h = std::abs(height);
    const int x0 = std::max(left, 0), y0 = std::max(top, 0);
    const int x1 = std::min(left + w, Width()), y1 = std::min(top + h, Height());
    for (int ty = y0; ty < y1; ++ty) {
        const int sy = int(std::int64_t(ty - top) * bitmap.Height() / h);
        for (int tx = x0; tx < x1; ++tx) {
            int sx = int(std::int64_t(tx - left) * bitmap.Width() / w);
            if (mirrored) sx = bitmap.Width() - 1 - sx;
            surface_.SetColour(tx, ty, bitmap.PixelRgb(sx, sy));
        }
    }
}

}  // namespace pixmond
