#include "ui/ProgressModel.h"

#include "base/Format.h"

namespace pixmond {

namespace {
// The text shown is at most 511 characters; a longer one is cut.
constexpr size_t kMaxText = 511;
}

void ProgressModel::SetRange(int lower, int upper, int step) {
    lower_ = lower;
    upper_ = upper;
    step_ = step;
}

int ProgressModel::SetPos(int position) {
    OnShow(true);
    const int previous = position_;
    position_ = position;
    const long long span = (long long)upper_ - lower_;
    const int percent = span > 0 ? int((long long)position * 100 / span) : 0;
    if (percent != percent_) {
        percent_ = percent;
        ShowText(Format("%s    [%d%%]", text_.c_str(), percent));
    }
    OnBar(position_);
    return previous;
}

int ProgressModel::SetStep(int step) {
    const int previous = step_;
    step_ = step;
    return previous;
}

void ProgressModel::SetText(const std::string& text) {
    text_ = text.size() > kMaxText ? text.substr(0, kMaxText) : text;
    ShowText(text_);
}

void ProgressModel::Clear() {
    text_.clear();
    position_ = 0;
    percent_ = 0;
    cancelled_ = false;
    ShowText(text_);
    OnBar(0);
}

bool ProgressModel::PeekAndPump(bool cancelOnEscape) {
    if (!cancelled_) OnPump(cancelOnEscape);
    return !cancelled_;
}

void ProgressModel::Cancel() {
    cancelled_ = true;
    OnShow(false);
}

void ProgressModel::ShowText(const std::string& text) {
    shown_ = text;
    ++rewrites_;
    OnText(shown_);
}

}  // namespace pixmond
