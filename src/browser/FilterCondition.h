#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pixmond {

// The small condition language of the descriptive filters. A filter is split at '$' and '&' into
// conditions that must all hold: "{}" (empty), "~" or "!" (not empty), "!text" (does not contain text),
// anything else (contains it). Letter case never matters.
class FilterCondition {
public:
    // The pieces of a filter, kept as typed; runs of '$' and '&' are one break, empty pieces dropped.
    static std::vector<std::string> Split(std::string_view filter);
    // value is the field as it stands; both sides are trimmed and compared in upper case.
    static bool Holds(std::string_view condition, std::string_view value);
    // Blanks and tabs off both ends.
    static std::string_view Trim(std::string_view text);
};

}  // namespace pixmond
