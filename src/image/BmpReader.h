#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace pixmond::bmp {

// Pictures that would take more bytes than this are refused. A file is never read further than such a
// picture with its headers: raw pixels never take more room in the file than in the bitmap.
inline constexpr std::int64_t kMaxImageBytes = 512LL << 20;
inline constexpr std::uint64_t kMaxFileBytes = std::uint64_t(kMaxImageBytes) + 4096;

// Compression values of the info header.
enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kJpeg = 4,
    kPng = 5,
    kAlphaBitFields = 6,
};

// The fields that every header form shares (OS/2 12 bytes; 40, 52, 56, 108 and 124 bytes), in one shape.
// Colour-space and profile fields of the longer forms are not kept.
struct Header {
    std::uint32_t dataOffset = 0;  // from the file header
    std::uint32_t size = 0;        // size of the info header
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative for top-down storage
    std::uint16_t planes = 1;
    std::uint16_t bits = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t imageSize = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
    std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha; set for bit-field pictures only
    std::uint64_t tableAt = 0;             // file offset of the colour table, after the masks that follow a header
    int tableEntryBytes = 4;               // 3 in the OS/2 form
};

// A picture as a bitmap holds it: 1- and 4-bit and run-length pictures become 8 bits with their colour
// table, 16-bit and bit-field pictures 24 bits (32 when a mask gives alpha, and 32-bit ones stay 32).
// Rows lie in the order of the file, padded to four bytes.
struct Image {
    int width = 0;
    int height = 0;
    int bits = 0;
    bool topDown = false;
    std::unique_ptr<std::uint8_t[]> pixels;
    std::uint64_t pixelBytes = 0;
    std::vector<std::uint8_t> table;  // the colour-table entries the file holds: blue, green, red, reserved
    int colourCount = 0;              // colour-table entries in use
};

// Reads the file header and any of the info-header forms, and checks depth and compression; false with
// the message in error when the file is refused.
bool ReadHeader(std::span<const std::uint8_t> file, const std::string& path, Header& header, std::string& error);

// Decodes the colour table and the pixels that the header describes; every size, offset and count is
// checked against the file first.
bool DecodeImage(std::span<const std::uint8_t> file, const Header& header, const std::string& path, Image& image,
                 std::string& error);

}  // namespace pixmond::bmp
