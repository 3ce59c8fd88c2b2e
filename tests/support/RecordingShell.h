#pragma once
#include <string>
#include <vector>

#include "ui/Shell.h"

namespace pixmond {

// The test double of the shell: remembers what it was asked to show; with noViewer set, no viewer starts.
class RecordingShell : public Shell {
public:
    bool Open(const std::filesystem::path& file, const std::filesystem::path&) override {
        opened.push_back(file);
        return !noViewer;
    }
    bool OpenUrl(const std::string& url) override {
        urls.push_back(url);
        return !noViewer;
    }
    std::vector<std::filesystem::path> opened;
    std::vector<std::string> urls;
    bool noViewer = false;
};

}  // namespace pixmond
