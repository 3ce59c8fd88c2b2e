#pragma once
#include <cstdint>
#include <memory>

#include "image/Canvas.h"

namespace pixmond {

// Size, depth and pixel buffer of a device-independent bitmap. Pixel (x, y) counts y from the top
// whatever the storage order; rows are padded to four bytes.
class CBmp {
public:
    CBmp() = default;
    CBmp(const CBmp& other);
    CBmp& operator=(const CBmp& other);
    virtual ~CBmp() = default;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    int BitsPerPixel() const { return bits_; }
    std::uint32_t ImageSize() const { return imageSize_; }
    bool TopDown() const { return topDown_; }
    bool OwnsBuffer() const { return owns_; }
    std::uint8_t* Bits() { return buffer_; }
    const std::uint8_t* Bits() const { return buffer_; }

    static int StrideFor(int width, int bits) { return int(((std::int64_t(width) * bits + 31) / 32) * 4); }

    // Sets size, depth and orientation; stride and image size follow. Does not touch the buffer.
    virtual void Create(int width, int height, int bits, bool topDown = false);
    // When the buffer is owned: frees it and allocates image-size bytes. True when a buffer exists afterwards.
    bool Allocate();
    // Frees an owned buffer and takes this one; a buffer not owned must outlive the bitmap.
    void AttachBuffer(std::uint8_t* buffer, bool owns);
    // Takes an owned buffer (allocated with new[]).
    void AdoptBuffer(std::unique_ptr<std::uint8_t[]> buffer);

    // Byte offset of pixel (x, y); negative or past the image when the position is outside.
    std::int64_t Offset(int x, int y) const;
    std::uint8_t GetIndex(int x, int y) const;
    void SetIndex(int x, int y, std::uint8_t index);
    // Writes the colour's blue, green, red bytes at the pixel (24 and 32 bits).
    void SetColour(int x, int y, Rgb colour);
    void Fill(std::uint8_t value);
    // Copies the rectangle x0..x1-1, y0..y1-1 to (tx, ty) of target; 0 when depths differ or an edge is outside.
    std::uint32_t CopyRectTo(int x0, int y0, int x1, int y1, CBmp& target, int tx, int ty) const;

protected:
    void Recompute();
    int width_ = 0, height_ = 0, stride_ = 0, bits_ = 24;
    std::uint32_t imageSize_ = 0;
    bool topDown_ = false;
    bool owns_ = true;
    std::uint8_t* buffer_ = nullptr;
    std::unique_ptr<std::uint8_t[]> owned_;
};

}  // namespace pixmond
