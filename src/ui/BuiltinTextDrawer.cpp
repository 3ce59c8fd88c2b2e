#include "ui/BuiltinTextDrawer.h"

namespace pixmond {

// The glyphs arrive with the icon catalog; until then names are not drawn.
void BuiltinTextDrawer::DrawCentred(CBmpDib&, int, int, int, int, const std::string&, int, Rgb) {}

int BuiltinTextDrawer::TextHeight(int) const { return 8; }

}  // namespace pixmond
