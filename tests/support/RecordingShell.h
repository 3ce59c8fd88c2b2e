#pragma once
#include <string>
#include <vector>

#include "ui/Shell.h"

namespace pixmond {

// The test double of the shell: remembers what it was asked to show.
class RecordingShell : public Shell {
public:
    bool Open(const std::filesystem::path& file, const std::filesystem::path&) override {
        opened.push_back(file);
        return true;
    }
    bool OpenUrl(const std::string& url) override {
        urls.push_back(url);
        return true;
    }
    std::vector<std::filesystem::path> opened;
    std::vector<std::string> urls;
};

}  // namespace pixmond
