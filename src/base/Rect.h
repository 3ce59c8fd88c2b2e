#pragma once

namespace pixmond {

// A window area: left and top inside, right and bottom just outside, as the views measure their client area.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    static Rect OfSize(int width, int height) { return {0, 0, width, height}; }
};

}  // namespace pixmond
