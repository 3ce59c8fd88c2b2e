#pragma once
#include "ui/FileSystem.h"
#include "ui/Messages.h"
#include "ui/Progress.h"
#include "ui/Settings.h"
#include "ui/Shell.h"

namespace pixmond {

// The platform services the core relies on, handed to it at construction.
struct Services {
    Messages& messages;
    Settings& settings;
    Shell& shell;
    FileSystem& files;
    ProgressFactory& progress;
};

// The store's application key and main section.
inline constexpr const char* kSettingsKey = "Tamber_Tools";
inline constexpr const char* kSettingsSection = "Settings";

}  // namespace pixmond
