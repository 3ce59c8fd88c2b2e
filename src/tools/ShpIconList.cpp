#include "tools/ShpIconList.h"

#include <utility>

namespace pixmond {

bool ShpIconList::Remove(int position) {
    if (position < 0 || position >= Count()) return false;
    titles_.erase(titles_.begin() + position);
    return true;
}

int ShpIconList::Move(int position, int delta) {
    if (position < 0 || position >= Count() || delta == 0) return -1;
    const int to = delta < 0 ? position - 1 : position + 1;
    if (to < 0 || to >= Count()) return -1;
    std::swap(titles_[size_t(position)], titles_[size_t(to)]);
    return to;
}

}  // namespace pixmond
