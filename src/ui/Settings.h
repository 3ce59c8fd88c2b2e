#pragma once
#include <string>

namespace pixmond {

// The per-user settings store: values by section and name, kept between runs.
class Settings {
public:
    virtual ~Settings() = default;
    virtual std::string GetString(const std::string& section, const std::string& name,
                                  const std::string& fallback = {}) const = 0;
    virtual int GetInt(const std::string& section, const std::string& name, int fallback) const = 0;
    virtual bool Has(const std::string& section, const std::string& name) const = 0;
    virtual void SetString(const std::string& section, const std::string& name, const std::string& value) = 0;
    virtual void SetInt(const std::string& section, const std::string& name, int value) = 0;
    virtual void Remove(const std::string& section, const std::string& name) = 0;
    // Makes the values written so far permanent; false when the store could not be written.
    virtual bool Flush() = 0;
};

}  // namespace pixmond
