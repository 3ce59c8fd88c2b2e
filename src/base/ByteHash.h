#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace pixmond {

// A 64-bit FNV-1a hash of bytes, for telling whether data changed since it was last seen (not for security).
class ByteHash {
public:
    ByteHash& Add(std::span<const std::uint8_t> bytes) {
        for (const std::uint8_t b : bytes) value_ = (value_ ^ b) * 0x100000001b3ull;
        return *this;
    }
    std::uint64_t Value() const { return value_; }
    // Sixteen lower-case hexadecimal digits.
    std::string Text() const;
    static std::string Of(std::span<const std::uint8_t> bytes) { return ByteHash().Add(bytes).Text(); }

private:
    std::uint64_t value_ = 0xcbf29ce484222325ull;
};

}  // namespace pixmond
