#pragma once
#include <functional>
#include <string>
#include <vector>

namespace pixmond {

class Settings;

// The entries of a history combo box and the rules by which they are loaded, added, saved and cleared.
// Values live in the settings store as prefix + four digits ("Folder0000", "Folder0001", ...).
class FolderHistory {
public:
    // An empty section and prefix make a plain list: Add only appends.
    FolderHistory(std::string section = {}, std::string prefix = {}, size_t maximum = 100)
        : section_(std::move(section)), prefix_(std::move(prefix)), maximum_(maximum) {}

    void SetMaximum(size_t maximum) { maximum_ = maximum; }
    size_t Maximum() const { return maximum_; }
    void SetRestoreLast(bool restore) { restoreLast_ = restore; }
    void SetLastValueName(std::string name) { lastName_ = std::move(name); }
    // When set, Load keeps only the entries for which it answers true.
    void SetExistenceCheck(std::function<bool(const std::string&)> exists) { exists_ = std::move(exists); }

    void Load(const Settings& settings);
    // Position of the new entry (0), or -1 when the text is only spaces.
    int Add(const std::string& text);
    // Adds the current text, then writes the entries and removes the values left over from a longer history.
    void Save(Settings& settings);
    // Empties the list; with clearStore the stored values go too.
    void Clear(Settings* store);

    const std::vector<std::string>& Entries() const { return entries_; }
    // Text of the combo's edit field and the selected row (-1 none).
    const std::string& Current() const { return current_; }
    void SetCurrent(std::string text);
    int Selection() const { return selection_; }
    void Select(int row);
    // Appends without any rule, as typing into the list of a combo without history does.
    void Append(const std::string& text) { entries_.push_back(text); }

private:
    std::string ValueName(size_t index) const;
    std::string LastValueName() const;
    std::string section_, prefix_, lastName_;
    size_t maximum_;
    bool restoreLast_ = true;
    std::function<bool(const std::string&)> exists_;
    std::vector<std::string> entries_;
    std::string current_;
    int selection_ = -1;
};

}  // namespace pixmond
