#pragma once
#include <QWidget>

#include "image/CBmpDib.h"

namespace pixmond {

// One palette as 16 x 16 cells of 10 pixels, index 0 at the top left, row by row.
class CPaletteGrid : public QWidget {
    Q_OBJECT
public:
    CPaletteGrid(const CBmpDib::ColourTable& table, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // A click on a cell, with its palette index.
    void indexClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const CBmpDib::ColourTable& table_;
};

}  // namespace pixmond
