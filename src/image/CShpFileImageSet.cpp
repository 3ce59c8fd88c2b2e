// The image-set operations of CShpFile: drawing, collages, blocks and bulk saving.
#include <algorithm>
#include <memory>
#include <new>

#include "image/CShpFile.h"
#include "image/CollageLayout.h"
#include "image/IconDrawing.h"
#include "image/ImageSetColours.h"
#include "image/NumberedIcons.h"
#include "image/ImageSetLimits.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/PathParts.h"

namespace pixmond {

namespace {

// An 8-bit bottom-up picture buffer of the given size, filled; null when it is too large or memory is short.
std::unique_ptr<std::uint8_t[]> NewIndexBuffer(int width, int height, std::uint8_t fill, int& stride) {
    stride = CBmp::StrideFor(width, 8);
    const std::int64_t bytes = std::int64_t(stride) * height;
    if (width < 1 || height < 1 || bytes > kMaxSetPictureBytes) return nullptr;
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[size_t(bytes)]);
    if (buffer) std::fill_n(buffer.get(), size_t(bytes), fill);
    return buffer;
}

}  // namespace

// Headers that cannot be read or are out of range still take one pixel, so one bad icon does not end a
// collage; it is simply not drawn.
int CShpFile::IconWidthOf(int n) const { return std::max(1, headers_[size_t(n - 1)].Width()); }
int CShpFile::IconHeightOf(int n) const { return std::max(1, headers_[size_t(n - 1)].Height()); }

bool CShpFile::DecodeNumber(int n) { return SelectIcon(n) == n && DecodeIcon() > 0; }

int CShpFile::DrawIcon(Canvas& canvas, const Rect& rect, int zoom) {
    canvas.FillRect(rect.left, rect.top, rect.Width(), rect.Height(), kIconBackground);
    if (current_ < 1) return 0;
    const int decoded = DecodeIcon();
    if (decoded <= 0) return 0;
    DrawFitted(*this, canvas, rect, zoom, true);
    return decoded;
}

int CShpFile::DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) {
    canvas.FillRect(rect.left, rect.top, rect.Width(), rect.Height(), kShpCollageBackground);
    first = std::max(first, 1);
    const int previous = current_;
    CollageLayout layout(CollageLayout::Shp(true), rect.Width(), rect.Height(), count_);
    CollageLayout::Cell cell;
    int n = first;
    for (; n <= count_ && layout.Place(IconWidthOf(n), IconHeightOf(n), cell); ++n)
        if (DecodeNumber(n)) Draw(canvas, rect.left + cell.x, rect.top + cell.y, cell.width, cell.height);
    // Done only when the last icon was really placed, so a view can still page on to one that did not fit.
    done = n > count_;
    if (previous > 0) SelectIcon(previous);
    return layout.Placed();
}

int CShpFile::CollageSize(int& width, int& height, int first) {
    first = std::max(first, 1);
    CollageLayout layout(CollageLayout::Shp(false), width, height, count_);
    CollageLayout::Cell cell;
    for (int n = first; n <= count_ && layout.Place(IconWidthOf(n), IconHeightOf(n), cell); ++n) {
    }
    width = layout.Width();
    height = layout.Height();
    return first;
}

bool CShpFile::SaveIcon(const std::string& path, Messages& messages) {
    if (current_ < 1) return false;
    // The pixels may belong to another icon after a collage or a bulk save.
    if (DecodeIcon() <= 0 || !Bits() || Width() < 1 || Height() < 1) {
        messages.Error(Format("%s: %s", FileName().c_str(), Problem().c_str()));
        return false;
    }
    return Save(path, messages);
}

int CShpFile::SaveAllIcons(const std::string& path, int outputImage, Messages& messages,
                           const std::function<bool()>& step) {
    return SaveIconsOfReader(*this, count_, current_, path, outputImage, messages,
                             [](CShpFile& reader, int n) { return reader.DecodeNumber(n); }, step);
}

