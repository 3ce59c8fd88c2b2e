#include "image/BuiltinTextDrawer.h"

#include <algorithm>
#include <cstdint>

#include "image/CBmpDib.h"
#include "image/FontTable.h"

namespace pixmond {

namespace {

#include "image/BuiltinFontGlyphs.inc"

// What stands for a byte the font has no glyph for (control characters, bytes above 126): a hollow box,
// so a strange name still shows how many characters it has.
constexpr std::uint8_t kSmallMissing[kSmallHeight] = {0xf0, 0x90, 0x90, 0x90, 0x90, 0xf0, 0x00};
constexpr std::uint8_t kRegularMissing[kRegularHeight] = {0x00, 0xf8, 0x88, 0x88, 0x88, 0x88, 0x88, 0xf8, 0x00, 0x00};

struct BuiltinFace {
    int width;
    int height;
    const std::uint8_t* glyphs;   // 95 glyphs of height bytes each
    const std::uint8_t* missing;  // height bytes

    const std::uint8_t* RowsOf(unsigned char c) const {
        return c >= 32 && c <= 126 ? glyphs + size_t(c - 32) * size_t(height) : missing;
    }
};

constexpr BuiltinFace kSmall{kSmallWidth, kSmallHeight, &kSmallGlyphs[0][0], kSmallMissing};
constexpr BuiltinFace kRegular{kRegularWidth, kRegularHeight, &kRegularGlyphs[0][0], kRegularMissing};

// The small face stands in for the 6-point rows of the font table, the regular one for every other.
const BuiltinFace& FaceFor(int fontIndex) { return FontAt(fontIndex).size <= 60 ? kSmall : kRegular; }

}  // namespace

void BuiltinTextDrawer::DrawCentred(CBmpDib& target, int x, int y, int width, int height, const std::string& text,
                                    int fontIndex, Rgb colour) {
    if (width <= 0 || height <= 0 || text.empty() || !target.Bits()) return;
    if (target.BitsPerPixel() != 24 && target.BitsPerPixel() != 32) return;
    const BuiltinFace& face = FaceFor(fontIndex);
    const std::int64_t textWidth = std::int64_t(text.size()) * face.width;
    // A text wider than the box keeps its beginning: names are told apart by their first characters.
    const std::int64_t left = x + std::max<std::int64_t>(0, (width - textWidth) / 2);
    const std::int64_t top = y + (height - face.height) / 2;
    const std::int64_t clipLeft = std::max(0, x), clipTop = std::max(0, y);
    const std::int64_t clipRight = std::min<std::int64_t>(std::int64_t(x) + width, target.Width());
    const std::int64_t clipBottom = std::min<std::int64_t>(std::int64_t(y) + height, target.Height());
    for (size_t i = 0; i < text.size(); ++i) {
        const std::int64_t gx = left + std::int64_t(i) * face.width;
        if (gx >= clipRight) break;
        const std::uint8_t* rows = face.RowsOf(static_cast<unsigned char>(text[i]));
        for (int row = 0; row < face.height; ++row) {
            const std::int64_t ty = top + row;
            if (ty < clipTop || ty >= clipBottom || rows[row] == 0) continue;
            for (int col = 0; col < 8; ++col) {
                const std::int64_t tx = gx + col;
                if ((rows[row] & (0x80 >> col)) && tx >= clipLeft && tx < clipRight) target.SetColour(int(tx), int(ty), colour);
            }
        }
    }
}

int BuiltinTextDrawer::TextHeight(int fontIndex) const { return FaceFor(fontIndex).height; }

}  // namespace pixmond
