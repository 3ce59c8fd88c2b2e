#include "ui/qt/CProgressWnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "ui/qt/QtText.h"

namespace pixmond {

namespace {
constexpr int kWidth = 390;
constexpr int kMargin = 10;
constexpr int kTextLines = 3;
}  // namespace

CProgressWnd::CProgressWnd(QWidget* owner, const std::string& title, bool smooth, bool showCancel)
    : QWidget(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      owner_(owner) {
    setWindowTitle(ToQString(title.empty() ? std::string("Progress") : title));
    setCursor(Qt::BusyCursor);
    text_ = new QLabel(this);
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(false);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setTextVisible(!smooth);
    if (showCancel) {
        cancel_ = new QPushButton(QStringLiteral(" Cancel "), this);
        cancel_->setCursor(Qt::ArrowCursor);
        connect(cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
    }
    Layout();
}

CProgressWnd::~CProgressWnd() {
    // Modality ends with the window; the owner takes input again.
    if (modal_ && owner_) owner_->activateWindow();
}

void CProgressWnd::Layout() {
    const QFontMetrics metrics(font());
    const int textHeight = metrics.lineSpacing() * kTextLines;
    int buttonWidth = 0, buttonHeight = 0;
    if (cancel_) {
        buttonWidth = metrics.horizontalAdvance(cancel_->text() + QStringLiteral("  ")) + 2 * kMargin;
        buttonHeight = std::max(cancel_->sizeHint().height(), metrics.height() + kMargin);
    }
    const int inner = kWidth - 2 * kMargin - (cancel_ ? buttonWidth + kMargin : 0);
    text_->setGeometry(kMargin, kMargin, inner, textHeight);
    const int barHeight = std::max(metrics.height(), 16);
    bar_->setGeometry(kMargin, kMargin + textHeight + kMargin / 2, inner, barHeight);
    if (cancel_) cancel_->setGeometry(kWidth - kMargin - buttonWidth, kMargin, buttonWidth, buttonHeight);
    setFixedSize(kWidth, bar_->geometry().bottom() + 1 + kMargin);
}

bool CProgressWnd::GoModal(const std::string& title, bool) {
    if (!title.empty()) setWindowTitle(ToQString(title));
    setWindowModality(Qt::ApplicationModal);
    modal_ = true;
    setEnabled(true);
    if (owner_) {
        const QRect frame = owner_->window()->frameGeometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    return true;
}

void CProgressWnd::SetRange(int lower, int upper, int step) {
    ProgressModel::SetRange(lower, upper, step);
    bar_->setRange(lower, upper > lower ? upper : lower);
}

void CProgressWnd::OnText(const std::string& shown) { text_->setText(ToQString(shown)); }

void CProgressWnd::OnBar(int position) {
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void CProgressWnd::OnShow(bool visible) {
    if (visible == isVisible()) return;
    if (visible) {
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
    } else {
        hide();
    }
}

void CProgressWnd::OnPump(bool cancelOnEscape) {
    if (modal_ && !isActiveWindow()) activateWindow();
    escapeCancels_ = cancelOnEscape;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    escapeCancels_ = true;
}

void CProgressWnd::Cancel() {
    ProgressModel::Cancel();
    if (owner_) {
        owner_->window()->raise();
        owner_->window()->activateWindow();
    }
}

void CProgressWnd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (escapeCancels_) Cancel();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CProgressWnd::closeEvent(QCloseEvent* event) {
    // Closing the window is the user's way of saying stop.
    if (!Cancelled()) ProgressModel::Cancel();
    event->accept();
}

}  // namespace pixmond
