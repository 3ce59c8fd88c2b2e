#pragma once
#include <QImage>
#include <QPainter>

#include "image/Canvas.h"

namespace pixmond {

// Draws on a window (or any paint device) through a painter. Bitmaps are stretched nearest-neighbour: icons are
// pixel art, and on a high-density screen every icon pixel becomes a sharp block of device pixels.
class QtCanvas : public Canvas {
public:
    QtCanvas(QPainter& painter, int width, int height);
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void FillRect(int x, int y, int width, int height, Rgb colour) override;
    void StretchBitmap(const CBmpDib& bitmap, int x, int y, int width, int height) override;

    // The bitmap as an image with its colours, top row first; null for a bitmap without pixels.
    static QImage ToImage(const CBmpDib& bitmap);

private:
    QPainter& painter_;
    int width_, height_;
};

}  // namespace pixmond
