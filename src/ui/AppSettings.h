#pragma once
#include <string>

namespace pixmond {

class Settings;

// The values every view and tool proposes folders and output types from. Read once at start, written at exit,
// under section "Settings" of the store the command line uses too.
struct AppSettings {
    std::string last;        // "Last": the last archive
    std::string lastFolder;  // folder of "Last", with its separator
    std::string s16Folder;   // "S16 folder"
    std::string bmpFolder;   // "BMP folder"
    std::string palFolder;   // "PAL folder"
    std::string iconsText;   // "Icons text"
    int outputImage = 0;     // "Output image": 0 .BMP, 1 .PNG, 2 .JPG
    int useHistory = 0;      // "UseHistory": non-zero keeps a folder history in the pickers

    void Load(const Settings& settings);
    void Save(Settings& settings) const;
    // ".BMP", ".PNG" or ".JPG"; an index outside the table counts as 0.
    const char* OutputExtension() const;
};

}  // namespace pixmond
