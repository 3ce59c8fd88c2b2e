#pragma once
#include <string>

namespace pixmond {

class Settings;

// The values every view and tool proposes folders and output types from, under section "Settings" of the store
// the command line uses too. It keeps no copy: every getter reads the store and every setter writes it at once,
// so a value chosen anywhere is seen everywhere, and any number of these over one store agree.
class AppSettings {
public:
    explicit AppSettings(Settings& store) : store_(&store) {}

    Settings& Store() const { return *store_; }

    // "Last": the last archive.
    std::string Last() const;
    void SetLast(const std::string& path);
    // The folder of "Last", with its separator.
    std::string LastFolder() const;
    // "S16 folder", "BMP folder", "PAL folder": an empty one is the folder of the last archive.
    std::string S16Folder() const;
    void SetS16Folder(const std::string& folder);
    std::string BmpFolder() const;
    void SetBmpFolder(const std::string& folder);
    std::string PalFolder() const;
    void SetPalFolder(const std::string& folder);
    // "Icons text": empty is VARNEK2_V2.txt in the folder of the last archive.
    std::string IconsText() const;
    void SetIconsText(const std::string& path);
    // "Output image": 0 .BMP, 1 .PNG, 2 .JPG; anything else counts as 0.
    int OutputImage() const;
    void SetOutputImage(int type);
    const char* OutputExtension() const { return ExtensionOf(OutputImage()); }
    static int ClampOutputImage(int type) { return type >= 0 && type <= 2 ? type : 0; }
    static const char* ExtensionOf(int type);
    // "UseHistory": the pickers keep a folder history.
    bool UseHistory() const;
    void SetUseHistory(bool use);

    // Writes what the store lacks as it reads now (an empty folder as the folder it falls back to), so the
    // settings file names every value the program goes by.
    void WriteMissing();

private:
    std::string Get(const char* name) const;
    std::string FolderOr(const char* name) const;
    void Set(const char* name, const std::string& value);
    Settings* store_;
};

}  // namespace pixmond
