#pragma once
#include <string>
#include <vector>

namespace pixmond {

// The Shp maker's icon list: bitmap titles in the order their icons will take, shown as "#%03d : %s" rows
// numbered from 1.
class ShpIconList {
public:
    void Add(const std::string& title) { titles_.push_back(title); }
    // Removes row (0-based); false when there is no such row.
    bool Remove(int row);
    // Moves row one step up (negative delta) or down (positive); returns the row it lands on, or -1 when it
    // cannot move that way.
    int Move(int row, int delta);
    void Clear() { titles_.clear(); }
    int Count() const { return int(titles_.size()); }
    const std::vector<std::string>& Titles() const { return titles_; }
    std::vector<std::string> Rows() const;

    // The title a row shows: what follows its first ": ".
    static std::string TitleOfRow(const std::string& row);

private:
    std::vector<std::string> titles_;
};

}  // namespace pixmond
