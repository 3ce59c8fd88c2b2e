#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pixmond {

// Splits text into lines the way a fixed 1024-byte line buffer reads a Windows text file: CRLF and LF end a
// line, and a line longer than maxChars comes out as several lines. The line end is not part of a line.
void ForEachTextLine(std::string_view text, size_t maxChars, const std::function<void(std::string_view)>& onLine);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace pixmond
