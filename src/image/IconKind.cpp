#include "image/IconKind.h"

#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {

constexpr int kSheetMinWidth = 240;
constexpr int kSheetMinHeight = 150;

}  // namespace

IconKind IconKindOfName(std::string_view name) {
    const std::string extension = PathParts::Of(std::string(name)).extension;
    if (EqualIgnoringCase(extension, ".shp")) return IconKind::Shp;
    if (EqualIgnoringCase(extension, ".s16")) return IconKind::S16;
    if (EqualIgnoringCase(extension, ".png")) return IconKind::Png;
    return IconKind::Other;
}

IconKind IconKindOfEntryName(std::string_view upperName) {
    IconKind kind = IconKind::Other;
    if (upperName.find("S16") != std::string_view::npos) kind = IconKind::S16;
    if (upperName.find("SHP") != std::string_view::npos) kind = IconKind::Shp;
    if (upperName.find("PNG") != std::string_view::npos) kind = IconKind::Png;
    return kind;
}

const char* IconKindName(IconKind kind) {
    switch (kind) {
        case IconKind::Shp: return "SHP";
        case IconKind::S16: return "S16";
        case IconKind::Png: return "PNG";
        default: return "other";
    }
}

bool IsIconSheet(int width, int height) {
    return width >= kSheetMinWidth && height >= kSheetMinHeight && width % 3 == 0 && height % 3 == 0;
}

void SheetIconSize(int& width, int& height) {
    if (!IsIconSheet(width, height)) return;
    width /= 3;
    height /= 3;
}

}  // namespace pixmond
