#include "image/COrvelShp.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "image/Palette.h"
#include "base/Format.h"

namespace pixmond {

namespace {

// The bytes of one pixel stream, read from the file in large pieces: a record is normally taken in one
// read sized from its header; a stream that runs on (hostile or damaged) is fetched further in growing
// blocks, never past the end of the file.
class IconStream {
public:
    IconStream(const ReadOnlyFile& file, std::uint64_t at, std::uint64_t expected)
        : file_(file), next_(at), block_(std::max<std::uint64_t>(expected, 256)) {}

    bool Next(std::uint8_t& out) {
        if (position_ == bytes_.size() && !Refill()) return false;
        out = bytes_[position_++];
        return true;
    }

private:
    bool Refill() {
        if (next_ >= file_.Size()) return false;
        bytes_ = file_.ReadBlock(next_, size_t(std::min<std::uint64_t>(block_, file_.Size() - next_)));
        next_ += bytes_.size();
        position_ = 0;
        block_ = std::min<std::uint64_t>(block_ * 2, kMaxBlock);
        return !bytes_.empty();
    }

    static constexpr std::uint64_t kMaxBlock = 1 << 20;
    const ReadOnlyFile& file_;
    std::uint64_t next_;
    std::uint64_t block_;
    std::vector<std::uint8_t> bytes_;
    size_t position_ = 0;
};

struct RowSpan {
    std::int64_t start;
    std::int64_t end;
};

// A box above the picture keeps its height and moves down to row 0.
RowSpan RowsOf(const ShpIconHeader& h) {
    if (h.y0 < 0) return {0, -std::int64_t(h.y0) + h.y1};
    return {h.y0, h.y1};
}

// Two bytes per pixel is the most this program's encoder spends (a one-pixel skip or literal), so this
// read normally holds the whole record.
std::uint64_t ExpectedStreamSize(const ShpIconHeader& h) {
    const RowSpan rows = RowsOf(h);
    const std::int64_t count = std::clamp<std::int64_t>(rows.end - rows.start + 1, 1, COrvelShp::kMaxHeight + 1);
    const std::int64_t width = std::clamp<std::int64_t>(h.Width(), 1, COrvelShp::kMaxWidth + 1);
    return std::uint64_t(count * (2 * width + 2) + 16);
}

}  // namespace

COrvelShp::COrvelShp() {
    Create(0, 0, 8, false);
    SetColourTable(DefaultColourTable());
}

void COrvelShp::PutPixel(int& x, int y, std::uint8_t index) {
    if (x >= width_ || y >= height_ || x < 0 || y < 0) return;
    if (index != kTransparentIndex) buffer_[(topDown_ ? y : height_ - 1 - y) * std::int64_t(stride_) + x] = index;
    ++x;
}

bool COrvelShp::PrepareImage() {
    const ShpIconHeader& h = iconHeader_;
    if (h.widthMinus1 < 1 || h.widthMinus1 > kMaxWidth - 1 || h.heightMinus1 < 1 || h.heightMinus1 > kMaxHeight - 1)
        return false;
    int width = h.Width(), height = h.Height();
    if (!OwnsBuffer()) {
        width = std::min(width, maxWidth_);
        height = std::min(height, maxHeight_);
    }
    const std::uint32_t previousSize = ImageSize();
    Create(width, height, 8, false);
    if (!OwnsBuffer() && ImageSize() > Capacity()) return false;
    // Decoding icon after icon of one size reuses the buffer.
    if (!(OwnsBuffer() && Bits() && previousSize == ImageSize()) && !Allocate()) return false;
    if (!Bits()) return false;
    Fill(kTransparentIndex);
    return true;
}

void COrvelShp::CloseFile() {
    file_.reset();
    base_ = 0;
    count_ = 0;
    current_ = 0;
    headerValid_ = false;
    dataPosition_ = 0;
}

int COrvelShp::DecodeIcon() {
    problem_.clear();
    if (!file_ || !headerValid_) {
        problem_ = current_ > 0 ? Format("Icon %d: its record lies past the end of the file", current_)
                                : std::string("No icon selected");
        return 0;
    }
    const RowSpan rows = RowsOf(iconHeader_);
    const int startColumn = std::max(0, iconHeader_.x0);
    if (!PrepareImage()) {
        problem_ = Format("Icon %d: size %d x %d is outside 2..%d x 2..%d", current_, iconHeader_.Width(),
                          iconHeader_.Height(), kMaxWidth, kMaxHeight);
        return 0;
    }
    if (iconHeader_.y0 < 0) iconHeader_.y0 = 0;
    if (iconHeader_.x0 < 0) iconHeader_.x0 = 0;

    IconStream stream(*file_, dataPosition_, ExpectedStreamSize(iconHeader_));
    std::int64_t processed = 0;
    std::int64_t row = rows.start;
    int x = startColumn;
    std::uint8_t code;
    // Rows below the picture can change nothing, and a code past the end of the file ends every row left.
    while (row <= rows.end && row < height_ && stream.Next(code)) {
        const int y = int(row);
        if (code == 0) {
            ++row;
            x = startColumn;
        } else if (code == 1) {
            std::uint8_t count = 0;
            stream.Next(count);
            for (int i = 0; i < count; ++i) PutPixel(x, y, kTransparentIndex);
            processed += count;
        } else if (code & 1) {
            for (int i = 0; i < code / 2; ++i) {
                std::uint8_t index = 255;
                if (!stream.Next(index)) index = 255;
                PutPixel(x, y, index);
            }
            processed += code / 2;
        } else {
            std::uint8_t index = 255;
            if (!stream.Next(index)) index = 255;
            for (int i = 0; i < code / 2 && x < width_; ++i) PutPixel(x, y, index);
            processed += code / 2;
        }
    }
    if (processed == 0) problem_ = Format("Icon %d: its pixel stream is empty", current_);
    return int(std::min<std::int64_t>(processed, INT_MAX));
}

std::uint32_t COrvelShp::WalkRecord(const ShpIconHeader& header, std::uint64_t dataPosition) const {
    if (!file_) return 0;
    const RowSpan rows = RowsOf(header);
    IconStream stream(*file_, dataPosition, ExpectedStreamSize(header));
    std::uint64_t size = ShpIconHeader::kSize;
    std::uint8_t code, byte;
    for (std::int64_t row = rows.start; row <= rows.end && stream.Next(code);) {
        ++size;
        if (code == 0) {
            ++row;
        } else if (code == 1 || !(code & 1)) {
            if (stream.Next(byte)) ++size;
        } else {
            for (int i = 0; i < code / 2 && stream.Next(byte); ++i) ++size;
        }
    }
    return std::uint32_t(std::min<std::uint64_t>(size, UINT32_MAX));
}

}  // namespace pixmond
