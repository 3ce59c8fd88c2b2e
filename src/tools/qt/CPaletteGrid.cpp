#include "tools/qt/CPaletteGrid.h"

#include <QMouseEvent>
#include <QPainter>

#include "tools/PaletteComparison.h"

namespace pixmond {

CPaletteGrid::CPaletteGrid(const CBmpDib::ColourTable& table, QWidget* parent) : QWidget(parent), table_(table) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CPaletteGrid::sizeHint() const { return {PaletteComparison::kGridSide, PaletteComparison::kGridSide}; }

void CPaletteGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    constexpr int cell = PaletteComparison::kCell;
    for (int i = 0; i < 256; ++i) {
        const size_t at = size_t(i) * 4;
        painter.fillRect(PaletteComparison::CellX(i), PaletteComparison::CellY(i), cell, cell,
                         QColor(table_[at + 2], table_[at + 1], table_[at]));
    }
}

void CPaletteGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int index = PaletteComparison::IndexAt(at.x(), at.y());
    if (event->button() == Qt::LeftButton && index >= 0) emit indexClicked(index);
    QWidget::mousePressEvent(event);
}

}  // namespace pixmond
