#include "base/Format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace pixmond {

std::string FormatV(const char* fmt, va_list args) {
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, args);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(size_t(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), fmt, again);
        out.assign(buffer.data(), size_t(needed));
    }
    va_end(again);
    return out;
}

std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = FormatV(fmt, args);
    va_end(args);
    return out;
}

}  // namespace pixmond
