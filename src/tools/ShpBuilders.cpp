#include "tools/ShpBuilders.h"

#include <cstdint>
#include <vector>

#include "image/CBmpOrvel.h"
#include "image/ShpLayout.h"
#include "base/SafeFile.h"

namespace pixmond {

namespace {

constexpr int kIcons = 9;

bool WriteRecords(const std::string& output, const std::vector<std::vector<std::uint8_t>>& records) {
    const std::vector<std::uint8_t> bytes = AssembleShp(records);
    SafeFile file(output);
    return file.IsOpen() && file.Write(bytes.data(), bytes.size()) && file.Commit();
}

bool EncodeRecord(CBmpOrvel& icon, std::vector<std::uint8_t>& record) {
    if (!CBmpOrvel::SizeFits(icon.Width(), icon.Height())) return false;
    ShpIconHeader header;
    return icon.EncodeIcon(record, header, false) > 0;
}

}  // namespace

int BuildShpFromCells(const std::string& output, const CBmpDib& bitmap, bool threeByThree) {
    if (!bitmap.Bits()) return 0;
    const int columns = threeByThree ? 3 : 9;
    const int rows = threeByThree ? 3 : 1;
    const int cellWidth = bitmap.Width() / columns;
    const int cellHeight = bitmap.Height() / rows;
    if (!CBmpOrvel::SizeFits(cellWidth, cellHeight)) return 0;
    std::vector<std::vector<std::uint8_t>> records(kIcons);
    for (int k = 0; k < kIcons; ++k) {
        CBmpOrvel cell;
        cell.CreateLike(cellWidth, cellHeight, bitmap);
        if (!cell.Allocate()) return 0;
        const int x = (k % columns) * cellWidth;
        const int y = (k / columns) * cellHeight;
        if (bitmap.CopyRectTo(x, y, x + cellWidth, y + cellHeight, cell, 0, 0) == 0) return 0;
        if (!EncodeRecord(cell, records[size_t(k)])) return 0;
    }
    return WriteRecords(output, records) ? 1 : 0;
}

int BuildShpWithClones(const std::string& output, const CBmpDib& bitmap) {
    if (!bitmap.Bits()) return 0;
    CBmpOrvel icon(bitmap);
    std::vector<std::uint8_t> record;
    if (!EncodeRecord(icon, record)) return 0;
    return WriteRecords(output, std::vector<std::vector<std::uint8_t>>(kIcons, record)) ? 1 : 0;
}

}  // namespace pixmond
