#pragma once
#include "folderview/FolderImages.h"
#include "image/CShp3.h"
#include "image/CShpFile.h"

namespace pixmond {

class Messages;

// The folder browser's readers: one SHP reader, and one image set for S16 files and PNG pictures.
class FolderImageHolders : public FolderImages {
public:
    explicit FolderImageHolders(Messages& messages) : messages_(messages) {}

    void OpenShp(const std::string& path) override;
    void OpenS16(const std::string& path) override;
    bool OpenPng(const std::string& path) override;
    void CloseAll() override;
    int IconCount(int kind) const override;
    bool IconHeld(int kind, int icon) const override;
    std::string Problem(int kind) const override;
    IconGeometry IconSize(int kind, int icon) const override;
    int SelectIcon(int kind, int icon) override;
    IconGeometry CurrentGeometry(int kind) const override;
    const CBmpDib* Picture(int kind) const override;
    void Draw(int kind, Canvas& canvas, const PixelRect& area, int zoom, bool collage, bool mirror) override;

    const CShpFile& Shp() const { return shp_; }
    const CShp3& Set() const { return set_; }

private:
    Messages& messages_;
    CShpFile shp_;
    CShp3 set_;
    bool shpDecoded_ = false;
    bool setDecoded_ = false;
    std::string s16Problem_, pngProblem_;
};

}  // namespace pixmond
