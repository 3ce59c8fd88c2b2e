#pragma once
#include <iosfwd>

#include "ui/Shell.h"

namespace pixmond {

// "Showing" a file on the command line prints it: logs and reports end up on stdout.
class ConsoleShell : public Shell {
public:
    explicit ConsoleShell(std::ostream& out) : out_(out) {}
    bool Open(const std::filesystem::path& file, const std::filesystem::path& workingFolder) override;
    bool OpenUrl(const std::string& url) override;

private:
    std::ostream& out_;
};

}  // namespace pixmond
