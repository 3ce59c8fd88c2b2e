#pragma once
#include <map>
#include <string>

#include "ui/Settings.h"

namespace pixmond {

// Settings kept in memory: the base of the file store, and the store of tests.
class MemorySettings : public Settings {
public:
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& fallback = {}) const override;
    int GetInt(const std::string& section, const std::string& name, int fallback) const override;
    bool Has(const std::string& section, const std::string& name) const override;
    void SetString(const std::string& section, const std::string& name, const std::string& value) override;
    void SetInt(const std::string& section, const std::string& name, int value) override;
    void Remove(const std::string& section, const std::string& name) override;
    bool Flush() override { return true; }

    using Values = std::map<std::string, std::map<std::string, std::string>>;
    const Values& All() const { return values_; }

protected:
    Values values_;
    bool dirty_ = false;
};

}  // namespace pixmond
