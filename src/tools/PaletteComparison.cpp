#include "tools/PaletteComparison.h"

#include <cstring>

#include "base/Format.h"
#include "base/PathParts.h"
#include "base/ReadOnlyFile.h"
#include "image/Palette.h"
#include "image/PaletteFile.h"
#include "tools/ProposedNames.h"
#include "ui/Messages.h"

namespace pixmond {

namespace {

constexpr int kEntryBytes = 4;

std::string ColourText(const CBmpDib::ColourTable& table, int index) {
    const size_t at = size_t(index) * kEntryBytes;
    return Format("%3d, %3d, %3d", table[at + 2], table[at + 1], table[at]);
}

}  // namespace

void PaletteComparison::Start() {
    for (Palette* palette : {&first, &second}) {
        if (!palette->name.empty()) continue;
        palette->table = DefaultColourTable();
        palette->name = kDefaultName;
    }
}

bool PaletteComparison::SameColour(const CBmpDib::ColourTable& a, const CBmpDib::ColourTable& b, int index) {
    const size_t at = size_t(index) * kEntryBytes;
    return std::memcmp(&a[at], &b[at], 3) == 0;
}

int PaletteComparison::Differences() const {
    int count = 0;
    for (int i = 0; i < 256; ++i) count += Differs(i) ? 1 : 0;
    return count;
}

std::vector<PaletteComparison::Row> PaletteComparison::Rows() const {
    std::vector<Row> rows;
    for (int i = 0; i < 256; ++i) {
        if (onlyDifferences && !Differs(i)) continue;
        rows.push_back({i, Format("%03d", i), ColourText(first.table, i), ColourText(second.table, i)});
    }
    return rows;
}

int PaletteComparison::RowOfIndex(int index) const {
    if (index < 0 || index > 255) return -1;
    if (!onlyDifferences) return index;
    if (!Differs(index)) return -1;
    int row = 0;
    for (int i = 0; i < index; ++i) row += Differs(i) ? 1 : 0;
    return row;
}

int PaletteComparison::IndexAt(int x, int y) {
    // The grid's last pixel column and row close the frame; they belong to no cell.
    if (x < 0 || y < 0 || x >= kGridCells * kCell || y >= kGridCells * kCell) return -1;
    return y / kCell * kGridCells + x / kCell;
}

std::string PaletteComparison::PickerStart(const std::string& palFolder) {
    return ProposeName(ProposedName::TextPalette, palFolder, {});
}

bool PaletteComparison::Load(int which, const std::string& path, Messages& messages) {
    Palette& palette = Side(which);
    if (!ReadComparedPalette(palette.table, path, messages)) return false;
    palette.name = PathParts::Of(path).name;
    return true;
}

bool PaletteComparison::ReadComparedPalette(CBmpDib::ColourTable& table, const std::string& path,
                                            Messages& messages) {
    const auto file = ReadOnlyFile::Open(path);
    if (!file) {
        messages.Error(Format("[%s] Not found", path.c_str()));
        return false;
    }
    char magic[3] = {};
    if (file->ReadExact(0, magic, sizeof magic) && std::memcmp(magic, "JAS", 3) == 0)
        return ReadTextPalette(table, path, messages);
    std::uint8_t bytes[CBmpDib::kTableBytes];
    const size_t read = file->ReadAt(0, bytes, sizeof bytes);
    // A torn last entry would give a colour that is neither the old one nor the file's.
    std::memcpy(table.data(), bytes, read / kEntryBytes * kEntryBytes);
    return true;
}

}  // namespace pixmond
