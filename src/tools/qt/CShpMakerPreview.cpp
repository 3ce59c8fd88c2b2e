#include "tools/qt/CShpMakerPreview.h"

#include <QPainter>

#include "image/CBmpDib.h"
#include "ui/qt/QtCanvas.h"

namespace pixmond {

CShpMakerPreview::CShpMakerPreview(const CBmpDib& bitmap, QWidget* parent) : QFrame(parent), bitmap_(bitmap) {
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(160, 120);
}

void CShpMakerPreview::SetShown(bool shown) {
    shown_ = shown;
    update();
}

void CShpMakerPreview::SetZoom(bool zoom) {
    zoom_ = zoom;
    update();
}

void CShpMakerPreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!shown_) return;
    const QRect area = PreviewRect();
    QPainter painter(this);
    painter.setClipRect(area);
    painter.fillRect(area, QColor(192, 192, 192));
    if (!bitmap_.Bits()) return;
    QtCanvas canvas(painter, width(), height());
    if (zoom_) {
        bitmap_.Draw(canvas, area.x(), area.y(), area.width(), area.height());
    } else {
        bitmap_.Draw(canvas, area.x(), area.y(), -1, -1);
    }
}

}  // namespace pixmond
