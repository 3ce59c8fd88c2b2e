#include "image/IconSource.h"

#include "base/ReadOnlyFile.h"
#include "image/PngIconSource.h"
#include "image/S16IconSource.h"
#include "image/ShpIconSource.h"

namespace pixmond {

IconBytes IconBytes::OfFile(const std::string& path) { return {ReadOnlyFile::Open(path), 0, path}; }

std::unique_ptr<IconSource> OpenIconSource(IconKind kind, const IconBytes& bytes, Messages& messages) {
    switch (kind) {
        case IconKind::Shp: return std::make_unique<ShpIconSource>(bytes);
        case IconKind::S16: return std::make_unique<S16IconSource>(bytes);
        case IconKind::Png: return std::make_unique<PngIconSource>(bytes, messages);
        default: return nullptr;
    }
}

}  // namespace pixmond
