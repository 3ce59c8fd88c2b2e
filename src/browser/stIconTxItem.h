#pragma once
#include <array>
#include <string>

namespace pixmond {

// The description fields of one icon, in the order of the description file's columns.
enum DescriptionField { kDesc = 0, kColor, kType, kCountry, kChassis, kStyle, kDescriptionFieldCount };

// The names the browser and the filter log give the fields.
inline constexpr std::array<const char*, kDescriptionFieldCount> kDescriptionFieldNames = {
    "Desc.", "Color", "Type", "Country", "Chassis", "Style/Family"};

// One line of the description file: six strings, kept exactly as read (no trimming).
struct stIconTxItem {
    std::array<std::string, kDescriptionFieldCount> field;

    bool operator==(const stIconTxItem&) const = default;
};

}  // namespace pixmond
