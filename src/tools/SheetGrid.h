#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

namespace pixmond {

// How the icons of one entry lie on its sheet: in cells of the largest icon's size, each icon at its cell's
// top-left, three to a row for a unit's nine icons, else rows of ten. Icons are numbered from 1.
struct SheetGrid {
    struct Size {
        int width = 0;
        int height = 0;
    };

    int count = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    int columns = 0;
    int rows = 0;

    // sizes: one per icon; an icon that cannot be read is given as 0 x 0 and still takes its cell.
    static SheetGrid For(const std::vector<Size>& sizes) {
        SheetGrid grid;
        grid.count = int(sizes.size());
        for (const Size& s : sizes) {
            grid.cellWidth = std::max(grid.cellWidth, s.width);
            grid.cellHeight = std::max(grid.cellHeight, s.height);
        }
        if (grid.count == 0 || grid.cellWidth < 1 || grid.cellHeight < 1) return SheetGrid{};
        grid.columns = grid.count == 9 ? 3 : std::min(grid.count, 10);
        grid.rows = (grid.count + grid.columns - 1) / grid.columns;
        return grid;
    }

    bool Empty() const { return count == 0; }
    std::int64_t Width() const { return std::int64_t(cellWidth) * columns; }
    std::int64_t Height() const { return std::int64_t(cellHeight) * rows; }
    int CellX(int n) const { return ((n - 1) % columns) * cellWidth; }
    int CellY(int n) const { return ((n - 1) / columns) * cellHeight; }
    bool operator==(const SheetGrid&) const = default;
};

}  // namespace pixmond
