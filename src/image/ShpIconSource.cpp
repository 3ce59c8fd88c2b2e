#include "image/ShpIconSource.h"

#include <span>

#include "base/Format.h"

namespace pixmond {

ShpIconSource::ShpIconSource(const IconBytes& bytes) : name_(bytes.name) {
    const bool attached = shp_.AttachArchiveFile(bytes.file, bytes.offset);
    shp_.SetFileName(bytes.name);
    if (attached) shp_.ReadDirectory(1);
}

std::string ShpIconSource::Problem() const {
    if (!shp_.IsOpen()) return Format("Cannot open %s", name_.c_str());
    return shp_.Problem();
}

IconGeometry ShpIconSource::Geometry(int n) const {
    if (n < 1 || n > int(shp_.StoredHeaders().size())) return {};
    const ShpIconHeader& h = shp_.StoredHeaders()[size_t(n - 1)];
    return {h.Width(), h.Height(), h.x0, h.y0, h.x1, h.y1, shp_.IconReadable(n)};
}

bool ShpIconSource::Decode(int n) { return shp_.SelectIcon(n) == n && shp_.DecodeIcon() > 0; }

bool ShpIconSource::CopyIcon(CBmp& target, int x, int y) const {
    if (!target.Bits() || target.BitsPerPixel() != 24) return false;
    const std::span<std::uint8_t> pixels(target.Bits(), target.ImageSize());
    return shp_.CopyIconTo(pixels, x, y, target.Stride(), target.Height(), 24) > 0;
}

int ShpIconSource::DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) {
    return shp_.DrawCollage(canvas, rect, first, done);
}

int ShpIconSource::SaveAllIcons(const std::string& path, int outputImage, Messages& messages) {
    return shp_.SaveAllIcons(path, outputImage, messages);
}

bool ShpIconSource::SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages) {
    return shp_.SaveCollage(path, rect, first, messages);
}

}  // namespace pixmond
