#include "ui/qt/QtTextDrawer.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "image/CBmpDib.h"
#include "image/FontTable.h"
#include "ui/qt/QtText.h"

namespace pixmond {

QFont QtTextDrawer::FontFor(int fontIndex) {
    const FontSpec& fontSpec = FontAt(fontIndex);
    const QString face = QString::fromLatin1(fontSpec.face);
    QFont font(face);
    if (face.contains(QLatin1String("Console")) || face == QLatin1String("Terminal")) {
        font.setStyleHint(QFont::TypeWriter);
    } else if (face.contains(QLatin1String("Serif")) && !face.contains(QLatin1String("Sans"))) {
        font.setStyleHint(QFont::Serif);
    } else if (face.contains(QLatin1String("Mincho"))) {
        font.setStyleHint(QFont::Serif);
    } else {
        font.setStyleHint(QFont::SansSerif);
    }
    // Pixel sizes as on a 96-dpi screen, so a picture has the same layout whatever the display.
    font.setPixelSize(std::max(6, int(std::lround(fontSpec.size / 10.0 * 96.0 / 72.0))));
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    return font;
}

int QtTextDrawer::TextHeight(int fontIndex) const { return QFontMetrics(FontFor(fontIndex)).height(); }

void QtTextDrawer::DrawCentred(CBmpDib& target, int x, int y, int width, int height, const std::string& text,
                               int fontIndex, Rgb colour) {
    if (width <= 0 || height <= 0 || text.empty() || !target.Bits()) return;
    if (target.BitsPerPixel() != 24 && target.BitsPerPixel() != 32) return;
    QImage mask(width, height, QImage::Format_ARGB32_Premultiplied);
    if (mask.isNull()) return;
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setFont(FontFor(fontIndex));
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter | Qt::TextSingleLine, ToQString(text));
    }
    for (int row = 0; row < height; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= target.Height()) continue;
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(row));
        for (int col = 0; col < width; ++col) {
            const int tx = x + col;
            if (tx < 0 || tx >= target.Width() || qAlpha(line[col]) < 128) continue;
            target.SetColour(tx, ty, colour);
        }
    }
}

}  // namespace pixmond
