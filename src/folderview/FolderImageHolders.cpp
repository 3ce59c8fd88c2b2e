#include "folderview/FolderImageHolders.h"

#include "base/Rect.h"
#include "image/CBmpDib.h"

namespace pixmond {

bool FolderImageHolders::Open(const std::string& path, IconKind kind) {
    std::unique_ptr<IconSource> opened = OpenIconSource(kind, IconBytes::OfFile(path), messages_);
    if (!opened || (opened->IsPicture() && !opened->Readable())) return false;
    source_ = std::move(opened);
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

}  // namespace pixmond
