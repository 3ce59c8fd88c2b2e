#pragma once
#include <string>

namespace pixmond {

class CBmpDib;

// Nine-icon SHP files made from one bitmap, written safely (beside the output, then renamed over it).
// Pictures that are not 8-bit take the default palette; 8-bit indices are kept as they are.

// Cuts the bitmap into nine equal cells, 3 x 3 (cell k at column k mod 3, row k div 3) or 9 x 1 (cell k at
// column k); remainders of the division are not used. 1 on success, 0 when a cell is not an icon size
// (2..640 x 2..480) or the file cannot be written.
int BuildShpFromCells(const std::string& output, const CBmpDib& bitmap, bool threeByThree);
// Nine icons cut from a 3 x 3 sheet.
inline int BuildShpFromSheet(const std::string& output, const CBmpDib& bitmap) {
    return BuildShpFromCells(output, bitmap, true);
}
// Nine copies of one icon made of the whole bitmap; 0 when it is not an icon size or cannot be written.
int BuildShpWithClones(const std::string& output, const CBmpDib& bitmap);

}  // namespace pixmond
