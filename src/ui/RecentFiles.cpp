#include "ui/RecentFiles.h"

#include <algorithm>

#include "base/Format.h"
#include "ui/Settings.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {
constexpr const char* kSection = "Recent File List";
}

void RecentFiles::Load(const Settings& settings) {
    paths_.clear();
    for (size_t i = 1; i <= maximum_; ++i) {
        const std::string path = settings.GetString(kSection, Format("File%zu", i));
        if (!path.empty()) paths_.push_back(path);
    }
}

void RecentFiles::Save(Settings& settings) const {
    for (size_t i = 1; i <= maximum_; ++i) {
        const std::string name = Format("File%zu", i);
        if (i <= paths_.size()) settings.SetString(kSection, name, paths_[i - 1]);
        else settings.Remove(kSection, name);
    }
}

void RecentFiles::Add(const std::string& path) {
    if (path.empty()) return;
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > maximum_) paths_.resize(maximum_);
}

void RecentFiles::Remove(const std::string& path) {
    std::erase_if(paths_, [&](const std::string& p) { return EqualIgnoringCase(p, path); });
}

}  // namespace pixmond
