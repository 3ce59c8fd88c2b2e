// The current entry of the archive: selecting it and handing its icon operations to its icon source.
#include "archive/CDatFile.h"
#include "image/ImageSetColours.h"
#include "image/Canvas.h"
#include "ui/AppSettings.h"

namespace pixmond {

IconSource* CDatFile::CurrentSource() const {
    if (!entryFile_ || entryFile_ != file_ || !InRange(current_)) return nullptr;
    return entry_.get();
}

bool CDatFile::HasCurrentEntry() const { return CurrentSource() != nullptr; }

int CDatFile::OutputImage() const {
    return AppSettings(services_.settings).OutputImage();
}

bool CDatFile::SelectEntry(int index) {
    if (!InRange(index)) return false;
    const TDatItem& item = table_[index];
    if (item.loadable == 0 || !file_) {
        current_ = 0;
        entryFile_.reset();
        return false;
    }
    selected_ = index;
    dataOffset_ = item.offset;
    current_ = index;
    currentIcons_ = 0;
    entryFile_ = file_;
    // A PNG entry's picture that does not decode leaves nothing of the entry shown before; the loader says why.
    entry_ = OpenIconSource(item.Kind(), {file_, dataOffset_, std::string(item.Name())}, services_.messages);
    if (!entry_) {
        entryFile_.reset();
        return false;
    }
    if (entry_->Kind() == IconKind::Shp) entry_->Bitmap().SetColourTable(drawingPalette_);
    currentIcons_ = entry_->Count();
    currentIcon_ = entry_->Current();
    return currentIcon_ != 0;
}

void CDatFile::SetDrawingPalette(const CBmpDib::ColourTable& palette) {
    drawingPalette_ = palette;
    IconSource* source = CurrentSource();
    if (source && source->Kind() == IconKind::Shp) source->Bitmap().SetColourTable(palette);
}

int CDatFile::SelectIcon(int n) {
    IconSource* source = CurrentSource();
    return source ? currentIcon_ = source->Select(n) : 0;
}

int CDatFile::DrawIcon(Canvas& canvas, const Rect& rect, int zoom) {
    if (IconSource* source = CurrentSource()) return source->DrawIcon(canvas, rect, zoom);
    canvas.FillRect(rect.left, rect.top, rect.Width(), rect.Height(), kIconBackground);
    return 0;
}

int CDatFile::DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) {
    done = true;
    if (IconSource* source = CurrentSource()) return source->DrawCollage(canvas, rect, first, done);
    canvas.FillRect(rect.left, rect.top, rect.Width(), rect.Height(), kIconBackground);
    return 0;
}

bool CDatFile::SaveIcon(const std::string& path) {
    IconSource* source = CurrentSource();
    return source && source->SaveIcon(path, services_.messages);
}

int CDatFile::SaveAllIcons(const std::string& path) { return SaveAllIcons(path, OutputImage()); }

int CDatFile::SaveAllIcons(const std::string& path, int outputImage) {
    IconSource* source = CurrentSource();
    return source ? source->SaveAllIcons(path, outputImage, services_.messages) : 0;
}

bool CDatFile::SaveCollage(const std::string& path, const Rect& rect, int first) {
    IconSource* source = CurrentSource();
    return source && source->SaveCollage(path, rect, first, services_.messages);
}

}  // namespace pixmond
