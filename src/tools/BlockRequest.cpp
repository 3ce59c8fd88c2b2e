#include "tools/BlockRequest.h"

#include <algorithm>

#include "image/IconSource.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/Services.h"
#include "ui/Settings.h"

namespace pixmond {

std::vector<BlockRequest::IconSize> BlockRequest::SizesOf(const IconSource& source) {
    std::vector<IconSize> sizes;
    for (int n = 1; n <= source.Count(); ++n) {
        const IconGeometry icon = source.Geometry(n);
        sizes.push_back({icon.width, icon.height});
    }
    return sizes;
}

bool BlockRequest::Start(std::vector<IconSize> sizes, int position, const std::string& proposedFile) {
    sizes_ = std::move(sizes);
    fileName = proposedFile;
    const int total = int(sizes_.size());
    start = position > 0 ? position - 1 : 0;
    // A position past the end starts on the last icon, so the block always holds icons that exist.
    start = std::clamp(start, 0, std::max(0, total - 1));
    available = total - start;
    count = available;
    last = start + count;
    if (count == 9) {
        rows = 3;
        cols = 3;
    } else {
        rows = 1;
        cols = std::max(1, count);
    }
    CellSize();
    outputType = settings_.GetInt(kSettingsSection, "Output image", 0);
    return ReproposeFileName();
}

void BlockRequest::Columns() {
    if (rows < 1) rows = 1;
    cols = count / rows;
    if (rows * cols < count) ++cols;
}

void BlockRequest::CellSize() {
    cellWidth = cellHeight = 0;
    for (int i = std::max(0, start); i < last && i < int(sizes_.size()); ++i) {
        cellWidth = std::max(cellWidth, sizes_[size_t(i)].width);
        cellHeight = std::max(cellHeight, sizes_[size_t(i)].height);
    }
}

bool BlockRequest::CountChanged() {
    // Two icons at least make a block; a start on the last icon leaves only one, and no icon past the end
    // is asked for.
    count = std::clamp(count, std::min(2, available), available);
    Columns();
    last = start + count;
    CellSize();
    return ReproposeFileName();
}

bool BlockRequest::LastChanged() {
    count = last - start;
    return CountChanged();
}

bool BlockRequest::RowsChanged() {
    const bool accepted = rows >= 1;
    Columns();
    return accepted;
}

const char* BlockRequest::Extension() const {
    static const char* const kExtensions[] = {".BMP", ".PNG", ".JPG"};
    return outputType >= 0 && outputType < 3 ? kExtensions[outputType] : kExtensions[0];
}

void BlockRequest::OutputTypeChanged(int type) {
    outputType = type;
    settings_.SetInt(kSettingsSection, "Output image", type);
    if (!fileName.empty()) fileName = PathParts::Of(fileName).withoutExtension + Extension();
}

void BlockRequest::FilePicked(const std::string& path) {
    if (path.empty()) return;
    settings_.SetString(kSettingsSection, "BMP folder", PathParts::Of(path).folder);
    fileName = path;
}

bool BlockRequest::ReproposeFileName() {
    // Only the name itself counts: a '_' in a folder name must not cut the path.
    const PathParts parts = PathParts::Of(fileName);
    const size_t underscore = parts.name.rfind('_');
    if (underscore == std::string::npos) return false;
    const std::string before = parts.folder + parts.name.substr(0, underscore);
    fileName = Format("%s_%d-%d%s", before.c_str(), start + 1, start + count, Extension());
    return true;
}

BlockParams BlockRequest::Params() const {
    BlockParams params;
    params.path = fileName;
    params.first = start;
    params.count = count;
    params.rows = rows;
    params.columns = cols;
    params.cellWidth = cellWidth;
    params.cellHeight = cellHeight;
    params.lines = drawLines;
    return params;
}

bool BlockRequest::SaveTo(IconSource& source, Messages& messages) const { return source.SaveBlock(Params(), messages); }

std::string BlockRequest::AvailableText() const { return Format(" / %d ", available); }

std::string BlockRequest::CellSizeText() const { return Format("%d x %d (width/height)", cellWidth, cellHeight); }

std::string BlockRequest::SizeText() const {
    return Format("Include icons %d-%d\nBitmap size : %d x %d   (%d Rows, %d Cols)", start + 1, last,
                  cols * cellWidth, rows * cellHeight, rows, cols);
}

}  // namespace pixmond
