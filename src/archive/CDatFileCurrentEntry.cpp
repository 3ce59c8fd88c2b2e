// The current entry of the archive: selecting it and routing its icon operations to the reader of its type.
#include "archive/CDatFile.h"
#include "image/ImageSetColours.h"
#include "image/Canvas.h"
#include "ui/AppSettings.h"

namespace pixmond {

std::uint8_t CDatFile::CurrentType() const {
    if (!entryFile_ || entryFile_ != file_ || !InRange(current_)) return kTypeOther;
    return table_[current_].type;
}

bool CDatFile::HasCurrentEntry() const { return CurrentType() != kTypeOther; }

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
    const std::string name(item.Name());
    int result = 0;
    switch (item.type) {
        case kTypeShp:
            shp_.AttachArchiveFile(file_, dataOffset_);
            shp_.SetFileName(name);
            result = shp_.ReadDirectory(1);
            currentIcons_ = shp_.IconCount();
            currentIcon_ = result;
            break;
        case kTypeS16:
            imageSet_.AttachArchiveFile(file_, dataOffset_);
            imageSet_.SetFileName(name);
            imageSet_.ClearPicture();
            result = imageSet_.ReadDirectory(1);
            currentIcons_ = imageSet_.IconCount();
            currentIcon_ = result;
            break;
        case kTypePng:
            // A picture that does not decode leaves nothing of the entry shown before.
            imageSet_.ClearPicture();
            imageSet_.LoadPngPicture(file_, dataOffset_, services_.messages);
            imageSet_.SetFileName(name);
            currentIcons_ = 9;
            currentIcon_ = 1;
            result = 1;
            break;
        default:
            entryFile_.reset();
            break;
    }
    return result != 0;
}

int CDatFile::SelectIcon(int n) {
    switch (CurrentType()) {
        case kTypeShp: return currentIcon_ = shp_.SelectIcon(n);
        case kTypeS16: return currentIcon_ = imageSet_.SelectIcon(n);
        case kTypePng: return currentIcon_ = 1;
        default: return 0;
    }
}

int CDatFile::DrawIcon(Canvas& canvas, const Rect& rect, int zoom) {
    switch (CurrentType()) {
        case kTypeShp: return shp_.DrawIcon(canvas, rect, zoom);
        case kTypeS16:
        case kTypePng: return imageSet_.DrawIcon(canvas, rect, zoom);
        default:
            canvas.FillRect(rect.left, rect.top, rect.Width(), rect.Height(), kIconBackground);
            return 0;
    }
}

int CDatFile::DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) {
    done = true;
    switch (CurrentType()) {
        case kTypeShp: return shp_.DrawCollage(canvas, rect, first, done);
        case kTypeS16: return imageSet_.DrawCollage(canvas, rect, first, done);
        case kTypePng: return imageSet_.DrawIcon(canvas, rect, 0);
        default:
            canvas.FillRect(rect.left, rect.top, rect.Width(), rect.Height(), kIconBackground);
            return 0;
    }
}

bool CDatFile::SaveIcon(const std::string& path) {
    switch (CurrentType()) {
        case kTypeShp: return shp_.SaveIcon(path, services_.messages);
        case kTypeS16:
        case kTypePng: return imageSet_.SaveIcon(path, services_.messages);
        default: return false;
    }
}

int CDatFile::SaveAllIcons(const std::string& path) { return SaveAllIcons(path, OutputImage()); }

int CDatFile::SaveAllIcons(const std::string& path, int outputImage) {
    switch (CurrentType()) {
        case kTypeShp: return shp_.SaveAllIcons(path, outputImage, services_.messages);
        case kTypeS16: return imageSet_.SaveAllIcons(path, outputImage, services_.messages);
        case kTypePng: services_.messages.Notice("Not implemented"); return 0;
        default: return 0;
    }
}

bool CDatFile::SaveCollage(const std::string& path, const Rect& rect, int first) {
    switch (CurrentType()) {
        case kTypeShp: return shp_.SaveCollage(path, rect, first, services_.messages);
        case kTypeS16: return imageSet_.SaveCollage(path, rect, first, false, services_.messages);
        case kTypePng: return imageSet_.SaveIcon(path, services_.messages);
        default: return false;
    }
}

}  // namespace pixmond
