#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pixmond {

// Splits a Windows text file into lines: CRLF and LF end a line, and a line longer than maxChars characters is
// read in pieces of maxChars, each a line of its own. The line end is not part of a line.
void ForEachTextLine(std::string_view text, size_t maxChars, const std::function<void(std::string_view)>& onLine);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace pixmond
