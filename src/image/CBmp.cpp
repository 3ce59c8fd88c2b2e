#include "image/CBmp.h"

#include <cstring>
#include <new>

namespace pixmond {

CBmp::CBmp(const CBmp& other) { *this = other; }

// A copy owns its pixels even when the original borrowed them.
CBmp& CBmp::operator=(const CBmp& other) {
    if (this == &other) return *this;
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    bits_ = other.bits_;
    imageSize_ = other.imageSize_;
    topDown_ = other.topDown_;
    owns_ = true;
    owned_.reset();
    buffer_ = nullptr;
    if (other.buffer_ && imageSize_) {
        owned_.reset(new (std::nothrow) std::uint8_t[imageSize_]());  // zeroed: no picture shows stale memory
        if (owned_) std::memcpy(owned_.get(), other.buffer_, imageSize_);
        buffer_ = owned_.get();
    }
    return *this;
}

void CBmp::Create(int width, int height, int bits, bool topDown) {
    width_ = width;
    height_ = height;
    bits_ = bits;
    topDown_ = topDown;
    Recompute();
}

void CBmp::Recompute() {
    stride_ = StrideFor(width_, bits_);
    const std::int64_t size = std::int64_t(stride_) * (height_ < 0 ? -height_ : height_);
    imageSize_ = size < 0 || size > 0xFFFFFFFFLL ? 0 : std::uint32_t(size);
}

bool CBmp::Allocate() {
    if (owns_) {
        owned_.reset();
        buffer_ = nullptr;
        if (imageSize_) {
            owned_.reset(new (std::nothrow) std::uint8_t[imageSize_]());  // zeroed: no picture shows stale memory
            buffer_ = owned_.get();
        }
    }
    return buffer_ != nullptr;
}

void CBmp::AttachBuffer(std::uint8_t* buffer, bool owns) {
    owned_.reset(owns ? buffer : nullptr);
    buffer_ = buffer;
    owns_ = owns;
}

void CBmp::AdoptBuffer(std::unique_ptr<std::uint8_t[]> buffer) {
    owned_ = std::move(buffer);
    buffer_ = owned_.get();
    owns_ = true;
}

std::int64_t CBmp::Offset(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
    const std::int64_t row = topDown_ ? y : height_ - 1 - y;
    return std::int64_t(x) * (bits_ / 8) + row * stride_;
}

std::uint8_t CBmp::GetIndex(int x, int y) const {
    const std::int64_t at = Offset(x, y);
    return (buffer_ && at >= 0 && at < std::int64_t(imageSize_)) ? buffer_[at] : 0;
}

void CBmp::SetIndex(int x, int y, std::uint8_t index) {
    const std::int64_t at = Offset(x, y);
    if (buffer_ && at >= 0 && at < std::int64_t(imageSize_)) buffer_[at] = index;
}

void CBmp::SetColour(int x, int y, Rgb colour) {
    const std::int64_t at = Offset(x, y);
    if (!buffer_ || at < 0 || at + 3 > std::int64_t(imageSize_)) return;
    buffer_[at] = std::uint8_t(BlueOf(colour));
    buffer_[at + 1] = std::uint8_t(GreenOf(colour));
    buffer_[at + 2] = std::uint8_t(RedOf(colour));
}

void CBmp::Fill(std::uint8_t value) {
    if (buffer_) std::memset(buffer_, value, imageSize_);
}

std::uint32_t CBmp::CopyRectTo(int x0, int y0, int x1, int y1, CBmp& target, int tx, int ty) const {
    if (bits_ != target.bits_ || !buffer_ || !target.buffer_) return 0;
    if (x0 < 0 || y0 < 0 || x1 > width_ || y1 > height_ || x1 <= x0 || y1 <= y0) return 0;
    const int w = x1 - x0, h = y1 - y0;
    if (tx < 0 || ty < 0 || tx + w > target.width_ || ty + h > target.height_) return 0;
    const int bytes = bits_ / 8;
    std::uint32_t copied = 0;
    for (int row = 0; row < h; ++row) {
        const std::int64_t from = Offset(x0, y0 + row);
        const std::int64_t to = target.Offset(tx, ty + row);
        std::memcpy(target.buffer_ + to, buffer_ + from, size_t(w) * bytes);
        copied += std::uint32_t(w * bytes);
    }
    return copied;
}

}  // namespace pixmond
