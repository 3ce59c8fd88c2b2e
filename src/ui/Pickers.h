#pragma once
#include <string>
#include <vector>

namespace pixmond {

class FileSystem;
class Messages;

// Asks the user for a folder or files. Every answer is a plain path, empty (or no paths) when the user cancelled;
// the command decides what nothing means, as a rule it just returns.
class Pickers {
public:
    virtual ~Pickers() = default;
    // The folder chosen, always ending in a separator. An empty title becomes "Select Folder".
    virtual std::string PickFolder(const std::string& initialFolder, const std::string& title) = 0;
    // filter as "Description|pattern;pattern|...|"; empty becomes "All files (*.*)|*.*|". An empty title
    // becomes "Select File". The dialog starts in the folder of initialPath and proposes its name.
    virtual std::string PickFile(const std::string& initialPath, const std::string& title, const std::string& filter,
                                 const std::string& defaultExtension, bool open) = 0;
    virtual std::vector<std::string> PickFiles(const std::string& initialPath, const std::string& title,
                                               const std::string& filter) = 0;
};

inline constexpr const char* kDefaultFolderTitle = "Select Folder";
inline constexpr const char* kDefaultFileTitle = "Select File";
inline constexpr const char* kDefaultFileFilter = "All files (*.*)|*.*|";

// A folder path with exactly one trailing separator ("/" stays "/", "C:\" stays "C:\").
std::string WithTrailingSeparator(const std::string& folder);

// The folder picker's check on OK: an empty or missing folder is refused with a message.
bool AcceptChosenFolder(const std::string& folder, const FileSystem& files, Messages& messages);

struct FilterEntry {
    std::string description;
    std::vector<std::string> patterns;
};
// "Text files (*.txt)|*.txt;*.csv|All files (*.*)|*.*|" as its pairs; a description without patterns is dropped.
std::vector<FilterEntry> ParseFilter(const std::string& filter);

}  // namespace pixmond
