#pragma once

namespace pixmond {

class CBmp;

// Where a picture's content lies: everything whose colour differs from the pixel at (0, 0).
struct ContentBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int bottomMargin = 0;  // rows below the content
    bool found = false;    // false: the picture is all background
};

// The content box, with the icon encoder's fallbacks for a picture without content (left 0, right the
// width, top 1, bottom top + 1). The box never reaches past the picture.
ContentBox FindContentBox(const CBmp& picture);

// Rebuilds a 3 x 3 sheet of icons (24 or 32 bits, sides divisible by 3) with cells just large enough for
// the largest icon (at least 80 x 50): each icon centred across its cell and, when the first icon sits low
// in its cell, set on the cell's bottom. The sheet's background becomes the transparent colour
// (248, 228, 216). Cells without content are left empty. False when the picture is not such a sheet.
bool CropSheet(CBmp& picture);

}  // namespace pixmond
