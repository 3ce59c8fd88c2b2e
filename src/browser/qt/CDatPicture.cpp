#include "browser/qt/CDatPicture.h"

#include <QPainter>

#include "browser/CDatViewModel.h"
#include "ui/qt/QtCanvas.h"

namespace pixmond {

CDatPicture::CDatPicture(CDatViewModel& view, QWidget* parent) : QFrame(parent), view_(view) {
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(240, 200);
}

void CDatPicture::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect inner = rect().adjusted(4, 4, -4, -4);
    view_.SetDrawArea({inner.left(), inner.top(), inner.left() + inner.width(), inner.top() + inner.height()});
    QPainter painter(this);
    painter.setClipRect(inner);
    QtCanvas canvas(painter, width(), height());
    view_.Draw(canvas);
    // Why nothing is drawn, written on the empty picture.
    if (!view_.Note().empty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(inner.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromStdString(view_.Note()));
    }
    emit Drawn();
}

}  // namespace pixmond
