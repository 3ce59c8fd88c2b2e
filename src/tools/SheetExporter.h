#pragma once
#include <string>
#include <vector>

#include "tools/SheetManifest.h"

namespace pixmond {

class CDatFile;
struct Services;

struct SheetExportOptions {
    std::string folder{};
    int listMode = 0;           // the archive browser's list modes
    std::string nameFilter{};   // as the browser's name filter takes it ("^TI": names beginning with TI)
    std::string paletteFile{};  // "" for the default palette
    bool force = false;         // write even over sheets edited since the last export
    // How the refusal to write over edited sheets tells the user to go on anyway.
    std::string overwriteHint = "export with --force to write over them";
};

struct SheetExportResult {
    int shp = 0;
    int png = 0;
    int s16 = 0;
    int icons = 0;
    std::vector<std::string> skipped;  // entries that got no sheet, and why
    bool cancelled = false;

    int Sheets() const { return shp + png + s16; }
    // "12 sheets written to DIR: 8 SHP (96 icons), 2 PNG, 2 S16 read-only; 1 entry skipped"
    std::string Summary(const std::string& folder) const;
};

// Writes the icons of an archive's entries into a folder as pictures any image editor opens: every SHP entry
// as an 8-bit sheet over the palette, its transparent index marked transparent; every PNG entry as it is; every
// S16 entry as a 24-bit sheet to look at only. The manifest beside them records where each icon came from.
class SheetExporter {
public:
    SheetExporter(const CDatFile& dat, Services& services) : dat_(dat), services_(services) {}

    // False when nothing was exported: the folder, the palette or sheets edited since the last export stood in
    // the way (said through the messages). Entries left out are listed in the result.
    bool Export(const SheetExportOptions& options, SheetExportResult& result);

private:
    struct Job;
    std::vector<Job> PlanJobs(const SheetExportOptions& options) const;
    bool EditedSheetsInTheWay(const SheetExportOptions& options, const std::vector<Job>& jobs) const;
    void ExportOne(Job& job, const std::string& folder, const SheetManifest& manifest) const;

    const CDatFile& dat_;
    Services& services_;
};

}  // namespace pixmond
