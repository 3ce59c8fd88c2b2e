#pragma once
#include "image/CShp3.h"
#include "image/IconSource.h"

namespace pixmond {

// One PNG picture, held by CShp3 without icons: drawn and saved whole; its icons are the cells of a 3 x 3 sheet.
class PngIconSource : public IconSource {
public:
    PngIconSource(const IconBytes& bytes, Messages& messages);

    static constexpr int kIcons = 9;

    IconKind Kind() const override { return IconKind::Png; }
    const std::string& Name() const override { return name_; }
    bool Readable() const override { return set_.FromPng() && set_.Bits(); }
    int Count() const override { return kIcons; }
    std::string Problem() const override;
    IconGeometry Geometry(int n) const override;
    int Select(int) override { return 1; }
    int Current() const override { return 1; }
    bool Decode(int n) override;
    CBmpDib& Bitmap() override { return set_; }
    bool CopyIcon(CBmp& target, int x, int y) const override { return set_.CopyCellTo(x, y, target, cell_) > 0; }
    int DrawIcon(Canvas& canvas, const Rect& rect, int zoom) override { return set_.DrawIcon(canvas, rect, zoom); }
    int DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) override;
    bool SaveIcon(const std::string& path, Messages& messages) override { return set_.SaveIcon(path, messages); }
    int SaveAllIcons(const std::string& path, int outputImage, Messages& messages,
                     const std::function<bool()>& step = {}) override;
    bool SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages) override;
    bool SaveBlock(const BlockParams&, Messages&) override { return false; }

private:
    std::string name_;
    CShp3 set_;
    int cell_ = 0;  // of the icon decoded last, 0..8
};

}  // namespace pixmond
