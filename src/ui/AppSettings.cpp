#include "ui/AppSettings.h"

#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/Services.h"
#include "ui/Settings.h"

namespace pixmond {

void AppSettings::Load(const Settings& settings) {
    const auto get = [&](const char* name) { return settings.GetString(kSettingsSection, name); };
    last = get("Last");
    lastFolder = PathParts::Of(last).folder;
    s16Folder = get("S16 folder");
    if (s16Folder.empty()) s16Folder = lastFolder;
    bmpFolder = get("BMP folder");
    if (bmpFolder.empty()) bmpFolder = lastFolder;
    palFolder = get("PAL folder");
    if (palFolder.empty()) palFolder = lastFolder;
    iconsText = get("Icons text");
    if (iconsText.empty()) iconsText = Format("%sVARNEK2_V2.txt", lastFolder.c_str());
    outputImage = settings.GetInt(kSettingsSection, "Output image", 0);
    useHistory = settings.GetInt(kSettingsSection, "UseHistory", 0);
}

void AppSettings::Save(Settings& settings) const {
    settings.SetString(kSettingsSection, "Last", last);
    settings.SetString(kSettingsSection, "S16 folder", s16Folder);
    settings.SetString(kSettingsSection, "BMP folder", bmpFolder);
    settings.SetString(kSettingsSection, "PAL folder", palFolder);
    settings.SetString(kSettingsSection, "Icons text", iconsText);
    settings.SetInt(kSettingsSection, "Output image", outputImage);
    settings.SetInt(kSettingsSection, "UseHistory", useHistory);
}

const char* AppSettings::OutputExtension() const {
    static const char* const kExtensions[] = {".BMP", ".PNG", ".JPG"};
    return outputImage >= 0 && outputImage < 3 ? kExtensions[outputImage] : kExtensions[0];
}

}  // namespace pixmond
