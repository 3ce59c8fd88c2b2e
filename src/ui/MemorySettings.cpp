#include "ui/MemorySettings.h"

#include <cerrno>
#include <cstdlib>

namespace pixmond {

std::string MemorySettings::GetString(const std::string& section, const std::string& name,
                                      const std::string& fallback) const {
    const auto s = values_.find(section);
    if (s == values_.end()) return fallback;
    const auto v = s->second.find(name);
    return v == s->second.end() ? fallback : v->second;
}

int MemorySettings::GetInt(const std::string& section, const std::string& name, int fallback) const {
    const auto s = values_.find(section);
    if (s == values_.end()) return fallback;
    const auto v = s->second.find(name);
    if (v == s->second.end() || v->second.empty()) return fallback;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(v->second.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < -2147483647L - 1 || value > 2147483647L) return fallback;
    return int(value);
}

bool MemorySettings::Has(const std::string& section, const std::string& name) const {
    const auto s = values_.find(section);
    return s != values_.end() && s->second.count(name) != 0;
}

void MemorySettings::SetString(const std::string& section, const std::string& name, const std::string& value) {
    values_[section][name] = value;
    dirty_ = true;
}

void MemorySettings::SetInt(const std::string& section, const std::string& name, int value) {
    SetString(section, name, std::to_string(value));
}

void MemorySettings::Remove(const std::string& section, const std::string& name) {
    const auto s = values_.find(section);
    if (s != values_.end() && s->second.erase(name)) dirty_ = true;
}

}  // namespace pixmond
