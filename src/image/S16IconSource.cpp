#include "image/S16IconSource.h"

#include <algorithm>
#include <limits>

#include "base/Format.h"

namespace pixmond {

namespace {

// The far edge of the content; entries are read as stored, so the sum may pass the range of int.
int EndOf(std::int32_t offset, std::int32_t size) {
    constexpr std::int64_t kLow = std::numeric_limits<int>::min(), kHigh = std::numeric_limits<int>::max();
    return int(std::clamp(std::int64_t(offset) + size, kLow, kHigh));
}

}  // namespace

// In the words of the SHP reader: problems of the whole file name it, those of an icon give its number.
std::string S16IconSource::Problem() const {
    if (!reader_.File()) return Format("Cannot open %s", name_.c_str());
    if (!reader_.HasDirectory())
        return Format("%s is not a readable S16 file: its icon count does not fit the file", name_.c_str());
    if (reader_.IconCount() == 0) return Format("%s: the file holds no icon", name_.c_str());
    return Format("Icon %d: %s", reader_.CurrentIcon(), reader_.DecodeProblem().c_str());
}

IconGeometry S16IconSource::Geometry(int n) const {
    if (n < 1 || n > int(reader_.Entries().size())) return {};
    const S16Entry& e = reader_.Entries()[size_t(n - 1)];
    return {e.width, e.height, e.xOffset, e.yOffset, EndOf(e.xOffset, e.contentWidth), EndOf(e.yOffset, e.contentHeight),
            true};
}

}  // namespace pixmond
