#pragma once
#include <filesystem>

namespace pixmond {

// Shows a file in the user's default program for its type; the caller does not wait. False when no program
// could be started.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool Open(const std::filesystem::path& file, const std::filesystem::path& workingFolder) = 0;
    // Opens an address; help opens its file at a section this way.
    virtual bool OpenUrl(const std::string& url) = 0;
};

}  // namespace pixmond
