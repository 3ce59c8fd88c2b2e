#pragma once
#include <QPointer>
#include <QWidget>

#include "ui/ProgressModel.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace pixmond {

// The pop-up progress window: a text of three lines, a bar and Cancel, over the main window while a long
// operation runs in the interface thread and pumps events between its items.
class CProgressWnd : public QWidget, public ProgressModel {
    Q_OBJECT
public:
    // A missing owner means no owner (the window then centres on the screen).
    explicit CProgressWnd(QWidget* owner, const std::string& title = "Progress", bool smooth = true,
                          bool showCancel = true);
    ~CProgressWnd() override;

    // Blocks input to the other windows until this one goes.
    bool GoModal(const std::string& title = {}, bool smooth = true);
    bool IsModal() const { return modal_; }

    void SetRange(int lower, int upper, int step = 1) override;
    void Cancel() override;

    QLabel* TextLabel() const { return text_; }
    QProgressBar* Bar() const { return bar_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void OnText(const std::string& shown) override;
    void OnBar(int position) override;
    void OnShow(bool visible) override;
    void OnPump(bool cancelOnEscape) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Layout();
    QPointer<QWidget> owner_;
    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool modal_ = false;
    bool escapeCancels_ = true;
};

}  // namespace pixmond
