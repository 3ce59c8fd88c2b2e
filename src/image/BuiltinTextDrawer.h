#pragma once
#include "image/TextDrawer.h"

namespace pixmond {

// Text drawing without a display: a small built-in bitmap font, the same pixels on every machine.
class BuiltinTextDrawer : public TextDrawer {
public:
    void DrawCentred(CBmpDib& target, int x, int y, int width, int height, const std::string& text, int fontIndex,
                     Rgb colour) override;
    int TextHeight(int fontIndex) const override;
};

}  // namespace pixmond
