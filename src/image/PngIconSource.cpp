#include "image/PngIconSource.h"

#include "base/Format.h"
#include "ui/Messages.h"

namespace pixmond {

PngIconSource::PngIconSource(const IconBytes& bytes, Messages& messages) : name_(bytes.name) {
    if (bytes.file) set_.LoadPngPicture(bytes.file, bytes.offset, messages);
    set_.SetFileName(bytes.name);
}

std::string PngIconSource::Problem() const {
    if (!set_.File()) return Format("Cannot open %s", name_.c_str());
    return Format("%s: not a PNG picture, or it cannot be decoded", name_.c_str());
}

IconGeometry PngIconSource::Geometry(int n) const {
    if (n < 1 || n > kIcons) return {};
    int width = set_.Width(), height = set_.Height();
    SheetIconSize(width, height);
    return {width, height, 0, 0, width, height, true};
}

bool PngIconSource::Decode(int n) {
    if (n < 1 || n > kIcons || !Readable()) return false;
    cell_ = n - 1;
    return true;
}

int PngIconSource::DrawCollage(Canvas& canvas, const Rect& rect, int, bool& done) {
    done = true;
    return set_.DrawIcon(canvas, rect, 0);
}

int PngIconSource::SaveAllIcons(const std::string&, int, Messages& messages, const std::function<bool()>&) {
    messages.Notice("Not implemented");
    return 0;
}

bool PngIconSource::SaveCollage(const std::string& path, const Rect&, int, Messages& messages) {
    return set_.SaveIcon(path, messages);
}

}  // namespace pixmond