bool CShpFile::SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages) {
    if (!hasDirectory_) {
        messages.Error(Format("%s has no icons for a collage", FileName().c_str()));
        return false;
    }
    int width = rect.Width(), height = rect.Height();
    first = std::max(CollageSize(width, height, first), 1);
    if (width < 1 || height < 1) {
        messages.Error(Format("No icon fits in %d x %d", rect.Width(), rect.Height()));
        return false;
    }
    int stride = 0;
    auto buffer = NewIndexBuffer(width, height, kShpSavedBackground, stride);
    if (!buffer) {
        messages.Error(" Not enough  memory ");
        return false;
    }
    const std::span<std::uint8_t> pixels(buffer.get(), size_t(stride) * size_t(height));
    const int previous = current_;
    CollageLayout layout(CollageLayout::Shp(false), width, height, count_);
    CollageLayout::Cell cell;
    for (int n = first; n <= count_ && layout.Place(IconWidthOf(n), IconHeightOf(n), cell); ++n)
        if (DecodeNumber(n)) CopyIconTo(pixels, cell.x, cell.y, stride, height, -1);
    if (previous > 0) SelectIcon(previous);

    CBmpDib picture;
    picture.Create(width, height, 8, false);
    picture.AdoptBits(std::move(buffer), &Colours());
    return picture.Save(path, messages);
}

bool CShpFile::SaveBlock(const BlockParams& params, Messages& messages) {
    if (!hasDirectory_ || params.path.empty()) return false;
    if (params.rows < 1 || params.columns < 1 || params.cellWidth < 1 || params.cellHeight < 1) {
        messages.Error(Format("A block needs at least one row, one column and a cell size (%d x %d cells of %d x %d)",
                              params.rows, params.columns, params.cellWidth, params.cellHeight));
        return false;
    }
    const int line = params.lines ? 1 : 0;
    const std::int64_t width64 = std::int64_t(params.cellWidth + line) * params.columns;
    const std::int64_t height64 = std::int64_t(params.cellHeight + line) * params.rows;
    int stride = 0;
    std::unique_ptr<std::uint8_t[]> buffer;
    if (width64 <= kMaxSetPictureSide && height64 <= kMaxSetPictureSide)
        buffer = NewIndexBuffer(int(width64), int(height64), params.lines ? kShpGridLineIndex : kShpSavedBackground,
                                stride);
    if (!buffer) {
        messages.Error(" Not enough  memory ");
        return false;
    }
    const int width = int(width64), height = int(height64);
    const std::span<std::uint8_t> pixels(buffer.get(), size_t(stride) * size_t(height));
    const int previous = current_;
    int taken = 0;
    for (int row = 0; row < params.rows && taken < params.count; ++row) {
        for (int column = 0; column < params.columns && taken < params.count; ++column) {
            const std::int64_t n = std::int64_t(params.first) + 1 + taken++;
            // Numbers past the last icon leave their cells empty rather than repeating the last icon.
            if (n < 1 || n > count_ || !DecodeNumber(int(n))) continue;
            const int partWidth = std::min(width_, params.cellWidth);
            const int partHeight = std::min(height_, params.cellHeight);
            // A tall icon keeps its lowest rows: the cut counts rows from the bottom of the stored picture.
            CopyIconPart(pixels, column * (params.cellWidth + line), row * (params.cellHeight + line), stride, height,
                         -1, height_ - partHeight, partWidth, partHeight);
        }
    }
    if (previous > 0) SelectIcon(previous);

    CBmpDib picture;
    picture.Create(width, height, 8, false);
    picture.AdoptBits(std::move(buffer), &Colours());
    return picture.Save(params.path, messages, params.write);
}

int CShpFile::CopyIconTo(std::span<std::uint8_t> buffer, int x, int y, int stride, int height, int mode) const {
    if (!Bits() || (mode != -1 && mode != 24)) return 0;
    CopyIconPart(buffer, x, y, stride, height, mode, 0, width_, height_);
    return height_;
}

void CShpFile::CopyIconPart(std::span<std::uint8_t> buffer, int x, int y, int stride, int height, int mode, int top,
                            int partWidth, int partHeight) const {
    if (stride < 1 || height < 1 || buffer.size() < size_t(stride) * size_t(height)) return;
    const int bytes = mode == 24 ? 3 : 1;
    const int columns = stride / bytes;
    for (int row = 0; row < partHeight; ++row) {
        const std::int64_t ty = std::int64_t(y) + row;
        if (ty < 0 || ty >= height) continue;
        std::uint8_t* target = buffer.data() + size_t(height - 1 - ty) * size_t(stride);
        for (int column = 0; column < partWidth; ++column) {
            const std::int64_t tx = std::int64_t(x) + column;
            if (tx < 0 || tx >= columns) continue;
            const std::uint8_t index = GetIndex(column, top + row);
            if (mode == 24) {
                std::copy_n(colours_.data() + index * 4, 3, target + tx * 3);
            } else {
                target[tx] = index;
            }
        }
    }
}

}  // namespace pixmond
