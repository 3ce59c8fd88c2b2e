#pragma once
#include <functional>
#include <string>

namespace pixmond {

class Messages;

// Saves icons 1..count as "<path without extension>_NNN<ext>" (ext by the output image setting) through saveIcon,
// then tells the user how it went. Returns the number of icons not saved.
int SaveNumberedIcons(const std::string& path, int count, int outputImage, Messages& messages,
                      const std::function<bool(int number, const std::string& file)>& saveIcon);

}  // namespace pixmond
