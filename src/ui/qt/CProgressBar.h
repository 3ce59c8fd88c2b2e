#pragma once
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>

#include "ui/ProgressModel.h"

namespace pixmond {

// A bar with a label in the main window's status bar, for loading an archive.
class CProgressBar : public QProgressBar, public ProgressModel {
    Q_OBJECT
public:
    // size: the percentage of the width beside the label that the bar takes.
    CProgressBar(QStatusBar* statusBar, const std::string& label, int size, int maximum, bool smooth = true);
    ~CProgressBar() override;

    void SetRange(int lower, int upper, int step = 1) override;
    void SetText(const std::string& text) override;
    // Where the bar lies in the pane: after the label and four blanks, the right-hand size % of the rest,
    // a tenth of the pane's height off the top and off the bottom.
    static QRect BarRect(const QRect& pane, int labelWidth, int blankWidth, int size);
    void Resize();
    const std::string& Label() const { return label_; }

protected:
    void OnBar(int position) override;
    void OnShow(bool visible) override;
    void OnText(const std::string&) override {}

private:
    QPointer<QStatusBar> statusBar_;
    std::string label_;
    int size_;
    QString savedMessage_;
};

}  // namespace pixmond
