#include "tools/ShpMakerSettings.h"

#include "ui/AppSettings.h"
#include "ui/Services.h"
#include "ui/Settings.h"

namespace pixmond {

std::string ShpMakerSettings::Folder() const {
    std::string folder = store_->GetString(kSettingsSection, "Folder");
    return folder.empty() ? AppSettings(*store_).BmpFolder() : folder;
}

void ShpMakerSettings::SetFolder(const std::string& folder) { store_->SetString(kSettingsSection, "Folder", folder); }

int ShpMakerSettings::Mode() const {
    const int mode = store_->GetInt(kSettingsSection, "Option", kIconList);
    // A mode from a damaged store must not select nothing at all.
    return mode >= kExpressBatch && mode <= kIconList ? mode : kIconList;
}

void ShpMakerSettings::SetMode(int mode) { store_->SetInt(kSettingsSection, "Option", mode); }

bool ShpMakerSettings::ThreeByThree() const { return store_->GetInt(kSettingsSection, "3x3", 1) > 0; }

void ShpMakerSettings::SetThreeByThree(bool threeByThree) {
    store_->SetInt(kSettingsSection, "3x3", threeByThree ? 1 : 0);
}

bool ShpMakerSettings::Preview() const { return store_->GetInt(kSettingsSection, "Preview", 0) > 0; }

void ShpMakerSettings::SetPreview(bool preview) { store_->SetInt(kSettingsSection, "Preview", preview ? 1 : 0); }

}  // namespace pixmond
