#pragma once
#include <functional>
#include <string>

#include "ui/RecentFiles.h"

namespace pixmond {

class AppSettings;

// The one document: it holds no archive data, only reads the recent files once, makes the settings store permanent
// at the end, keeps the recently used files and routes a file to open to the view that can take it. The settings
// themselves are read and written live through AppSettings; nothing is copied back at the end.
class CAppDoc {
public:
    explicit CAppDoc(AppSettings& settings);
    ~CAppDoc();

    // The first call reads the recent files; later calls change nothing.
    void OnNewDocument();
    bool SettingsLoaded() const { return settingsLoaded_; }
    // Writes the recent files and the values the store still lacks, then flushes the store.
    bool SaveSettings();

    // Who opens a file: the frame sets this to hand it to the archive browser when that is the active view.
    void SetOpener(std::function<bool(const std::string&)> opener) { opener_ = std::move(opener); }
    bool OnOpenDocument(const std::string& path);

    RecentFiles& Recent() { return recent_; }

private:
    AppSettings& settings_;
    RecentFiles recent_{6};
    std::function<bool(const std::string&)> opener_;
    bool settingsLoaded_ = false;
};

}  // namespace pixmond
