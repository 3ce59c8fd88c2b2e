#include <gtest/gtest.h>

#include "image/CBmpDib.h"
#include "image/BuiltinTextDrawer.h"
#include "image/FontTable.h"

namespace pixmond {
namespace {

constexpr Rgb kInk = MakeRgb(1, 2, 3);

struct Ink {
    int count = 0;
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

CBmpDib Blank(int width, int height) {
    CBmpDib target;
    target.Create(width, height, 24);
    target.Allocate();
    target.Fill(255);
    return target;
}

Ink InkOf(const CBmpDib& target) {
    Ink ink;
    for (int y = 0; y < target.Height(); ++y)
        for (int x = 0; x < target.Width(); ++x) {
            if (target.PixelRgb(x, y) != kInk) continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

TEST(BuiltinTextDrawer, CentresTheTextInItsBox) {
    BuiltinTextDrawer text;
    CBmpDib target = Blank(120, 40);
    text.DrawCentred(target, 10, 5, 90, 16, "TIGER.SHP", kDefaultFontRow, kInk);
    const Ink ink = InkOf(target);
    ASSERT_GT(ink.count, 40);
    EXPECT_GE(ink.left, 10);
    EXPECT_LT(ink.right, 100);
    EXPECT_GE(ink.top, 5);
    EXPECT_LT(ink.bottom, 21);
    // As much room on either side, give or take the blank column of the last glyph.
    EXPECT_LE(std::abs((ink.left - 10) - (99 - ink.right)), 2);
    EXPECT_LE(std::abs((ink.top - 5) - (20 - ink.bottom)), 3);
}

TEST(BuiltinTextDrawer, ClipsToTheBoxAndTheBitmapAndKeepsTheBeginningOfALongText) {
    BuiltinTextDrawer text;
    CBmpDib target = Blank(60, 20);
    text.DrawCentred(target, 5, 0, 20, 16, "WWWWWWWWWWWW", kDefaultFontRow, kInk);
    Ink ink = InkOf(target);
    ASSERT_GT(ink.count, 0);
    EXPECT_EQ(ink.left, 5);  // the first W starts at the box's edge
    EXPECT_LT(ink.right, 25);

    CBmpDib edge = Blank(30, 10);
    text.DrawCentred(edge, -12, -6, 60, 16, "MMMMMMMMMM", kDefaultFontRow, kInk);
    text.DrawCentred(edge, 20, 4, 60, 16, "MMMMMMMMMM", kDefaultFontRow, kInk);
    EXPECT_GT(InkOf(edge).count, 0);

    CBmpDib none = Blank(30, 10);
    text.DrawCentred(none, 0, 0, 0, 16, "M", kDefaultFontRow, kInk);
    text.DrawCentred(none, 0, 0, 30, 10, "", kDefaultFontRow, kInk);
    EXPECT_EQ(InkOf(none).count, 0);
}

TEST(BuiltinTextDrawer, BytesWithoutAGlyphStillShowAndSmallRowsUseTheSmallFace) {
    BuiltinTextDrawer text;
    CBmpDib latin = Blank(40, 16);
    text.DrawCentred(latin, 0, 0, 40, 16, "\xF6\x01", kDefaultFontRow, kInk);
    EXPECT_GT(InkOf(latin).count, 0);
    CBmpDib space = Blank(40, 16);
    text.DrawCentred(space, 0, 0, 40, 16, "   ", kDefaultFontRow, kInk);
    EXPECT_EQ(InkOf(space).count, 0);

    EXPECT_LT(text.TextHeight(0), text.TextHeight(kDefaultFontRow));
    CBmpDib small = Blank(90, 16), regular = Blank(90, 16);
    text.DrawCentred(small, 0, 0, 90, 16, "ABCDEFGHIJKL", 0, kInk);
    text.DrawCentred(regular, 0, 0, 90, 16, "ABCDEFGHIJKL", kDefaultFontRow, kInk);
    const Ink a = InkOf(small), b = InkOf(regular);
    EXPECT_LT(a.right - a.left, b.right - b.left);
    EXPECT_LT(a.bottom - a.top, b.bottom - b.top);
    // Twelve characters, the longest name shown, fit a box of the smallest width.
    EXPECT_GT(b.left, 0);
    EXPECT_LT(b.right, 89);
}

}  // namespace
}  // namespace pixmond
