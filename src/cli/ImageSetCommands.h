#pragma once
#include <CLI/CLI.hpp>

#include <string>

namespace pixmond {
struct Services;
}

namespace pixmond::cli {

// Everything `export` can be asked; the single-file options are read by ImageCommands.cpp, the rest
// (archive entries, collages, blocks, sheet cells, whole archives) by ImageSetCommands.cpp.
struct ExportRequest {
    std::string file;
    int icon = 0;
    bool all = false;
    std::string output;
    std::string type;
    std::string palette;
    int quality = 90;

    std::string entry;       // --entry NAME: the file is an archive
    std::string collage;     // --collage WxH
    int first = 1;           // --first N (1-based)
    bool block = false;      // --block
    int count = 0;           // --count C
    int rows = 0;            // --rows R
    int cols = 0;            // --cols C (0: as many as the rows need)
    std::string cell;        // --cell: WxH for a block, N (1-9) for a PNG sheet
    bool lines = false;      // --lines
    bool allEntries = false; // --all-entries: every icon of every entry of an archive
};

// Adds the options above to the export command; which is its group of mutually exclusive choices.
void AddImageSetExportOptions(CLI::App& exportCmd, CLI::Option_group& which, ExportRequest& request);
// True when the request is one for RunImageSetExport.
bool HandlesExport(const ExportRequest& request);
// Throws CLI::RequiredError when nothing to export was chosen (a usage error).
bool RunImageSetExport(const ExportRequest& request, Services& services);

}  // namespace pixmond::cli
