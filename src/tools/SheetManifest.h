#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/IconKind.h"
#include "image/Palette.h"
#include "image/ShpIconHeader.h"
#include "tools/SheetGrid.h"

namespace pixmond {

// What an exported entry became, by the kind of the entry: an editable sheet of SHP icons, a PNG written as it
// is, or a sheet of S16 icons that is only there to look at.
using SheetKind = IconKind;

struct SheetIcon {
    int width = 0;
    int height = 0;
    ShpIconHeader header;  // SHP icons: the header as stored
    bool readable = true;  // false: the icon could not be decoded, its cell stays empty
    std::string hash;      // of the decoded pixels, rows top first
};

struct SheetEntry {
    std::string name;    // as listed (upper case), UTF-8
    int occurrence = 1;  // 2 for the second entry of the same name in the archive, ...
    SheetKind kind = SheetKind::Shp;
    std::string sheet;       // file name inside the folder
    std::uint32_t size = 0;  // of the entry's data
    std::string hash;        // of the entry's data
    std::string sheetHash;   // of the sheet file as written
    SheetGrid grid;          // SHP and S16 sheets
    std::vector<SheetIcon> icons;
    std::string problem;  // after reading: why this record cannot be used ("" when it can)

    bool ReadOnly() const { return kind == SheetKind::S16; }
};

// The record an export leaves beside its sheets, so that an import knows where every icon came from and can
// tell which sheets were edited.
class SheetManifest {
public:
    static constexpr const char* kFileName = "pixmond-sheets.json";

    std::string archiveName;  // file name of the archive, UTF-8
    std::uint64_t archiveSize = 0;
    int archiveEntries = 0;
    std::string paletteFile;  // "" for the default palette
    RgbTriples palette = DefaultPalette();
    std::vector<SheetEntry> entries;

    std::string ToJson() const;
    // Reads a manifest; false, with the reason, when the text is not JSON or not a manifest at all. A record
    // that cannot be used is kept with its problem said, so the import can name it.
    bool FromJson(const std::string& text, std::string& problem);

    static const char* KindName(SheetKind kind);
};

}  // namespace pixmond
