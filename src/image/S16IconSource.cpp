#include "image/S16IconSource.h"

#include "base/Format.h"
#include "base/ReadOnlyFile.h"

namespace pixmond {

S16IconSource::S16IconSource(const IconBytes& bytes) : name_(bytes.name) {
    const bool attached = set_.AttachArchiveFile(bytes.file, bytes.offset);
    set_.SetFileName(bytes.name);
    if (attached) set_.ReadDirectory(1);
}

// In the words of the SHP reader: problems of the whole file name it, those of an icon give its number.
std::string S16IconSource::Problem() const {
    if (!set_.File()) return Format("Cannot open %s", name_.c_str());
    if (!set_.HasDirectory())
        return Format("%s is not a readable S16 file: its icon count does not fit the file", name_.c_str());
    if (set_.IconCount() == 0) return Format("%s: the file holds no icon", name_.c_str());
    return Format("Icon %d: %s", set_.CurrentIcon(), set_.DecodeProblem().c_str());
}

IconGeometry S16IconSource::Geometry(int n) const {
    if (n < 1 || n > int(set_.Entries().size())) return {};
    const S16Entry& e = set_.Entries()[size_t(n - 1)];
    return {e.width, e.height, e.xOffset, e.yOffset, e.xOffset + e.contentWidth, e.yOffset + e.contentHeight, true};
}

bool S16IconSource::Decode(int n) { return set_.SelectIcon(n) == n && set_.DecodeIcon() > 0; }

int S16IconSource::DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) {
    return set_.DrawCollage(canvas, rect, first, done);
}

int S16IconSource::SaveAllIcons(const std::string& path, int outputImage, Messages& messages) {
    return set_.SaveAllIcons(path, outputImage, messages);
}

bool S16IconSource::SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages) {
    return set_.SaveCollage(path, rect, first, false, messages);
}

}  // namespace pixmond
