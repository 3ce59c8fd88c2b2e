#pragma once
#include <cstdint>
#include <span>

namespace pixmond {

// A view of bytes read from a file; every read is bounds-checked. The checked forms say whether the value
// fitted; the plain forms give 0 for bytes past the end.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    size_t Size() const { return bytes_.size(); }
    bool Has(size_t at, size_t count) const { return at <= bytes_.size() && bytes_.size() - at >= count; }
    const std::uint8_t* At(size_t at) const { return bytes_.data() + at; }

    bool ReadU8(size_t at, std::uint8_t& out) const {
        if (!Has(at, 1)) return false;
        out = bytes_[at];
        return true;
    }
    bool ReadU16(size_t at, std::uint16_t& out) const {
        if (!Has(at, 2)) return false;
        out = std::uint16_t(bytes_[at] | bytes_[at + 1] << 8);
        return true;
    }
    bool ReadU32(size_t at, std::uint32_t& out) const {
        if (!Has(at, 4)) return false;
        out = std::uint32_t(bytes_[at]) | std::uint32_t(bytes_[at + 1]) << 8 | std::uint32_t(bytes_[at + 2]) << 16 |
              std::uint32_t(bytes_[at + 3]) << 24;
        return true;
    }
    bool ReadI32(size_t at, std::int32_t& out) const {
        std::uint32_t u;
        if (!ReadU32(at, u)) return false;
        out = std::int32_t(u);
        return true;
    }
    bool ReadI16(size_t at, std::int16_t& out) const {
        std::uint16_t u;
        if (!ReadU16(at, u)) return false;
        out = std::int16_t(u);
        return true;
    }

    std::uint8_t U8(size_t at) const { std::uint8_t v = 0; ReadU8(at, v); return v; }
    std::uint16_t U16(size_t at) const { std::uint16_t v = 0; ReadU16(at, v); return v; }
    std::uint32_t U32(size_t at) const { std::uint32_t v = 0; ReadU32(at, v); return v; }
    std::int32_t I32(size_t at) const { return std::int32_t(U32(at)); }
    std::int16_t I16(size_t at) const { return std::int16_t(U16(at)); }

private:
    std::span<const std::uint8_t> bytes_;
};

// Little-endian stores, for writers.
inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}
inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

}  // namespace pixmond
