#include "tools/ShpMakerSettings.h"

#include "ui/Services.h"
#include "ui/Settings.h"

namespace pixmond {

void ShpMakerSettings::Load(const Settings& settings) {
    folder = settings.GetString(kSettingsSection, "Folder");
    if (folder.empty()) folder = settings.GetString(kSettingsSection, "BMP folder");
    mode = settings.GetInt(kSettingsSection, "Option", 2);
    // A mode from a damaged store must not select nothing at all.
    if (mode < 0 || mode > 2) mode = 2;
    threeByThree = settings.GetInt(kSettingsSection, "3x3", 1) > 0;
    preview = settings.GetInt(kSettingsSection, "Preview", 0) > 0;
}

void ShpMakerSettings::Save(Settings& settings) const {
    settings.SetString(kSettingsSection, "Folder", folder);
    settings.SetInt(kSettingsSection, "Option", mode);
    settings.SetInt(kSettingsSection, "3x3", threeByThree ? 1 : 0);
    settings.SetInt(kSettingsSection, "Preview", preview ? 1 : 0);
}

}  // namespace pixmond
