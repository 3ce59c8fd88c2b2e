#include "image/ShpIconSource.h"

#include <span>

#include "base/Format.h"

namespace pixmond {

std::string ShpIconSource::Problem() const {
    if (!reader_.IsOpen()) return Format("Cannot open %s", name_.c_str());
    return reader_.Problem();
}

IconGeometry ShpIconSource::Geometry(int n) const {
    if (n < 1 || n > int(reader_.StoredHeaders().size())) return {};
    const ShpIconHeader& h = reader_.StoredHeaders()[size_t(n - 1)];
    return {h.Width(), h.Height(), h.x0, h.y0, h.x1, h.y1, reader_.IconReadable(n)};
}

bool ShpIconSource::CopyIcon(CBmp& target, int x, int y) const {
    if (!target.Bits() || target.BitsPerPixel() != 24) return false;
    const std::span<std::uint8_t> pixels(target.Bits(), target.ImageSize());
    return reader_.CopyIconTo(pixels, x, y, target.Stride(), target.Height(), 24) > 0;
}

}  // namespace pixmond
