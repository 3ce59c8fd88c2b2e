#pragma once
#include <memory>
#include <string>

namespace pixmond {

// One progress display: the pop-up progress window or the status-bar bar.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void SetRange(int lower, int upper, int step = 1) = 0;
    virtual int SetPos(int position) = 0;  // returns the previous position
    virtual int StepIt() = 0;
    virtual int OffsetPos(int delta) = 0;
    virtual int SetStep(int step) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void Clear() = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Keeps the display responsive between items; false when the user cancelled.
    virtual bool PeekAndPump(bool cancelOnEscape = true) = 0;
    virtual bool Cancelled() const = 0;
};

// Makes progress displays for long operations.
class ProgressFactory {
public:
    virtual ~ProgressFactory() = default;
    // The modal pop-up window with Cancel ("Progress" when title is empty).
    virtual std::unique_ptr<Progress> OpenWindow(const std::string& title) = 0;
    // The bar in the status bar, with a label; size is the percentage of the pane the bar takes.
    virtual std::unique_ptr<Progress> OpenStatusBar(const std::string& label, int size, int maximum) = 0;
};

}  // namespace pixmond
