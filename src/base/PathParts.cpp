#include "base/PathParts.h"

namespace pixmond {

PathParts PathParts::Of(const std::string& path) {
    PathParts parts;
    const size_t slash = path.find_last_of("/\\");
    parts.folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    parts.name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = parts.name.find_last_of('.');
    if (dot == std::string::npos) {
        parts.title = parts.name;
    } else {
        parts.title = parts.name.substr(0, dot);
        parts.extension = parts.name.substr(dot);
    }
    parts.withoutExtension = parts.folder + parts.title;
    return parts;
}

}  // namespace pixmond
