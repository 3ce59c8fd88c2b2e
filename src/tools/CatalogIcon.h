#pragma once
#include <string>

#include "image/IconKind.h"

namespace pixmond {

// Where the catalogued files come from.
enum class CatalogSource { Archive = 0, Folder = 1 };

// One catalogued file: the size of its view icon as measured when collected, and where to read it again.
struct CatalogIcon {
    int width = 0;
    int height = 0;
    std::string name;  // the first 12 characters of the file or entry name, written under the icon
    std::string file;  // the whole name: the folder source reads the file by it, the sets are ordered by it
    int entry = -1;    // entry-table index for the archive source, -1 for the folder source
    IconKind kind = IconKind::Other;
};

}  // namespace pixmond
