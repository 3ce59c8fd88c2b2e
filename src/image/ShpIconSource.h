#pragma once
#include "image/CShpFile.h"
#include "image/IconSource.h"

namespace pixmond {

// The icons of an SHP file, read by CShpFile.
class ShpIconSource : public IconSource {
public:
    explicit ShpIconSource(const IconBytes& bytes);

    IconKind Kind() const override { return IconKind::Shp; }
    const std::string& Name() const override { return name_; }
    bool Readable() const override { return shp_.HasDirectory(); }
    int Count() const override { return shp_.IconCount(); }
    std::string Problem() const override;
    IconGeometry Geometry(int n) const override;
    int Select(int n) override { return shp_.SelectIcon(n); }
    int Current() const override { return shp_.CurrentIcon(); }
    bool Decode(int n) override;
    CBmpDib& Bitmap() override { return shp_; }
    bool CopyIcon(CBmp& target, int x, int y) const override;
    int DrawIcon(Canvas& canvas, const Rect& rect, int zoom) override { return shp_.DrawIcon(canvas, rect, zoom); }
    int DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) override;
    bool SaveIcon(const std::string& path, Messages& messages) override { return shp_.SaveIcon(path, messages); }
    int SaveAllIcons(const std::string& path, int outputImage, Messages& messages) override;
    bool SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages) override;
    bool SaveBlock(const BlockParams& params, Messages& messages) override { return shp_.SaveBlock(params, messages); }

private:
    std::string name_;
    CShpFile shp_;
};

}  // namespace pixmond
