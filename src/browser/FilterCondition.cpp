#include "browser/FilterCondition.h"

#include "base/TextCase.h"

namespace pixmond {

std::vector<std::string> FilterCondition::Split(std::string_view filter) {
    std::vector<std::string> pieces;
    size_t at = 0;
    while (at < filter.size()) {
        const size_t start = filter.find_first_not_of("$&", at);
        if (start == std::string_view::npos) break;
        const size_t end = filter.find_first_of("$&", start);
        pieces.emplace_back(filter.substr(start, end == std::string_view::npos ? end : end - start));
        at = end;
    }
    return pieces;
}

bool FilterCondition::Holds(std::string_view condition, std::string_view value) {
    const std::string c = ToUpper(Trim(condition));
    const std::string v = ToUpper(Trim(value));
    if (c == "{}") return v.empty();
    if (c == "!" || c == "~") return !v.empty();
    if (!c.empty() && c.front() == '!') return v.find(std::string_view(c).substr(1)) == std::string::npos;
    return v.find(c) != std::string::npos;
}

std::string_view FilterCondition::Trim(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

}  // namespace pixmond
