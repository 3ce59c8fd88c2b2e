#pragma once
#include <memory>

#include "folderview/FolderImages.h"

namespace pixmond {

// The folder browser's icon source, opened on the file chosen.
class FolderImageHolders : public FolderImages {
public:
    FolderImageHolders();

    bool Open(const std::string& path, IconKind kind) override;
    void CloseAll() override;
    const IconSource* Source() const override { return source_.get(); }
    IconSource* EditableSource() override { return source_.get(); }
    const std::string& Problem() const override { return problem_; }
    int SelectIcon(int icon) override;
    const CBmpDib* Picture() const override;
    void Draw(Canvas& canvas, const PixelRect& area, int zoom, bool collage, bool mirror) override;
    const CBmpDib::ColourTable& DrawingPalette() const override { return palette_; }
    void SetDrawingPalette(const CBmpDib::ColourTable& palette) override;
    CBmpDib* ShpPicture() override;

private:
    std::unique_ptr<IconSource> source_;
    bool decoded_ = false;
    std::string problem_;
    CBmpDib::ColourTable palette_;
};

}  // namespace pixmond
