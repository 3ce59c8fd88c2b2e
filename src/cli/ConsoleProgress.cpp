#include "cli/ConsoleProgress.h"

#include <unistd.h>

namespace pixmond {

namespace {
constexpr int kCells = 30;
}

ConsoleProgress::ConsoleProgress(std::FILE* stream, std::string title)
    : stream_(stream), title_(std::move(title)), terminal_(stream && ::isatty(::fileno(stream))),
      labelFromText_(title_.empty()) {}

ConsoleProgress::~ConsoleProgress() { OnShow(false); }

void ConsoleProgress::OnText(const std::string&) {
    // A bar opened without a label (the status-bar bar of a load) is labelled with its text instead.
    if (labelFromText_) title_ = Text().substr(0, Text().find('\n'));
}

void ConsoleProgress::OnBar(int) {
    const long long span = (long long)Upper() - Lower();
    const int cells = span > 0 ? int(((long long)Position() - Lower()) * kCells / span) : 0;
    if (cells != lastCells_) {
        lastCells_ = cells;
        Draw();
    }
}

void ConsoleProgress::OnShow(bool visible) {
    if (!visible && drawn_ && terminal_) {
        std::fputs("\r\x1b[K", stream_);
        std::fflush(stream_);
        drawn_ = false;
    }
}

void ConsoleProgress::Draw() {
    if (!terminal_) return;
    const int cells = lastCells_ < 0 ? 0 : (lastCells_ > kCells ? kCells : lastCells_);
    char bar[kCells + 1];
    for (int i = 0; i < kCells; ++i) bar[i] = i < cells ? '#' : '.';
    bar[kCells] = 0;
    std::fprintf(stream_, "\r\x1b[K%s  [%s] %3d%%", title_.c_str(), bar, Percent());
    std::fflush(stream_);
    drawn_ = true;
}

std::unique_ptr<Progress> ConsoleProgressFactory::OpenWindow(const std::string& title) {
    return std::make_unique<ConsoleProgress>(stream_, title.empty() ? "Progress" : title);
}

std::unique_ptr<Progress> ConsoleProgressFactory::OpenStatusBar(const std::string& label, int, int maximum) {
    auto progress = std::make_unique<ConsoleProgress>(stream_, label);
    progress->SetRange(0, maximum);
    return progress;
}

}  // namespace pixmond
