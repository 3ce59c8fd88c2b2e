#pragma once
#include <string>

#include "ui/Progress.h"

namespace pixmond {

// What a progress display does apart from drawing: range, step, position, the percentage text and cancel.
// The pop-up window, the status-bar bar, the console bar and the test double all derive from it.
class ProgressModel : public Progress {
public:
    void SetRange(int lower, int upper, int step = 1) override;
    int SetPos(int position) override;
    int StepIt() override { return SetPos(position_ + step_); }
    int OffsetPos(int delta) override { return SetPos(position_ + delta); }
    int SetStep(int step) override;
    void SetText(const std::string& text) override;
    void Clear() override;
    void Show() override { OnShow(true); }
    void Hide() override { OnShow(false); }
    bool PeekAndPump(bool cancelOnEscape = true) override;
    bool Cancelled() const override { return cancelled_; }
    // The Cancel button, Escape, or a test.
    virtual void Cancel();

    int Lower() const { return lower_; }
    int Upper() const { return upper_; }
    int Position() const { return position_; }
    int Step() const { return step_; }
    int Percent() const { return percent_; }
    const std::string& Text() const { return text_; }
    // The text as the text area shows it now.
    const std::string& ShownText() const { return shown_; }
    int TextRewrites() const { return rewrites_; }

protected:
    virtual void OnText(const std::string& shown) {}
    virtual void OnBar(int position) {}
    virtual void OnShow(bool visible) {}
    // Lets the platform process waiting input; returns after one round. May call Cancel().
    virtual void OnPump(bool cancelOnEscape) {}

private:
    void ShowText(const std::string& text);
    int lower_ = 0, upper_ = 100, step_ = 1, position_ = 0, percent_ = 0;
    std::string text_, shown_;
    int rewrites_ = 0;
    bool cancelled_ = false;
};

}  // namespace pixmond
