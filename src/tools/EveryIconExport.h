#pragma once
#include <string>

namespace pixmond {

class CDatFile;
struct Services;

struct EveryIconExportResult {
    int entries = 0;   // real icon entries
    int failures = 0;  // icons (or pictures) not written
    bool cancelled = false;
};

// Writes every icon of every real icon entry of the archive into the folder: SHP and S16 icons as TITLE_NNN, a
// picture whole as TITLE, in the output image type (0 BMP, 1 PNG, 2 JPG), then says how it went. Entries are
// decoded and written on a small pool of threads, as new files flushed to disk together at the end; messages come
// in entry order and the progress counts entries. A cancel stops after the entries already being written.
EveryIconExportResult ExportEveryIcon(const CDatFile& dat, const std::string& folder, int outputImage,
                                      Services& services);

}  // namespace pixmond
