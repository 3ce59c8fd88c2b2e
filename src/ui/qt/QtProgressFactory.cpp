#include "ui/qt/QtProgressFactory.h"

#include <QStatusBar>

#include "ui/ProgressModel.h"
#include "ui/qt/CProgressBar.h"
#include "ui/qt/CProgressWnd.h"

namespace pixmond {

std::unique_ptr<Progress> QtProgressFactory::OpenWindow(const std::string& title) {
    auto window = std::make_unique<CProgressWnd>(window_, title.empty() ? "Progress" : title);
    window->GoModal();
    return window;
}

std::unique_ptr<Progress> QtProgressFactory::OpenStatusBar(const std::string& label, int size, int maximum) {
    // Without a main window the work still runs; it only shows nothing.
    if (!window_) return std::make_unique<ProgressModel>();
    return std::make_unique<CProgressBar>(window_->statusBar(), label, size, maximum);
}

}  // namespace pixmond
