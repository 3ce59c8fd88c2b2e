#include "base/ByteHash.h"

#include <cstdio>

namespace pixmond {

std::string ByteHash::Text() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value_));
    return text;
}

}  // namespace pixmond
