#pragma once
#include <string>
#include <vector>

namespace pixmond {

// The Shp maker's icon list: bitmap titles in the order their icons will take; the title at position p
// (0-based) becomes icon p + 1.
class ShpIconList {
public:
    void Add(const std::string& title) { titles_.push_back(title); }
    // Removes the title at position; false when there is none.
    bool Remove(int position);
    // Moves the title at position one step towards the first icon (negative delta) or the last (positive);
    // returns the position it lands on, or -1 when it cannot move that way.
    int Move(int position, int delta);
    void Clear() { titles_.clear(); }
    int Count() const { return int(titles_.size()); }
    const std::vector<std::string>& Titles() const { return titles_; }

private:
    std::vector<std::string> titles_;
};

}  // namespace pixmond
