#pragma once
#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "archive/TDatItem.h"
#include "browser/CIconDescriptions.h"
#include "browser/stIconTxItem.h"

namespace pixmond {

// What narrows the archive browser's list: the list mode, the fake rule, the name filter and one
// descriptive filter per description field, each as the user typed it.
struct DatListFilters {
    int listMode = 0;            // index into DatListModel::kListModeTexts
    bool fakesTogether = false;  // fake entries listed beside the real ones, not only in the fakes mode
    std::string name;
    std::array<std::string, kDescriptionFieldCount> descriptive;
};

// The rows of the archive browser: which entries pass the filters and how each row and the count read.
// Qt-free, so the window and the command line list the same rows.
class DatListModel {
public:
    static constexpr int kListModeCount = 7;
    static constexpr int kFakesMode = 6;
    static constexpr std::array<const char*, kListModeCount> kListModeTexts = {
        "View All icons",       "Only Unit's icons (9)", "Only Interface files",  "Only SHP files",
        "Only S16 files",       "Only PNG files",        "View fake replacements"};

    DatListFilters filters;
    CIconDescriptions descriptions;

    // After an archive was opened: the description file beside it replaces the records, and the filters are
    // cleared. Without a readable file beside it there are no records (false).
    bool ReadDescriptionsBeside(const std::filesystem::path& archive, const FileSystem& files);
    // A description file the user picked; its own extension decides the flavour.
    bool ReadDescriptionFile(const std::filesystem::path& file);
    void ClearFilters();

    // Decides every entry afresh; returns the entry-table indices of the listed entries, in table order.
    const std::vector<int>& Rebuild(std::span<const TDatItem> entries);
    const std::vector<int>& Rows() const { return rows_; }
    // The row to select after a rebuild: wanted, kept inside the rows; -1 when there is no row to select.
    int ClampSelection(int wanted) const;

    // The description of an entry; a fake entry without its own line borrows its real icon's. Null when none.
    const stIconTxItem* RecordOf(const TDatItem& entry) const;
    // The descriptive filters that take part: all six with a CSV file, only Desc. with a text file.
    int ActiveFieldCount() const { return descriptions.IsCsv() ? kDescriptionFieldCount : 1; }

    static std::string RowText(const TDatItem& entry);
    // Listed rows against the entries the mode is counted from (fakes in the fakes mode).
    std::string IconsLabel(int realCount, int fakeCount, int total) const;

private:
    bool FitsMode(const TDatItem& entry) const;
    bool FitsName(const TDatItem& entry, const std::string& filter) const;
    bool FitsDescription(const TDatItem& entry) const;

    std::array<std::vector<std::string>, kDescriptionFieldCount> conditions_;
    bool noDescriptiveFilter_ = true;
    bool wantsEmpty_ = false;
    std::vector<int> rows_;
};

}  // namespace pixmond
