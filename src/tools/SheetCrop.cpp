#include "tools/SheetCrop.h"

#include <algorithm>
#include <cstring>

#include "image/CBmp.h"

namespace pixmond {

namespace {

constexpr int kMinCellWidth = 80;
constexpr int kMinCellHeight = 50;

bool SamePixel(const std::uint8_t* a, const std::uint8_t* b, int bytes) { return std::memcmp(a, b, size_t(bytes)) == 0; }

}  // namespace

ContentBox FindContentBox(const CBmp& picture) {
    ContentBox box;
    const int width = picture.Width(), height = picture.Height();
    const int bytes = std::max(1, picture.BitsPerPixel() / 8);
    if (!picture.Bits() || width <= 0 || height <= 0) return box;
    const std::uint8_t* background = picture.Bits() + picture.Offset(0, 0);
    // Start values past any column and row, so that they only survive a picture without content.
    int left = std::max(640, width + 1), right = 0, top = std::max(480, height + 1), bottom = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = picture.Bits() + picture.Offset(0, y);
        bool marked = false;
        for (int x = 0; x < width; ++x) {
            if (SamePixel(row + size_t(x) * bytes, background, bytes)) continue;
            right = std::max(right, x);
            left = std::min(left, x);
            if (!box.found) top = y;
            box.found = true;
            marked = true;
        }
        if (marked) bottom = y;
    }
    if (left > width) left = 0;
    if (right < 1) right = width;
    if (top > height) top = 1;
    if (bottom < 1) bottom = top + 1;
    box.left = left;
    box.top = std::min(top, height - 1);
    box.width = std::min(right - left + 1, width - left);
    box.height = std::min(bottom - box.top + 1, height - box.top);
    box.bottomMargin = height - bottom;
    return box;
}

bool CropSheet(CBmp& picture) {
    const int bits = picture.BitsPerPixel();
    if (!picture.Bits() || bits < 24 || picture.Width() < 3 || picture.Height() < 3 || picture.Width() % 3 != 0 ||
        picture.Height() % 3 != 0)
        return false;
    const int cellWidth = picture.Width() / 3, cellHeight = picture.Height() / 3;
    CBmp cells[9];
    ContentBox boxes[9];
    int wide = kMinCellWidth, high = kMinCellHeight;
    for (int i = 0; i < 9; ++i) {
        cells[i].Create(cellWidth, cellHeight, bits, picture.TopDown());
        if (!cells[i].Allocate()) return false;
        const int x = (i % 3) * cellWidth, y = (i / 3) * cellHeight;
        picture.CopyRectTo(x, y, x + cellWidth, y + cellHeight, cells[i], 0, 0);
        boxes[i] = FindContentBox(cells[i]);
        if (!boxes[i].found) continue;
        wide = std::max(wide, boxes[i].width);
        high = std::max(high, boxes[i].height);
    }
    // The first icon decides for all: one that sits nearer the bottom of its cell than the top is set on
    // the bottom of every cell.
    const ContentBox& first = boxes[0];
    const bool bottomAligned =
        first.bottomMargin < first.top || (first.bottomMargin == first.top && first.top != 0);

    picture.Create(3 * wide, 3 * high, bits, picture.TopDown());
    if (!picture.Allocate()) return false;
    picture.Fill(0);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) picture.SetColour(x, y, MakeRgb(248, 228, 216));
    for (int i = 0; i < 9; ++i) {
        const ContentBox& box = boxes[i];
        if (!box.found) continue;
        int x = (i % 3) * wide, y = (i / 3) * high;
        if (wide - box.width > 1) x += (wide - box.width) / 2;
        if (bottomAligned) y += high - box.height;
        cells[i].CopyRectTo(box.left, box.top, box.left + box.width, box.top + box.height, picture, x, y);
    }
    return true;
}

}  // namespace pixmond
