#pragma once
#include "ui/Shell.h"

namespace pixmond {

// Hands files and addresses to the desktop's default programs.
class QtShell : public Shell {
public:
    bool Open(const std::filesystem::path& file, const std::filesystem::path& workingFolder) override;
    bool OpenUrl(const std::string& url) override;
};

}  // namespace pixmond
