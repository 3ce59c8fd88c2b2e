#pragma once
#include <string>

namespace pixmond {

class Settings;

// The Shp maker's own values, kept in the settings section every tool shares.
struct ShpMakerSettings {
    std::string folder;         // "Folder": the bitmap folder, with its separator
    int mode = 2;               // "Option": 0 express batch, 1 nine-icon bitmap, 2 icon list
    bool threeByThree = true;   // "3x3": nine-icon bitmaps are 3 x 3 (else 9 x 1)
    bool preview = false;       // "Preview"

    // An absent "Folder" falls back to "BMP folder".
    void Load(const Settings& settings);
    void Save(Settings& settings) const;
};

}  // namespace pixmond
