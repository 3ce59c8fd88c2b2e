#include "ui/AppSettings.h"

#include "base/PathParts.h"
#include "ui/Services.h"
#include "ui/Settings.h"

namespace pixmond {

namespace {
constexpr const char* kLast = "Last";
constexpr const char* kS16Folder = "S16 folder";
constexpr const char* kBmpFolder = "BMP folder";
constexpr const char* kPalFolder = "PAL folder";
constexpr const char* kIconsText = "Icons text";
constexpr const char* kOutputImage = "Output image";
constexpr const char* kUseHistory = "UseHistory";
}  // namespace

std::string AppSettings::Get(const char* name) const { return store_->GetString(kSettingsSection, name); }

void AppSettings::Set(const char* name, const std::string& value) { store_->SetString(kSettingsSection, name, value); }

std::string AppSettings::FolderOr(const char* name) const {
    std::string folder = Get(name);
    return folder.empty() ? LastFolder() : folder;
}

std::string AppSettings::Last() const { return Get(kLast); }
void AppSettings::SetLast(const std::string& path) { Set(kLast, path); }
std::string AppSettings::LastFolder() const { return PathParts::Of(Last()).folder; }

std::string AppSettings::S16Folder() const { return FolderOr(kS16Folder); }
void AppSettings::SetS16Folder(const std::string& folder) { Set(kS16Folder, folder); }
std::string AppSettings::BmpFolder() const { return FolderOr(kBmpFolder); }
void AppSettings::SetBmpFolder(const std::string& folder) { Set(kBmpFolder, folder); }
std::string AppSettings::PalFolder() const { return FolderOr(kPalFolder); }
void AppSettings::SetPalFolder(const std::string& folder) { Set(kPalFolder, folder); }

std::string AppSettings::IconsText() const {
    std::string path = Get(kIconsText);
    return path.empty() ? LastFolder() + "VARNEK2_V2.txt" : path;
}
void AppSettings::SetIconsText(const std::string& path) { Set(kIconsText, path); }

int AppSettings::OutputImage() const { return ClampOutputImage(store_->GetInt(kSettingsSection, kOutputImage, 0)); }
void AppSettings::SetOutputImage(int type) { store_->SetInt(kSettingsSection, kOutputImage, type); }

const char* AppSettings::ExtensionOf(int type) {
    static const char* const kExtensions[] = {".BMP", ".PNG", ".JPG"};
    return kExtensions[ClampOutputImage(type)];
}

bool AppSettings::UseHistory() const { return store_->GetInt(kSettingsSection, kUseHistory, 0) != 0; }
void AppSettings::SetUseHistory(bool use) { store_->SetInt(kSettingsSection, kUseHistory, use ? 1 : 0); }

void AppSettings::WriteMissing() {
    if (!store_->Has(kSettingsSection, kLast)) Set(kLast, "");
    for (const char* folder : {kS16Folder, kBmpFolder, kPalFolder}) {
        if (Get(folder).empty()) Set(folder, LastFolder());
    }
    if (Get(kIconsText).empty()) Set(kIconsText, IconsText());
    if (!store_->Has(kSettingsSection, kOutputImage)) SetOutputImage(0);
    if (!store_->Has(kSettingsSection, kUseHistory)) SetUseHistory(false);
}

}  // namespace pixmond
