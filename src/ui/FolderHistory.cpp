#include "ui/FolderHistory.h"

#include <algorithm>

#include "base/Format.h"
#include "ui/Settings.h"

namespace pixmond {

namespace {
// Stale values are looked for up to this index; a history never reaches it.
constexpr size_t kLastIndex = 999;

std::string TrimSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}
}  // namespace

std::string FolderHistory::ValueName(size_t index) const { return Format("%s%04zu", prefix_.c_str(), index); }

std::string FolderHistory::LastValueName() const {
    if (!lastName_.empty()) return lastName_;
    return prefix_.empty() ? "Last" : prefix_;
}

void FolderHistory::Load(const Settings& settings) {
    for (size_t i = 0; i < maximum_; ++i) {
        const std::string value = settings.GetString(section_, ValueName(i));
        if (value.empty()) break;
        if (!exists_ || exists_(value)) entries_.push_back(value);
    }
    if (!restoreLast_) return;
    SetCurrent(settings.GetString(section_, LastValueName()));
}

void FolderHistory::SetCurrent(std::string text) {
    const auto found = std::find(entries_.begin(), entries_.end(), text);
    selection_ = found == entries_.end() ? -1 : int(found - entries_.begin());
    current_ = std::move(text);
}

void FolderHistory::Select(int row) {
    if (row < 0 || row >= int(entries_.size())) {
        selection_ = -1;
        return;
    }
    selection_ = row;
    current_ = entries_[size_t(row)];
}

int FolderHistory::Add(const std::string& text) {
    if (section_.empty() && prefix_.empty()) {
        entries_.push_back(text);
        return int(entries_.size()) - 1;
    }
    const std::string entry = TrimSpaces(text);
    if (entry.empty()) return -1;
    std::erase(entries_, entry);
    entries_.insert(entries_.begin(), entry);
    if (entries_.size() > maximum_) entries_.resize(maximum_);
    selection_ = 0;
    current_ = entry;
    return 0;
}

void FolderHistory::Save(Settings& settings) {
    if (!current_.empty()) Add(current_);
    const size_t count = std::min(entries_.size(), maximum_ + 1);
    for (size_t i = 0; i < count; ++i) settings.SetString(section_, ValueName(i), entries_[i]);
    for (size_t i = count; i <= kLastIndex; ++i) {
        const std::string name = ValueName(i);
        if (!settings.Has(section_, name)) break;
        settings.Remove(section_, name);
    }
    if (restoreLast_) settings.SetString(section_, LastValueName(), current_);
}

void FolderHistory::Clear(Settings* store) {
    entries_.clear();
    current_.clear();
    selection_ = -1;
    if (!store) return;
    for (size_t i = 0; i <= kLastIndex; ++i) {
        const std::string name = ValueName(i);
        if (!store->Has(section_, name)) break;
        store->Remove(section_, name);
    }
    store->Remove(section_, LastValueName());
}

}  // namespace pixmond
