#include "ui/qt/ToolTile.h"

#include <QAction>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPixmap>

namespace pixmond {

namespace {

// The tile at one size; the label shrinks until it fits inside the margin.
QPixmap DrawTile(const QString& label, const QColor& colour, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF box(0.5, 0.5, size - 1.0, size - 1.0);
    painter.setPen(QPen(colour.darker(140), 1.0));
    painter.setBrush(colour);
    painter.drawRoundedRect(box, size / 5.0, size / 5.0);
    QFont font;
    font.setBold(true);
    const double room = size - 2.0;
    double pixels = size * 0.62;
    for (; pixels > 4.0; pixels -= 0.5) {
        font.setPixelSize(int(pixels));
        if (QFontMetricsF(font).horizontalAdvance(label) <= room) break;
    }
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, label);
    return pixmap;
}

}  // namespace

QIcon ToolTile(const QString& label, const QColor& colour) {
    QIcon icon;
    for (int size : {16, 24, 32}) icon.addPixmap(DrawTile(label, colour, size));
    return icon;
}

void SetTile(QAction* action, const QString& label, const QColor& colour) {
    if (!action) return;
    action->setIcon(ToolTile(label, colour));
    // The menus keep their plain text.
    action->setIconVisibleInMenu(false);
}

}  // namespace pixmond
