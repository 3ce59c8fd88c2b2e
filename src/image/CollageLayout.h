#pragma once

namespace pixmond {

// Where the icons of a collage go in an area: rows filled left to right, a new row when the next icon would
// pass the right edge, and the end when a row would pass the bottom. A file of exactly nine icons (a unit's
// nine views) is laid out three to a row so that it reads as a square.
class CollageLayout {
public:
    struct Rules {
        int start = 0;     // x and y of the first icon
        int gap = 0;       // pixels after every icon of a row
        int rowGap = 0;    // pixels between rows
        bool cut = false;  // icons larger than the area are shrunk to it (drawn collages only)
    };
    // SHP collages: icons touch, starting in the corner.
    static Rules Shp(bool drawn) { return {0, 0, 0, drawn}; }
    // S16 collages keep a one-pixel frame and gaps; tight drops the gaps. Sizing leaves two pixels between
    // rows where placing leaves one, so a sized collage always holds what is placed in it.
    static Rules S16Drawn() { return {1, 1, 1, true}; }
    static Rules S16Sized(bool tight) { return {1, tight ? 0 : 1, tight ? 0 : 2, false}; }
    static Rules S16Saved(bool tight) { return {1, tight ? 0 : 1, tight ? 0 : 1, false}; }

    struct Cell {
        int x = 0;
        int y = 0;
        int width = 0;   // after the cut
        int height = 0;
    };

    CollageLayout(Rules rules, int areaWidth, int areaHeight, int iconCount);

    // Places the next icon of the given size; false when it does not fit, which ends the collage.
    bool Place(int width, int height, Cell& cell);

    int Placed() const { return placed_; }
    // The extent of what was placed: the furthest right edge (gap included) and the last row's bottom.
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    Rules rules_;
    int areaWidth_;
    int areaHeight_;
    bool squareOfNine_;
    int x_;
    int y_;
    int rowBottom_;
    int inRow_ = 0;
    int placed_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool finished_ = false;
};

}  // namespace pixmond
