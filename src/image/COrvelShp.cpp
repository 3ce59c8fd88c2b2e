#include "image/COrvelShp.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "image/Palette.h"
#include "base/Format.h"

namespace pixmond {

namespace {

// The bytes of one pixel stream, read from the file in large pieces into a buffer the reader keeps: a record
// is normally taken in one read sized from the directory or its header; a stream that runs on (hostile or
// damaged) is fetched further in growing blocks, never past the end of the file.
class IconStream {
public:
    IconStream(const ReadOnlyFile& file, std::uint64_t at, std::uint64_t expected, std::vector<std::uint8_t>& buffer)
        : file_(file), buffer_(buffer), next_(at), block_(std::clamp<std::uint64_t>(expected, 256, kMaxBlock)) {}

    // Starts on bytes already read when they hold position `at` (the body of a small file); the rest comes from
    // the file as usual.
    void StartIn(const std::vector<std::uint8_t>& held, std::uint64_t heldStart) {
        if (next_ < heldStart || next_ - heldStart >= held.size()) return;
        at_ = held.data() + (next_ - heldStart);
        end_ = held.data() + held.size();
        next_ = heldStart + held.size();
    }

    bool Next(std::uint8_t& out) {
        if (at_ == end_ && !Refill()) return false;
        out = *at_++;
        return true;
    }
    // Copies up to count bytes to out (or passes over them when out is null); fewer only at the end of the file.
    size_t Take(std::uint8_t* out, size_t count) {
        size_t done = 0;
        while (done < count && (at_ != end_ || Refill())) {
            const size_t piece = std::min(count - done, size_t(end_ - at_));
            if (out) std::memcpy(out + done, at_, piece);
            at_ += piece;
            done += piece;
        }
        return done;
    }

private:
    bool Refill() {
        if (next_ >= file_.Size()) return false;
        const size_t want = size_t(std::min<std::uint64_t>(block_, file_.Size() - next_));
        // The buffer only grows, so a reader decoding icon after icon allocates once.
        if (buffer_.size() < want) buffer_.resize(want);
        const size_t got = file_.ReadAt(next_, buffer_.data(), want);
        next_ += got;
        at_ = buffer_.data();
        end_ = at_ + got;
        block_ = std::min<std::uint64_t>(block_ * 2, kMaxBlock);
        return got > 0;
    }

    static constexpr std::uint64_t kMaxBlock = 1 << 20;
    const ReadOnlyFile& file_;
    std::vector<std::uint8_t>& buffer_;
    std::uint64_t next_;
    std::uint64_t block_;
    const std::uint8_t* at_ = nullptr;
    const std::uint8_t* end_ = nullptr;
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
    recordHint_ = 0;
    body_.clear();
    bodyStart_ = 0;
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

    const std::uint64_t expected = ExpectedStreamSize(iconHeader_);
    IconStream stream(*file_, dataPosition_, recordHint_ ? std::min(recordHint_, expected) : expected, streamBuffer_);
    stream.StartIn(body_, bodyStart_);
    std::int64_t processed = 0;
    std::int64_t row = rows.start;
    int x = startColumn;
    std::uint8_t code;
    // Every pixel of a row is visited once, left to right, on a picture filled with 159, so a literal run is
    // copied whole (its 159s included) and a skip only moves on. Pixels right of the picture are dropped,
    // and rows below it can change nothing; a code past the end of the file ends every row left.
    while (row <= rows.end && row < height_ && stream.Next(code)) {
        if (code == 0) {
            ++row;
            x = startColumn;
            continue;
        }
        std::uint8_t* const line = buffer_ + (topDown_ ? row : height_ - 1 - row) * std::int64_t(stride_);
        if (code == 1) {
            std::uint8_t skip = 0;
            stream.Next(skip);
            if (x < width_) x = std::min(x + skip, width_);
            processed += skip;
            continue;
        }
        const int count = code / 2;
        const size_t inside = size_t(std::clamp(width_ - x, 0, count));
        if (code & 1) {
            const size_t got = inside ? stream.Take(line + x, inside) : 0;
            // A stream that ends inside a run leaves the rest of the run as index 255.
            if (got < inside) std::memset(line + x + got, 255, inside - got);
            else stream.Take(nullptr, size_t(count) - inside);
        } else {
            std::uint8_t index = 255;
            if (!stream.Next(index)) index = 255;
            if (inside) std::memset(line + x, index, inside);
        }
        x += int(inside);
        processed += count;
    }
    if (processed == 0) problem_ = Format("Icon %d: its pixel stream is empty", current_);
    return int(std::min<std::int64_t>(processed, INT_MAX));
}

std::uint32_t COrvelShp::WalkRecord(const ShpIconHeader& header, std::uint64_t dataPosition) const {
    if (!file_) return 0;
    const RowSpan rows = RowsOf(header);
    IconStream stream(*file_, dataPosition, ExpectedStreamSize(header), streamBuffer_);
    stream.StartIn(body_, bodyStart_);
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
