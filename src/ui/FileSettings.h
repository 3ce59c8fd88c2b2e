#pragma once
#include <filesystem>

#include "ui/MemorySettings.h"

namespace pixmond {

// The per-user store shared by the desktop program and the command line: an INI-style text file,
// $PIXMOND_SETTINGS if set, else $XDG_CONFIG_HOME (or ~/.config)/Tamber_Tools/settings.ini.
// Read once at construction; Flush (and destruction) write it back through a safe replace.
class FileSettings : public MemorySettings {
public:
    explicit FileSettings(std::filesystem::path file = DefaultPath());
    ~FileSettings() override;
    bool Flush() override;
    const std::filesystem::path& Path() const { return file_; }
    static std::filesystem::path DefaultPath();

private:
    void Read();
    std::filesystem::path file_;
};

}  // namespace pixmond
