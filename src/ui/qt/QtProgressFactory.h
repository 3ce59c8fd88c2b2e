#pragma once
#include <QPointer>
#include <QMainWindow>

#include "ui/Progress.h"

namespace pixmond {

// Hands out the progress window (modal over the main window) and the status-bar bar of the main window.
class QtProgressFactory : public ProgressFactory {
public:
    void SetMainWindow(QMainWindow* window) { window_ = window; }
    std::unique_ptr<Progress> OpenWindow(const std::string& title) override;
    std::unique_ptr<Progress> OpenStatusBar(const std::string& label, int size, int maximum) override;

private:
    QPointer<QMainWindow> window_;
};

}  // namespace pixmond
