// The image-set operations of CShp3: drawing, collages, blocks and bulk saving of S16 icons, and the
// PNG picture a set can hold instead.
#include <algorithm>
#include <cstring>

#include "image/CShp3.h"
#include "image/CollageLayout.h"
#include "image/IconDrawing.h"
#include "image/IconKind.h"
#include "image/ImageSetColours.h"
#include "image/NumberedIcons.h"
#include "image/ImageSetLimits.h"
#include "base/ReadOnlyFile.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/PathParts.h"

namespace pixmond {

namespace {

// A 24-bit bottom-up picture with every byte 159; false when it is too large or memory is short.
bool NewSavedPicture(CBmpDib& picture, std::int64_t width, std::int64_t height) {
    if (width < 1 || height < 1 || width > kMaxSetPictureSide || height > kMaxSetPictureSide) return false;
    if (std::int64_t(CBmp::StrideFor(int(width), 24)) * height > kMaxSetPictureBytes) return false;
    picture.Create(int(width), int(height), 24, false);
    if (!picture.Allocate()) return false;
    picture.Fill(kS16SavedBackgroundByte);
    return true;
}

}  // namespace

void CShp3::ClearPicture() {
    Create(0, 0, 24, false);
    AttachBuffer(nullptr, true);
    SetFromPng(false);
}

std::string CShp3::DecodeProblem() const {
    const S16Entry* e = CurrentEntry();
    if (!e) return "no icon";
    if (e->width < 1 || e->width > kMaxWidth || e->height < 1 || e->height > kMaxHeight)
        return Format("size %d x %d is outside 1..%d x 1..%d", e->width, e->height, kMaxWidth, kMaxHeight);
    if (std::int64_t(e->width) * e->height > kMaxArea)
        return Format("size %d x %d is above %lld pixels", e->width, e->height, (long long)kMaxArea);
    if (e->contentWidth < 1 || e->contentHeight < 1)
        return Format("its content (%d x %d) is empty", e->contentWidth, e->contentHeight);
    if (!file_ || dataPosition_ >= file_->Size())
        return Format("its data (offset %u) lies past the end of the file", e->dataOffset);
    return "its data cannot be read";
}

// Sizes out of range still take one pixel, so one bad icon does not end a collage.
int CShp3::IconWidthOf(int n) const { return std::max(1, entries_[size_t(n - 1)].width); }
int CShp3::IconHeightOf(int n) const { return std::max(1, entries_[size_t(n - 1)].height); }

bool CShp3::DecodeNumber(int n) { return SelectIcon(n) == n && DecodeIcon() > 0; }

int CShp3::DrawIcon(Canvas& canvas, const Rect& rect, int zoom) {
    canvas.FillRect(rect.left, rect.top, rect.Width(), rect.Height(), kIconBackground);
    if (count_ <= 0) {
        if (FromPng()) DrawFitted(*this, canvas, rect, zoom, false);
        return 0;
    }
    const int decoded = DecodeIcon();
    if (decoded <= 0) return 0;
    DrawFitted(*this, canvas, rect, zoom, false);
    return decoded;
}

int CShp3::DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) {
    canvas.FillRect(rect.left, rect.top, rect.Width(), rect.Height(), kS16CollageBackground);
    first = std::max(first, 1);
    const int previous = currentIcon_;
    CollageLayout layout(CollageLayout::S16Drawn(), rect.Width(), rect.Height(), count_);
    CollageLayout::Cell cell;
    int n = first;
    for (; n <= count_ && layout.Place(IconWidthOf(n), IconHeightOf(n), cell); ++n)
        if (DecodeNumber(n)) Draw(canvas, rect.left + cell.x, rect.top + cell.y, cell.width, cell.height);
    // Done only when the last icon was really placed, so a view can still page on to one that did not fit.
    done = n > count_;
    if (previous > 0) SelectIcon(previous);
    return layout.Placed();
}

int CShp3::CollageSize(int& width, int& height, int first, bool tight) {
    first = std::max(first, 1);
    CollageLayout layout(CollageLayout::S16Sized(tight), width, height, count_);
    CollageLayout::Cell cell;
    for (int n = first; n <= count_ && layout.Place(IconWidthOf(n), IconHeightOf(n), cell); ++n) {
    }
    width = layout.Width();
    height = layout.Height();
    return first;
}

bool CShp3::SaveIcon(const std::string& path, Messages& messages) {
    if (count_ > 0) {
        // The pixels may belong to another icon after a collage or a bulk save.
        if (DecodeIcon() <= 0) {
            messages.Error(Format("%s: icon %d: %s", FileName().c_str(), currentIcon_, DecodeProblem().c_str()));
            return false;
        }
    } else if (!FromPng()) {
        return false;
    }
    if (!Bits() || Width() < 1 || Height() < 1) return false;
    return Save(path, messages);
}

int CShp3::SaveAllIcons(const std::string& path, int outputImage, Messages& messages,
                        const std::function<bool()>& step) {
    return SaveIconsOfReader(*this, count_, currentIcon_, path, outputImage, messages,
                             [](CShp3& reader, int n) { return reader.DecodeNumber(n); }, step);
}

