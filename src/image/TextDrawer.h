#pragma once
#include <string>

#include "image/Canvas.h"

namespace pixmond {

class CBmpDib;

// Draws short single-line texts (names under icons) into a 24-bit bitmap.
class TextDrawer {
public:
    virtual ~TextDrawer() = default;
    // Text of one line, Windows-1252, centred in the box; clipped to it and to the bitmap.
    virtual void DrawCentred(CBmpDib& target, int x, int y, int width, int height, const std::string& text,
                             int fontIndex, Rgb colour) = 0;
    virtual int TextHeight(int fontIndex) const = 0;
};

}  // namespace pixmond
