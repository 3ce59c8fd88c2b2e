#pragma once
#include <cstdarg>
#include <string>

namespace pixmond {

// printf rules, for the texts that are the program's own.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));

}  // namespace pixmond
