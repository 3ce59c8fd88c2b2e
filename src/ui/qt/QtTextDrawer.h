#pragma once
#include <QFont>

#include "image/TextDrawer.h"

namespace pixmond {

// Names drawn with the desktop's fonts; the faces of the font table stand for a kind of font (terminal, serif,
// sans, console), matched to what is installed.
class QtTextDrawer : public TextDrawer {
public:
    void DrawCentred(CBmpDib& target, int x, int y, int width, int height, const std::string& text, int fontIndex,
                     Rgb colour) override;
    int TextHeight(int fontIndex) const override;
    static QFont FontFor(int fontIndex);
};

}  // namespace pixmond
