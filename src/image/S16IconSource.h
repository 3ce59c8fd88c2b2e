#pragma once
#include "image/CShp3.h"
#include "image/IconFileSource.h"

namespace pixmond {

// The icons of an S16 file, read by CShp3.
class S16IconSource : public IconFileSource<CShp3> {
public:
    using IconFileSource::IconFileSource;

    IconKind Kind() const override { return IconKind::S16; }
    std::string Problem() const override;
    IconGeometry Geometry(int n) const override;
    bool CopyIcon(CBmp& target, int x, int y) const override { return reader_.CopyImageTo(x, y, target) > 0; }
    // With the gaps of a drawn collage (not tight).
    bool SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages) override {
        return reader_.SaveCollage(path, rect, first, false, messages);
    }
};

}  // namespace pixmond
