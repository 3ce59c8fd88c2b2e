#include "archive/CFakefile.h"

#include "base/TextLines.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {

// Lines longer than 1023 characters are read in pieces.
constexpr size_t kMaxLine = 1023;

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimRightWhite(std::string_view text) {
    while (!text.empty() && IsWhite(text.back())) text.remove_suffix(1);
    return text;
}

// The next field of a line split at ';' where runs of separators count as one, as strtok does.
bool NextField(std::string_view& rest, std::string_view& field) {
    const size_t start = rest.find_first_not_of(';');
    if (start == std::string_view::npos) return false;
    rest.remove_prefix(start);
    const size_t stop = rest.find(';');
    field = rest.substr(0, stop);
    rest.remove_prefix(stop == std::string_view::npos ? rest.size() : stop);
    return true;
}

}  // namespace

bool CFakefile::Load(const std::filesystem::path& path) {
    map_.clear();
    count_ = 0;
    const auto text = ReadWholeFile(path);
    if (!text) return false;
    fileName_ = path;
    return LoadText(*text);
}

bool CFakefile::LoadText(std::string_view text) {
    map_.clear();
    ForEachTextLine(text, kMaxLine, [this](std::string_view line) { ReadLine(line); });
    count_ = int(map_.size());
    return count_ > 0;
}

void CFakefile::ReadLine(std::string_view line) {
    // Comments are recognised on the very first character, before any blank is skipped.
    if (line.empty() || line[0] == '*' || line[0] == '#') return;
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return;
    line.remove_prefix(start);
    while (!line.empty() && line.back() == '\t') line.remove_suffix(1);

    std::string_view fake, real;
    if (!NextField(line, fake) || !NextField(line, real)) return;
    fake = TrimRightWhite(fake);
    const size_t realStart = real.find_first_not_of(' ');
    real = TrimRightWhite(realStart == std::string_view::npos ? std::string_view() : real.substr(realStart));
    // A name that is only blanks could never be matched; such a line declares nothing.
    if (fake.empty() || real.empty()) return;
    std::string key = ToUpper(fake);
    map_[key] = CStrNode{key, ToUpper(real)};
}

bool CFakefile::IsFake(const std::string& name) const {
    if (count_ == 0 || name.empty()) return false;
    return map_.count(name) != 0;
}

}  // namespace pixmond
