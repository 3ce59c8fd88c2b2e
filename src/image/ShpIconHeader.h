#pragma once
#include <cstdint>

#include "base/ByteReader.h"

namespace pixmond {

// The 24 bytes in front of every SHP icon's pixel stream. Height comes before width; the box is inclusive.
struct ShpIconHeader {
    static constexpr int kSize = 24;
    std::int16_t heightMinus1 = 0;
    std::int16_t widthMinus1 = 0;
    std::uint32_t reserved = 0;
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;

    int Width() const { return widthMinus1 + 1; }
    int Height() const { return heightMinus1 + 1; }

    static ShpIconHeader Parse(const std::uint8_t* p) {
        const ByteReader r(std::span<const std::uint8_t>(p, kSize));
        ShpIconHeader h;
        h.heightMinus1 = r.I16(0);
        h.widthMinus1 = r.I16(2);
        h.reserved = r.U32(4);
        h.x0 = r.I32(8);
        h.y0 = r.I32(12);
        h.x1 = r.I32(16);
        h.y1 = r.I32(20);
        return h;
    }
    void Store(std::uint8_t* p) const {
        StoreU16(p, std::uint16_t(heightMinus1));
        StoreU16(p + 2, std::uint16_t(widthMinus1));
        StoreU32(p + 4, reserved);
        StoreU32(p + 8, std::uint32_t(x0));
        StoreU32(p + 12, std::uint32_t(y0));
        StoreU32(p + 16, std::uint32_t(x1));
        StoreU32(p + 20, std::uint32_t(y1));
    }
    bool operator==(const ShpIconHeader&) const = default;
};

}  // namespace pixmond