bool CShp3::SaveCollage(const std::string& path, const Rect& rect, int first, bool tight, Messages& messages) {
    if (count_ <= 0) {
        messages.Error(Format("%s has no icons for a collage", FileName().c_str()));
        return false;
    }
    int width = rect.Width(), height = rect.Height();
    first = std::max(CollageSize(width, height, first, tight), 1);
    if (width < 1 || height < 1) {
        messages.Error(Format("No icon fits in %d x %d", rect.Width(), rect.Height()));
        return false;
    }
    // The placed icons are those the size was taken for; rows sit closer than sizing allows, so the last
    // row would otherwise have room for more.
    CollageLayout sized(CollageLayout::S16Sized(tight), rect.Width(), rect.Height(), count_);
    CollageLayout::Cell cell;
    int last = first - 1;
    while (last < count_ && sized.Place(IconWidthOf(last + 1), IconHeightOf(last + 1), cell)) ++last;

    CBmpDib picture;
    if (!NewSavedPicture(picture, width, height)) {
        messages.Error(" Not enough  memory ");
        return false;
    }
    const int previous = currentIcon_;
    CollageLayout layout(CollageLayout::S16Saved(tight), width, height, count_);
    for (int n = first; n <= last && layout.Place(IconWidthOf(n), IconHeightOf(n), cell); ++n)
        if (DecodeNumber(n)) CopyImageTo(cell.x, cell.y, picture);
    if (previous > 0) SelectIcon(previous);
    return picture.Save(path, messages);
}

bool CShp3::SaveBlock(const BlockParams& params, Messages& messages) {
    if (count_ <= 0 || params.path.empty()) return false;
    if (params.rows < 1 || params.columns < 1 || params.cellWidth < 1 || params.cellHeight < 1) {
        messages.Error(Format("A block needs at least one row, one column and a cell size (%d x %d cells of %d x %d)",
                              params.rows, params.columns, params.cellWidth, params.cellHeight));
        return false;
    }
    const int line = params.lines ? 1 : 0;
    CBmpDib picture;
    if (!NewSavedPicture(picture, std::int64_t(params.cellWidth + line) * params.columns,
                         std::int64_t(params.cellHeight + line) * params.rows)) {
        messages.Error(" Not enough  memory ");
        return false;
    }
    const int previous = currentIcon_;
    int taken = 0;
    for (int row = 0; row < params.rows && taken < params.count; ++row) {
        for (int column = 0; column < params.columns && taken < params.count; ++column) {
            const std::int64_t n = std::int64_t(params.first) + 1 + taken++;
            // Numbers past the last icon leave their cells empty rather than repeating the last icon.
            if (n < 1 || n > count_ || !DecodeNumber(int(n))) continue;
            const int partWidth = std::min(width_, params.cellWidth);
            const int partHeight = std::min(height_, params.cellHeight);
            // A tall icon keeps its lowest rows: the cut counts rows from the bottom of the stored picture.
            CopyPart(0, height_ - partHeight, partWidth, partHeight, picture, column * (params.cellWidth + line),
                     row * (params.cellHeight + line));
        }
    }
    if (previous > 0) SelectIcon(previous);
    return picture.Save(params.path, messages, params.write);
}

int CShp3::CopyImageTo(int x, int y, CBmp& target) const {
    if (!Bits() || BitsPerPixel() != 24 || target.BitsPerPixel() != 24) return 0;
    CopyPart(0, 0, width_, height_, target, x, y);
    return height_;
}

int CShp3::CopyCellTo(int x, int y, CBmp& target, int cell) const {
    if (!Bits() || BitsPerPixel() != 24 || target.BitsPerPixel() != 24) return 0;
    if (!IsIconSheet(width_, height_)) {
        CopyPart(0, 0, width_, height_, target, x, y);
        return height_;
    }
    const int cellWidth = width_ / 3, cellHeight = height_ / 3;
    if (cell < 0 || cell > 8) return 0;
    const int left = (cell % 3) * cellWidth;
    const int top = height_ - cellHeight - (cell / 3) * cellHeight;
    if (top < 0 || left + cellWidth > width_) return 0;
    CopyPart(left, top, cellWidth, cellHeight, target, x, y);
    return height_;
}

void CShp3::CopyPart(int left, int top, int partWidth, int partHeight, CBmp& target, int x, int y) const {
    if (!target.Bits() || target.BitsPerPixel() != 24) return;
    for (int row = 0; row < partHeight; ++row) {
        const std::int64_t ty = std::int64_t(y) + row;
        if (ty < 0 || ty >= target.Height()) continue;
        // Whole runs of a row at once: the part clipped to the target's columns.
        const int from = int(std::max<std::int64_t>(0, -std::int64_t(x)));
        const int to = int(std::min<std::int64_t>(partWidth, std::int64_t(target.Width()) - x));
        if (from >= to) return;
        const std::int64_t source = Offset(left + from, top + row);
        const std::int64_t dest = target.Offset(int(x + from), int(ty));
        std::memcpy(target.Bits() + dest, buffer_ + source, size_t(to - from) * 3);
    }
}

}  // namespace pixmond
