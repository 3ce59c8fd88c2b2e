#pragma once
#include "image/CShpFile.h"
#include "image/IconFileSource.h"

namespace pixmond {

// The icons of an SHP file, read by CShpFile.
class ShpIconSource : public IconFileSource<CShpFile> {
public:
    using IconFileSource::IconFileSource;

    IconKind Kind() const override { return IconKind::Shp; }
    std::string Problem() const override;
    IconGeometry Geometry(int n) const override;
    bool CopyIcon(CBmp& target, int x, int y) const override;
    bool SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages) override {
        return reader_.SaveCollage(path, rect, first, messages);
    }
};

}  // namespace pixmond
