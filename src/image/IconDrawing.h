#pragma once

namespace pixmond {

class Canvas;
class CBmpDib;
struct Rect;

// Zoom factors the views offer.
inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 5;

// Draws a decoded icon at the rectangle's top-left corner as the views show it: a side larger than the
// rectangle shrinks to the rectangle less two pixels, otherwise the icon is zoomed (limited to the
// rectangle when limitZoom is set) or drawn 1:1. The picture's mirror flag applies.
void DrawFitted(const CBmpDib& picture, Canvas& canvas, const Rect& rect, int zoom, bool limitZoom);

}  // namespace pixmond
