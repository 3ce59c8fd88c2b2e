#include "image/CBmpOrvel.h"

#include <algorithm>

#include "image/COrvelShp.h"
#include "image/Palette.h"
#include "ui/Progress.h"
#include "base/SafeFile.h"

namespace pixmond {

namespace {

// Index reads for the encoder: positions outside the picture (the run test looks two pixels ahead, and the
// box fallback can reach one column and row past the edge) read as transparent, so they never join a run
// or a literal and never add anything the decoder would draw.
class IndexGrid {
public:
    explicit IndexGrid(const CBmp& picture) : picture_(picture) {}
    int At(int x, int y) const {
        if (x < 0 || y < 0 || x >= picture_.Width() || y >= picture_.Height()) return kTransparentIndex;
        return picture_.Bits()[picture_.Offset(x, y)];
    }

private:
    const CBmp& picture_;
};

ShpIconHeader BoundingBox(const IndexGrid& grid, int width, int height, bool* anyVisible = nullptr) {
    int x0 = COrvelShp::kMaxWidth, x1 = 0, y0 = COrvelShp::kMaxHeight, y1 = 0;
    bool found = false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (grid.At(x, y) == kTransparentIndex) continue;
            x1 = std::max(x1, x);
            x0 = std::min(x0, x);
            if (!found) y0 = y;
            found = true;
            y1 = y;
        }
    if (anyVisible) *anyVisible = found;
    if (x0 > width) x0 = 0;
    if (x1 < 1) x1 = width;
    if (y0 > height) y0 = 1;
    if (y1 < 1) y1 = y0 + 1;
    ShpIconHeader h;
    h.heightMinus1 = std::int16_t(height - 1);
    h.widthMinus1 = std::int16_t(width - 1);
    h.x0 = x0;
    h.y0 = y0;
    h.x1 = x1;
    h.y1 = y1;
    return h;
}

void EncodeRow(const IndexGrid& grid, int y, int x0, int x1, std::vector<std::uint8_t>& row) {
    row.clear();
    int x = x0;
    while (x <= x1) {
        const int pixel = grid.At(x, y);
        if (pixel == kTransparentIndex) {
            const size_t start = row.size();
            int count = 0;
            while (grid.At(x, y) == kTransparentIndex && x <= x1 && count < 255) {
                ++count;
                ++x;
            }
            row.push_back(1);
            row.push_back(std::uint8_t(count));
            // Transparency at the end of a row is not coded, unless it is all the row holds.
            if (x > x1 && start != 0) row.resize(start);
        } else if (grid.At(x + 1, y) == pixel && grid.At(x + 2, y) == pixel) {
            int code = 2;
            ++x;
            while (grid.At(x, y) == pixel && x <= x1 && code < 254) {
                ++x;
                code += 2;
            }
            row.push_back(std::uint8_t(code));
            row.push_back(std::uint8_t(pixel));
        } else {
            const size_t start = row.size();
            row.push_back(1);
            int code = 1;
            for (;;) {
                const int here = grid.At(x, y);
                if (here == grid.At(x + 1, y) && here == grid.At(x + 2, y)) break;
                if (x > x1 || code >= 255 || here == kTransparentIndex) break;
                code += 2;
                row.push_back(std::uint8_t(here));
                ++x;
            }
            row[start] = std::uint8_t(code);
        }
    }
    row.push_back(0);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t b[4];
    StoreU32(b, v);
    out.insert(out.end(), b, b + 4);
}

// The kept box, cut to the picture, grown by the visible pixels' box; the picture's own box when keep holds no
// part of the picture.
ShpIconHeader KeptBox(const ShpIconHeader& own, bool anyVisible, const ShpIconHeader& keep, int width, int height) {
    ShpIconHeader box = own;
    box.reserved = keep.reserved;
    const int x0 = std::max(keep.x0, 0), y0 = std::max(keep.y0, 0);
    const int x1 = std::min(keep.x1, width - 1), y1 = std::min(keep.y1, height - 1);
    if (x1 < x0 || y1 < y0) return box;
    box.x0 = anyVisible ? std::min(x0, own.x0) : x0;
    box.y0 = anyVisible ? std::min(y0, own.y0) : y0;
    box.x1 = anyVisible ? std::max(x1, own.x1) : x1;
    box.y1 = anyVisible ? std::max(y1, own.y1) : y1;
    return box;
}

}  // namespace

CBmpOrvel::CBmpOrvel() {
    Create(0, 0, 8, false);
    SetColourTable(DefaultColourTable());
}

bool CBmpOrvel::SizeFits(int width, int height) {
    return width >= 2 && width <= COrvelShp::kMaxWidth && height >= 2 && height <= COrvelShp::kMaxHeight;
}

std::uint32_t CBmpOrvel::EncodeIcon(std::vector<std::uint8_t>& out, ShpIconHeader& headerOut, bool writeFileHeader,
                                    Progress* progress) {
    return Encode(out, headerOut, writeFileHeader, progress, nullptr);
}

std::uint32_t CBmpOrvel::EncodeIcon(std::vector<std::uint8_t>& out, ShpIconHeader& headerOut,
                                    const ShpIconHeader& keep) {
    return Encode(out, headerOut, false, nullptr, &keep);
}

std::uint32_t CBmpOrvel::Encode(std::vector<std::uint8_t>& out, ShpIconHeader& headerOut, bool writeFileHeader,
                                Progress* progress, const ShpIconHeader* keep) {
    if (!Bits() || !SizeFits(Width(), Height())) return 0;
    if (BitsPerPixel() != 8 && !ConvertToPalette(*this)) return 0;
    const IndexGrid grid(*this);
    bool anyVisible = false;
    ShpIconHeader header = BoundingBox(grid, Width(), Height(), &anyVisible);
    if (keep) header = KeptBox(header, anyVisible, *keep, Width(), Height());
    headerOut = header;
    if (writeFileHeader) {
        out.insert(out.end(), {'1', '.', '1', '0'});
        PutU32(out, 1);
        PutU32(out, 16);
        PutU32(out, 0);
    }
    const size_t recordStart = out.size();
    out.resize(recordStart + ShpIconHeader::kSize);
    header.Store(out.data() + recordStart);
    if (progress) progress->SetRange(0, (header.x1 - header.x0) * (header.y1 - header.y0));
    std::vector<std::uint8_t> row;
    row.reserve(size_t(Width()) * 2 + 4);
    for (int y = header.y0; y <= header.y1; ++y) {
        EncodeRow(grid, y, header.x0, header.x1, row);
        out.insert(out.end(), row.begin(), row.end());
        if (progress) progress->SetPos(int(out.size() - recordStart - ShpIconHeader::kSize));
    }
    return std::uint32_t(out.size() - recordStart);
}

std::uint32_t CBmpOrvel::EncodeIcon(SafeFile& file, ShpIconHeader& headerOut, bool writeFileHeader,
                                    Progress* progress) {
    std::vector<std::uint8_t> bytes;
    const std::uint32_t size = EncodeIcon(bytes, headerOut, writeFileHeader, progress);
    if (size == 0 || !file.Write(bytes.data(), bytes.size())) return 0;
    return size;
}

}  // namespace pixmond
