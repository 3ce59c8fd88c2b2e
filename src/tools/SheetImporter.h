#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/Palette.h"

namespace pixmond {

class CDatFile;
class SheetIcons;
struct PngSamples;
struct ShpRecordEdit;
struct Services;
struct TDatItem;

struct SheetImportOptions {
    std::string folder{};
    std::string output{};       // "" rewrites the archive itself, keeping the former one as its backup
    bool dryRun = false;        // only report
    bool forcePartial = false;  // import the sound entries even when others are bad
};

// What became of one exported entry.
struct SheetImportEntry {
    enum class State {
        Unchanged,
        Changed,   // icons encoded again, or a PNG entry replaced by its edited file
        Missing,   // its sheet is not in the folder: the entry stays as it is
        ReadOnly,  // an S16 sheet that was edited: the edits are ignored
        Bad,       // the sheet or the manifest does not fit the archive (problem says how)
    };
    std::string name;
    std::string sheet;
    State state = State::Unchanged;
    std::vector<int> changedIcons;  // SHP entries, 1-based
    int nearest = 0;                // pixels whose colour is not in the palette and took the nearest one
    int ignored = 0;                // visible pixels outside every icon, which the import cannot place
    std::string problem;
};

struct SheetImportReport {
    std::vector<SheetImportEntry> entries;
    bool dryRun = false;
    bool written = false;
    std::string writtenTo;  // the archive written, when written
    std::string backup;     // the former archive, when the archive itself was rewritten
    std::string archive;    // file name of the archive imported into

    int Count(SheetImportEntry::State state) const;
    int ChangedIcons() const;
    // One line per entry worth a word (changes, missing and read-only sheets, pixels mapped or ignored); bad
    // entries are said through the messages instead.
    std::vector<std::string> Lines() const;
    // "3 icons changed in 2 SHP entries, 1 PNG entry replaced; demo.dat rewritten, former archive saved as ..."
    std::string Summary() const;
};

// Brings edited sheets back into the archive they were exported from: each sheet is compared with the
// manifest and the archive; icons whose pixels changed are encoded again at their stored position (the box
// grown when the edit drew outside it), every other byte stays as it was, and the archive is written once.
class SheetImporter {
public:
    SheetImporter(CDatFile& dat, Services& services) : dat_(dat), services_(services) {}

    // False when nothing was written because of bad input (each bad entry said through the messages, unless
    // forcePartial imports the sound ones), because the manifest cannot be used, or because writing failed.
    bool Import(const SheetImportOptions& options, SheetImportReport& report);

private:
    struct Job;
    void ImportOne(Job& job, const std::string& folder) const;
    void ImportShp(Job& job, const std::string& sheetPath, const std::vector<std::uint8_t>& entryBytes) const;
    // The new pixels of every icon, from the sheet; counts pixels mapped to the nearest colour and ignored ones.
    static std::vector<std::vector<std::uint8_t>> MapSheet(const PngSamples& samples, const SheetIcons& icons,
                                                           const RgbTriples& palette, SheetImportEntry& result);
    static bool EncodeChangedIcons(const SheetIcons& icons, const std::vector<std::vector<std::uint8_t>>& edited,
                                   std::vector<ShpRecordEdit>& edits, std::string& problem);
    // Puts the new records into bytes, the entry's data, at the places the old ones are measured at.
    bool SpliceRecords(const TDatItem& item, const std::string& name, std::vector<ShpRecordEdit>& edits,
                       std::vector<std::uint8_t>& bytes, std::string& problem) const;

    CDatFile& dat_;
    Services& services_;
};

}  // namespace pixmond
