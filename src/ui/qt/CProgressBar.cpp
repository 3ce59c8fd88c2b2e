#include "ui/qt/CProgressBar.h"

#include <QFontMetrics>

#include "ui/qt/QtText.h"

namespace pixmond {

CProgressBar::CProgressBar(QStatusBar* statusBar, const std::string& label, int size, int maximum, bool smooth)
    : QProgressBar(statusBar), statusBar_(statusBar), label_(label), size_(size) {
    if (statusBar_) savedMessage_ = statusBar_->currentMessage();
    setTextVisible(!smooth);
    ProgressModel::SetRange(0, maximum, 1);
    QProgressBar::setRange(0, std::max(maximum, 0));
    setValue(0);
    Resize();
    show();
}

CProgressBar::~CProgressBar() {
    hide();
    if (statusBar_) statusBar_->showMessage(savedMessage_.isEmpty() ? QStringLiteral("Ready") : savedMessage_);
}

QRect CProgressBar::BarRect(const QRect& pane, int labelWidth, int blankWidth, int size) {
    const int reserved = labelWidth > 0 ? labelWidth + 4 * blankWidth : 0;
    const int rest = std::max(pane.width() - reserved, 0);
    const int width = rest * std::clamp(size, 0, 100) / 100;
    const int inset = pane.height() / 10;
    return QRect(pane.left() + pane.width() - width, pane.top() + inset, width, pane.height() - 2 * inset);
}

void CProgressBar::Resize() {
    if (!statusBar_) return;
    statusBar_->showMessage(ToQString(label_));
    const QFontMetrics metrics(statusBar_->font());
    const QString label = ToQString(label_);
    const QRect pane = statusBar_->rect();
    const QRect bar = BarRect(pane, label.isEmpty() ? 0 : metrics.horizontalAdvance(label),
                              metrics.horizontalAdvance(QLatin1Char(' ')), size_);
    if (bar != geometry()) setGeometry(bar);
}

void CProgressBar::SetRange(int lower, int upper, int step) {
    ProgressModel::SetRange(lower, upper, step);
    QProgressBar::setRange(lower, std::max(lower, upper));
}

void CProgressBar::SetText(const std::string& text) {
    label_ = text;
    ProgressModel::SetText(text);
    Resize();
}

void CProgressBar::OnBar(int position) { setValue(std::clamp(position, minimum(), maximum())); }

void CProgressBar::OnShow(bool visible) { setVisible(visible); }

}  // namespace pixmond
