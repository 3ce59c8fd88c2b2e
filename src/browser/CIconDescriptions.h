#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "browser/stIconTxItem.h"
#include "ui/FileSystem.h"

namespace pixmond {

// The user's description table: one record per icon, keyed by the icon's title in upper case.
// Two flavours share the reader: a text file (fields after a name, ':' '=' ';' '>' between them) and a
// CSV file (';' '|' or tab between fields), told apart by the ".csv" extension.
class CIconDescriptions {
public:
    // The file that belongs beside an archive: ".csv", then ".txt", then for the game's own archive its
    // shipped "VARNEK2_V2.txt"; names match whatever their case.
    static std::optional<std::filesystem::path> FindBeside(const std::filesystem::path& archive, const FileSystem& files);

    // Replaces every record with the file's; false (records kept) when the file cannot be read.
    bool Read(const std::filesystem::path& file);
    // Reads the lines of a file already in memory; csv chooses the flavour.
    void ReadText(std::string_view text, bool csv);

    bool IsCsv() const { return csv_; }
    void SetCsv(bool csv) { csv_ = csv; }
    size_t Size() const { return records_.size(); }
    void Clear() { records_.clear(); }

    // The record of an icon title (upper case, no extension), or null.
    const stIconTxItem* Find(const std::string& key) const;
    // The key of an entry or file name: folder and extension removed, upper case.
    static std::string KeyOf(std::string_view name);

private:
    void ReadLine(std::string_view line);

    std::unordered_map<std::string, stIconTxItem> records_;
    bool csv_ = false;
};

}  // namespace pixmond
