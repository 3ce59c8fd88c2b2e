#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ui/ProgressModel.h"

namespace pixmond {

// Test double: a progress display that cancels itself after a given number of pumps (never by default).
class RecordingProgress : public ProgressModel {
public:
    explicit RecordingProgress(int cancelAfterPumps = -1) : cancelAfter_(cancelAfterPumps) {}
    int pumps = 0;
    std::vector<std::string> texts;  // every text shown, in order

protected:
    void OnText(const std::string& shown) override { texts.push_back(shown); }
    void OnPump(bool) override {
        if (cancelAfter_ >= 0 && ++pumps > cancelAfter_) Cancel();
        else if (cancelAfter_ < 0) ++pumps;
    }

private:
    int cancelAfter_;
};

// Hands out recording displays and keeps the titles asked for; the last one stays inspectable.
class RecordingProgressFactory : public ProgressFactory {
public:
    std::unique_ptr<Progress> OpenWindow(const std::string& title) override;
    std::unique_ptr<Progress> OpenStatusBar(const std::string& label, int size, int maximum) override;
    // The next window opened cancels after this many pumps.
    void CancelNextAfter(int pumps) { cancelAfter_ = pumps; }
    std::vector<std::string> titles;
    RecordingProgress* last = nullptr;  // valid while the operation that opened it runs

private:
    int cancelAfter_ = -1;
};

}  // namespace pixmond
