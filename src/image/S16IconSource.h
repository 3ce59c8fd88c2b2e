#pragma once
#include "image/CShp3.h"
#include "image/IconSource.h"

namespace pixmond {

// The icons of an S16 file, read by CShp3.
class S16IconSource : public IconSource {
public:
    explicit S16IconSource(const IconBytes& bytes);

    IconKind Kind() const override { return IconKind::S16; }
    const std::string& Name() const override { return name_; }
    bool Readable() const override { return set_.HasDirectory(); }
    int Count() const override { return set_.IconCount(); }
    std::string Problem() const override;
    IconGeometry Geometry(int n) const override;
    int Select(int n) override { return set_.SelectIcon(n); }
    int Current() const override { return set_.CurrentIcon(); }
    bool Decode(int n) override;
    CBmpDib& Bitmap() override { return set_; }
    bool CopyIcon(CBmp& target, int x, int y) const override { return set_.CopyImageTo(x, y, target) > 0; }
    int DrawIcon(Canvas& canvas, const Rect& rect, int zoom) override { return set_.DrawIcon(canvas, rect, zoom); }
    int DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) override;
    bool SaveIcon(const std::string& path, Messages& messages) override { return set_.SaveIcon(path, messages); }
    int SaveAllIcons(const std::string& path, int outputImage, Messages& messages) override;
    bool SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages) override;
    bool SaveBlock(const BlockParams& params, Messages& messages) override { return set_.SaveBlock(params, messages); }

private:
    std::string name_;
    CShp3 set_;
};

}  // namespace pixmond
