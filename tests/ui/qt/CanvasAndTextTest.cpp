#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "image/CBmpDib.h"
#include "image/FontTable.h"
#include "ui/qt/QtCanvas.h"
#include "ui/qt/QtPickers.h"
#include "ui/qt/QtTextDrawer.h"

namespace pixmond {
namespace {

// A 2x2 8-bit picture: red, green on top; blue, white below.
CBmpDib Checker() {
    CBmpDib bitmap;
    bitmap.Create(2, 2, 8);
    bitmap.Allocate();
    auto& table = bitmap.Colours();
    const Rgb colours[4] = {MakeRgb(255, 0, 0), MakeRgb(0, 255, 0), MakeRgb(0, 0, 255), MakeRgb(255, 255, 255)};
    for (int i = 0; i < 4; ++i) {
        table[size_t(i) * 4] = std::uint8_t(BlueOf(colours[i]));
        table[size_t(i) * 4 + 1] = std::uint8_t(GreenOf(colours[i]));
        table[size_t(i) * 4 + 2] = std::uint8_t(RedOf(colours[i]));
    }
    bitmap.SetIndex(0, 0, 0);
    bitmap.SetIndex(1, 0, 1);
    bitmap.SetIndex(0, 1, 2);
    bitmap.SetIndex(1, 1, 3);
    return bitmap;
}

QImage Draw(const CBmpDib& bitmap, int width, qreal ratio) {
    QImage target(int(20 * ratio), int(20 * ratio), QImage::Format_RGB32);
    target.setDevicePixelRatio(ratio);
    target.fill(Qt::black);
    QPainter painter(&target);
    QtCanvas canvas(painter, 20, 20);
    canvas.StretchBitmap(bitmap, width < 0 ? 12 : 2, 2, width, 10);
    return target;
}

TEST(QtCanvas, StretchesWithoutSmoothingAndMirrorsOnNegativeWidth) {
    const CBmpDib bitmap = Checker();
    const QImage plain = Draw(bitmap, 10, 1);
    EXPECT_EQ(plain.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(plain.pixel(6, 6), qRgb(255, 0, 0));
    EXPECT_EQ(plain.pixel(7, 6), qRgb(0, 255, 0));
    EXPECT_EQ(plain.pixel(6, 7), qRgb(0, 0, 255));
    EXPECT_EQ(plain.pixel(11, 11), qRgb(255, 255, 255));
    EXPECT_EQ(plain.pixel(12, 12), qRgb(0, 0, 0));

    const QImage mirrored = Draw(bitmap, -10, 1);
    EXPECT_EQ(mirrored.pixel(2, 2), qRgb(0, 255, 0));
    EXPECT_EQ(mirrored.pixel(11, 2), qRgb(255, 0, 0));
    EXPECT_EQ(mirrored.pixel(2, 11), qRgb(255, 255, 255));

    // On a screen of twice the density every device pixel is still one of the four colours.
    const QImage dense = Draw(bitmap, 10, 2);
    for (int y = 4; y < 24; ++y)
        for (int x = 4; x < 24; ++x) {
            const QRgb p = dense.pixel(x, y) & 0xFFFFFF;
            EXPECT_TRUE(p == 0xFF0000 || p == 0x00FF00 || p == 0x0000FF || p == 0xFFFFFF) << x << "," << y;
        }
    EXPECT_EQ(dense.pixel(13, 13), qRgb(255, 0, 0));
    EXPECT_EQ(dense.pixel(14, 13), qRgb(0, 255, 0));
}

TEST(QtCanvas, ImagesKeepEveryDepthTheRightWayUp) {
    CBmpDib colour;
    colour.Create(3, 2, 24);
    colour.Allocate();
    colour.Fill(0);
    colour.SetColour(0, 0, MakeRgb(10, 20, 30));
    colour.SetColour(2, 1, MakeRgb(40, 50, 60));
    const QImage image = QtCanvas::ToImage(colour);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x0A141Eu);
    EXPECT_EQ(image.pixel(2, 1) & 0xFFFFFF, 0x28323Cu);
    EXPECT_EQ(QtCanvas::ToImage(CBmpDib()).isNull(), true);
}

TEST(QtTextDrawer, DrawsInsideTheBoxOnlyAndEveryFontRowHasAHeight) {
    CBmpDib target;
    target.Create(90, 16, 24);
    target.Allocate();
    target.Fill(0xFF);
    QtTextDrawer text;
    text.DrawCentred(target, 10, 2, 60, 12, "TIGER1", kDefaultFontRow, MakeRgb(0, 0, 0));
    int inked = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 90; ++x) {
            if (target.PixelRgb(x, y) == MakeRgb(255, 255, 255)) continue;
            ++inked;
            EXPECT_TRUE(x >= 10 && x < 70 && y >= 2 && y < 14) << x << "," << y;
            EXPECT_EQ(target.PixelRgb(x, y), MakeRgb(0, 0, 0));
        }
    EXPECT_GT(inked, 10);
    // Text partly outside the bitmap is clipped, not written past it.
    text.DrawCentred(target, 70, 8, 60, 20, "WWWWWWWW", 2, MakeRgb(0, 0, 0));
    for (int row = 0; row < kFontCount; ++row) EXPECT_GT(text.TextHeight(row), 4) << row;
}

TEST(QtPickers, WindowsFiltersBecomeFileDialogFilters) {
    EXPECT_EQ(QtPickers::QtFilters("Pictures (*.bmp;*.png)|*.bmp;*.png|All files (*.*)|*.*|"),
              (QStringList{QStringLiteral("Pictures (*.bmp *.png)"), QStringLiteral("All files (*)")}));
    EXPECT_EQ(QtPickers::QtFilters(""), (QStringList{QStringLiteral("All files (*)")}));
    EXPECT_EQ(QtPickers::QtFilters("Palettes|*.pal|"), (QStringList{QStringLiteral("Palettes (*.pal)")}));
}

}  // namespace
}  // namespace pixmond
