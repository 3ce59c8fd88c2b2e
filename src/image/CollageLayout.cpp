#include "image/CollageLayout.h"

#include <algorithm>

namespace pixmond {

CollageLayout::CollageLayout(Rules rules, int areaWidth, int areaHeight, int iconCount)
    : rules_(rules),
      areaWidth_(areaWidth),
      areaHeight_(areaHeight),
      squareOfNine_(iconCount == 9),
      x_(rules.start),
      y_(rules.start),
      rowBottom_(rules.start) {}

bool CollageLayout::Place(int width, int height, Cell& cell) {
    if (finished_) return false;
    if (rules_.cut) {
        if (width > areaWidth_ - 1) width = areaWidth_ - 3;
        if (height > areaHeight_ - 1) height = areaHeight_ - 3;
    }
    if (width < 1 || height < 1) {
        finished_ = true;
        return false;
    }
    const bool forced = squareOfNine_ && (placed_ == 3 || placed_ == 6);
    // An icon wider than the area starts no empty row of its own: it stays where the row begins.
    if (inRow_ > 0 && (x_ + width + rules_.gap > areaWidth_ || forced)) {
        x_ = rules_.start;
        y_ = rowBottom_ + rules_.rowGap;
        rowBottom_ = y_;
        inRow_ = 0;
    }
    const int bottom = std::max(rowBottom_, y_ + height);
    if (bottom > areaHeight_) {
        finished_ = true;
        return false;
    }
    rowBottom_ = bottom;
    cell = {x_, y_, width, height};
    x_ += width + rules_.gap;
    width_ = std::max(width_, x_);
    height_ = rowBottom_;
    ++placed_;
    ++inRow_;
    return true;
}

}  // namespace pixmond
