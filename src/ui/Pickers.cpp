#include "ui/Pickers.h"

#include "ui/FileSystem.h"
#include "base/Format.h"
#include "ui/Messages.h"

namespace pixmond {

std::string WithTrailingSeparator(const std::string& folder) {
    if (folder.empty()) return folder;
    const char last = folder.back();
    if (last == '/' || last == '\\') return folder;
    // A Windows-style path keeps its own separator.
    const bool backslashes = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
    return folder + (backslashes ? '\\' : '/');
}

bool AcceptChosenFolder(const std::string& folder, const FileSystem& files, Messages& messages) {
    if (folder.empty()) {
        messages.Notice("Please select a folder.");
        return false;
    }
    if (!files.Exists(folder)) {
        messages.Notice(Format("The folder '%s' isn't accessible.", folder.c_str()));
        return false;
    }
    return true;
}

std::vector<FilterEntry> ParseFilter(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < filter.size()) {
        const size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<FilterEntry> out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        FilterEntry entry{parts[i], {}};
        const std::string& list = parts[i + 1];
        size_t from = 0;
        while (from <= list.size()) {
            const size_t semi = list.find(';', from);
            const std::string pattern = list.substr(from, semi == std::string::npos ? std::string::npos : semi - from);
            if (!pattern.empty()) entry.patterns.push_back(pattern);
            if (semi == std::string::npos) break;
            from = semi + 1;
        }
        if (!entry.description.empty() && !entry.patterns.empty()) out.push_back(std::move(entry));
    }
    return out;
}

}  // namespace pixmond
