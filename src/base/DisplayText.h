#pragma once
#include <string>
#include <string_view>

namespace pixmond {

bool IsValidUtf8(std::string_view text);
// Names and texts as bytes from disk or from an archive: UTF-8 stays, anything else is read as Windows-1252,
// so every name shows as something legible and no byte is dropped.
std::string DisplayText(std::string_view bytes);

}  // namespace pixmond
