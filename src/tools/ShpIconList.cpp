#include "tools/ShpIconList.h"

#include <utility>

#include "base/Format.h"

namespace pixmond {

bool ShpIconList::Remove(int row) {
    if (row < 0 || row >= Count()) return false;
    titles_.erase(titles_.begin() + row);
    return true;
}

int ShpIconList::Move(int row, int delta) {
    if (row < 0 || row >= Count() || delta == 0) return -1;
    const int to = delta < 0 ? row - 1 : row + 1;
    if (to < 0 || to >= Count()) return -1;
    std::swap(titles_[size_t(row)], titles_[size_t(to)]);
    return to;
}

std::vector<std::string> ShpIconList::Rows() const {
    std::vector<std::string> rows;
    rows.reserve(titles_.size());
    for (size_t i = 0; i < titles_.size(); ++i) rows.push_back(Format("#%03d : %s", int(i + 1), titles_[i].c_str()));
    return rows;
}

std::string ShpIconList::TitleOfRow(const std::string& row) {
    const size_t at = row.find(": ");
    return at == std::string::npos ? row : row.substr(at + 2);
}

}  // namespace pixmond
