#include "folderview/FolderImageHolders.h"

#include "ui/CollectingMessages.h"
#include "base/Rect.h"
#include "image/CBmpDib.h"
#include "image/Palette.h"

namespace pixmond {

FolderImageHolders::FolderImageHolders() : palette_(DefaultColourTable()) {}

bool FolderImageHolders::Open(const std::string& path, IconKind kind) {
    // The loader's words go into the view's one message about the file.
    CollectingMessages said;
    const IconBytes bytes = IconBytes::OfFile(path);
    std::unique_ptr<IconSource> opened = bytes.file ? OpenIconSource(kind, bytes, said) : nullptr;
    if (!opened) {
        problem_ = "It cannot be opened.";
        return false;
    }
    if (!opened->Readable()) {
        problem_ = said.Entries().empty() ? opened->Problem() : said.Entries().back().text;
        if (opened->IsPicture()) return false;
    } else {
        problem_.clear();
    }
    source_ = std::move(opened);
    if (source_->Kind() == IconKind::Shp) source_->Bitmap().SetColourTable(palette_);
    decoded_ = source_->IsPicture();
    return true;
}

void FolderImageHolders::CloseAll() {
    source_.reset();
    decoded_ = false;
}

int FolderImageHolders::SelectIcon(int icon) {
    if (!source_ || source_->IsPicture()) return 0;
    const int now = source_->Select(icon);
    decoded_ = now > 0 && source_->Decode(now);
    return now;
}

const CBmpDib* FolderImageHolders::Picture() const {
    return source_ && decoded_ && source_->Bitmap().Bits() ? &source_->Bitmap() : nullptr;
}

void FolderImageHolders::Draw(Canvas& canvas, const PixelRect& area, int zoom, bool collage, bool mirror) {
    if (!source_) return;
    const Rect rect{area.x, area.y, area.x + area.width, area.y + area.height};
    source_->Bitmap().SetMirror(mirror);
    bool done = false;
    if (collage) source_->DrawCollage(canvas, rect, source_->Current(), done);
    else source_->DrawIcon(canvas, rect, zoom);
}

void FolderImageHolders::SetDrawingPalette(const CBmpDib::ColourTable& palette) {
    palette_ = palette;
    if (CBmpDib* picture = ShpPicture()) picture->SetColourTable(palette);
}

CBmpDib* FolderImageHolders::ShpPicture() {
    return source_ && source_->Kind() == IconKind::Shp ? &source_->Bitmap() : nullptr;
}

}  // namespace pixmond
