#include "base/TextLines.h"

#include <cstdio>

namespace pixmond {

void ForEachTextLine(std::string_view text, size_t maxChars, const std::function<void(std::string_view)>& onLine) {
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        // A CR directly before LF belongs to the line end, as text mode reads it.
        size_t counted = 0;
        while (end < text.size() && text[end] != '\n' && counted < maxChars) {
            if (!(text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')) ++counted;
            ++end;
        }
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r' && end < text.size() && text[end] == '\n') line.remove_suffix(1);
        if (end < text.size() && text[end] == '\n') ++end;
        at = end;
        onLine(line);
    }
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string out;
    char buffer[1 << 16];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) out.append(buffer, got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace pixmond
