#pragma once
#include <cstdio>
#include <memory>

#include "ui/ProgressModel.h"

namespace pixmond {

// A one-line bar on a terminal ("Repacking  [#####.....]  42%"); silent when the stream is not a terminal.
class ConsoleProgress : public ProgressModel {
public:
    ConsoleProgress(std::FILE* stream, std::string title);
    ~ConsoleProgress() override;

protected:
    void OnText(const std::string& shown) override;
    void OnBar(int position) override;
    void OnShow(bool visible) override;

private:
    void Draw();
    std::FILE* stream_;
    std::string title_;
    bool terminal_;
    bool labelFromText_;
    bool drawn_ = false;
    int lastCells_ = -1;
};

class ConsoleProgressFactory : public ProgressFactory {
public:
    explicit ConsoleProgressFactory(std::FILE* stream = stderr) : stream_(stream) {}
    std::unique_ptr<Progress> OpenWindow(const std::string& title) override;
    std::unique_ptr<Progress> OpenStatusBar(const std::string& label, int size, int maximum) override;

private:
    std::FILE* stream_;
};

}  // namespace pixmond
