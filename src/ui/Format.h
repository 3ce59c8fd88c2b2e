#pragma once
#include <string>

namespace pixmond {

// printf rules, for the texts that are the program's own.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace pixmond
