#include "ui/qt/QtCanvas.h"

#include <cstring>

#include "image/CBmpDib.h"

namespace pixmond {

QtCanvas::QtCanvas(QPainter& painter, int width, int height) : painter_(painter), width_(width), height_(height) {
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

void QtCanvas::FillRect(int x, int y, int width, int height, Rgb colour) {
    painter_.fillRect(x, y, width, height, QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
}

QImage QtCanvas::ToImage(const CBmpDib& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    if (w <= 0 || h <= 0 || !bitmap.Bits()) return {};
    QImage::Format format = QImage::Format_Invalid;
    switch (bitmap.BitsPerPixel()) {
        case 8: format = QImage::Format_Indexed8; break;
        case 24: format = QImage::Format_BGR888; break;
        case 32: format = QImage::Format_RGB32; break;
        default: break;
    }
    if (format == QImage::Format_Invalid) {
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.setPixel(x, y, 0xFF000000u | bitmap.PixelRgb(x, y));
        return image;
    }
    QImage image(w, h, format);
    if (image.isNull()) return {};
    const size_t rowBytes = size_t(w) * size_t(bitmap.BitsPerPixel() / 8);
    for (int y = 0; y < h; ++y) {
        const std::int64_t at = bitmap.Offset(0, y);
        if (at < 0 || std::uint64_t(at) + rowBytes > bitmap.ImageSize()) return {};
        std::memcpy(image.scanLine(y), bitmap.Bits() + at, rowBytes);
    }
    if (format == QImage::Format_Indexed8) {
        QList<QRgb> table(256);
        const auto& colours = bitmap.Colours();
        for (int i = 0; i < 256; ++i) table[i] = qRgb(colours[size_t(i) * 4 + 2], colours[size_t(i) * 4 + 1], colours[size_t(i) * 4]);
        image.setColorTable(table);
    }
    return image;
}

void QtCanvas::StretchBitmap(const CBmpDib& bitmap, int x, int y, int width, int height) {
    if (width == 0 || height == 0) return;
    const QImage image = ToImage(bitmap);
    if (image.isNull()) return;
    const bool mirrored = width < 0;
    const QRect target(mirrored ? x + width : x, height < 0 ? y + height : y, std::abs(width), std::abs(height));
    painter_.save();
    if (mirrored) {
        // Flip about the target's vertical centre line.
        painter_.translate(2 * target.x() + target.width(), 0);
        painter_.scale(-1, 1);
    }
    painter_.drawImage(target, image);
    painter_.restore();
}

}  // namespace pixmond
