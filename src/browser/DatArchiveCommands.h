#pragma once
#include <functional>
#include <string>

namespace pixmond {

class CDatViewModel;
class Pickers;
class AppSettings;

// The archive browser's commands that write archives or files: they ask through the pickers, check what the
// user chose and call the archive. The heavy ones hand back the rest of their work, to be run once the picker
// has closed and the browser has been drawn again.
class DatArchiveCommands {
public:
    using Deferred = std::function<void()>;
    // What the window does around the commands: open an archive the way its open command does (recent files,
    // title, redraw), and redraw at once before a long operation starts.
    struct Hooks {
        std::function<bool(const std::string&)> openArchive;
        std::function<void()> redrawNow;
    };

    DatArchiveCommands(CDatViewModel& view, Pickers& pickers, AppSettings& settings, Hooks hooks);

    void Open();
    void Repack();
    Deferred Unpack();
    void Extract();
    Deferred Replace();
    void Remove();
    Deferred Add();
    void CopyListed();
    void ExtractListed();
    // "Log Filter": the listed rows into a text file, with their descriptions when the user wants them.
    void LogFilter();

    // The folder of the last unpack; the copy-list pickers start there.
    const std::string& UnpackFolder() const { return unpackFolder_; }

    static constexpr const char* kIconFilter =
        "All Files (SHP/S16/PNG)|*.shp;*.s16;*.png|Files (*.SHP)|*.shp|Files (*.S16)|*.s16|Files (*.PNG)|*.png|";
    static constexpr const char* kDatFilter = "DAT Files (*.DAT)|*.dat|";

private:
    bool OpenArchive(const std::string& path);
    std::string StoredName(int entry) const;
    std::string TableFolder() const;
    std::string PickTable();

    CDatViewModel& view_;
    Pickers& pickers_;
    AppSettings& settings_;
    Hooks hooks_;
    std::string unpackFolder_;
};

}  // namespace pixmond
