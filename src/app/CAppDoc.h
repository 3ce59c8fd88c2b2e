#pragma once
#include <functional>
#include <string>

#include "ui/RecentFiles.h"

namespace pixmond {

class Settings;
struct AppSettings;

// The one document: it holds no archive data, only loads the settings once, saves them at the end, keeps the
// recently used files and routes a file to open to the view that can take it.
class CAppDoc {
public:
    CAppDoc(Settings& store, AppSettings& settings);
    ~CAppDoc();

    // The first call loads the settings; later calls change nothing.
    void OnNewDocument();
    bool SettingsLoaded() const { return settingsLoaded_; }
    // Writes the settings and the recent files to the store.
    bool SaveSettings();

    // Who opens a file: the frame sets this to hand it to the archive browser when that is the active view.
    void SetOpener(std::function<bool(const std::string&)> opener) { opener_ = std::move(opener); }
    bool OnOpenDocument(const std::string& path);

    RecentFiles& Recent() { return recent_; }

private:
    Settings& store_;
    AppSettings& settings_;
    RecentFiles recent_{6};
    std::function<bool(const std::string&)> opener_;
    bool settingsLoaded_ = false;
};

}  // namespace pixmond
