#pragma once
#include <string>

namespace pixmond {

class Settings;

// The Shp maker's own values in the settings section every tool shares, read and written live like AppSettings.
class ShpMakerSettings {
public:
    enum MakerMode { kExpressBatch = 0, kNineIconBitmap = 1, kIconList = 2 };

    explicit ShpMakerSettings(Settings& store) : store_(&store) {}

    // "Folder": the bitmap folder; empty is "BMP folder".
    std::string Folder() const;
    void SetFolder(const std::string& folder);
    // "Option": the mode; a value from a damaged store counts as the icon list.
    int Mode() const;
    void SetMode(int mode);
    // "3x3": nine-icon bitmaps are 3 x 3 (else 9 x 1).
    bool ThreeByThree() const;
    void SetThreeByThree(bool threeByThree);
    // "Preview".
    bool Preview() const;
    void SetPreview(bool preview);

private:
    Settings* store_;
};

}  // namespace pixmond
