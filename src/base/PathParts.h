#pragma once
#include <string>

namespace pixmond {

// The parts every derived file name is built from. Paths are kept as the user gave them; both '/' and '\' separate.
struct PathParts {
    std::string folder;     // drive and folder with a trailing separator ("" when the path has none)
    std::string title;      // the name without extension
    std::string extension;  // with its dot ("" when none)
    std::string name;       // title + extension
    std::string withoutExtension;  // folder + title

    static PathParts Of(const std::string& path);
};

}  // namespace pixmond
