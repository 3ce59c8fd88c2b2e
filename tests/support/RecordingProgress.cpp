#include "support/RecordingProgress.h"

namespace pixmond {

std::unique_ptr<Progress> RecordingProgressFactory::OpenWindow(const std::string& title) {
    titles.push_back(title.empty() ? "Progress" : title);
    auto progress = std::make_unique<RecordingProgress>(cancelAfter_);
    cancelAfter_ = -1;
    last = progress.get();
    return progress;
}

std::unique_ptr<Progress> RecordingProgressFactory::OpenStatusBar(const std::string& label, int, int maximum) {
    titles.push_back(label);
    auto progress = std::make_unique<RecordingProgress>();
    progress->SetRange(0, maximum);
    last = progress.get();
    return progress;
}

}  // namespace pixmond
