#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pixmond {

class CBmpDib;
class Messages;
class ReadOnlyFile;

// What LoadImagePNG reads (a named file, or an open file at an offset) and what it gives back.
struct PngLoadRequest {
    std::string fileName;                  // may be empty when a stream is given
    const ReadOnlyFile* stream = nullptr;  // used instead of the file name when set
    std::uint64_t streamOffset = 0;        // first byte of the PNG data in the stream

    int width = 0;
    int height = 0;
    // One block: a 40-byte BITMAPINFOHEADER, then 24-bit bottom-up rows padded to four bytes.
    std::unique_ptr<std::uint8_t[]> block;
    std::uint8_t* pixels = nullptr;  // inside block
};

constexpr std::int32_t kPngLoaded = 1;
constexpr std::int32_t kPngFailed = std::int32_t(0x80004005u);
// Pictures beyond these are refused before anything is allocated for them.
constexpr std::int64_t kPngMaxSide = 16384;
constexpr std::int64_t kPngMaxPixels = std::int64_t(40) << 20;

// Decodes a PNG into a new picture block; reports its own failures.
bool LoadImagePNG(PngLoadRequest& request, Messages& messages);
// Makes the bitmap a 24-bit bottom-up copy of the PNG with the from-PNG flag set; kPngLoaded or kPngFailed
// (the bitmap is then unchanged).
std::int32_t LoadPng(CBmpDib& bitmap, const std::string& fileName, const ReadOnlyFile* stream,
                     std::uint64_t streamOffset, Messages& messages);

// A PNG's pixels as stored, for comparing them with what was written: a palette picture keeps its indices and
// its colour table (alpha from its transparency chunk); any other picture becomes 8-bit red, green, blue,
// alpha. No gamma and no background colour are applied.
struct PngSamples {
    int width = 0;
    int height = 0;
    bool indexed = false;
    std::vector<std::uint8_t> pixels;             // rows top first: one index a pixel, or four bytes
    std::array<std::uint8_t, 256 * 4> palette{};  // red, green, blue, alpha of each index (indexed pictures)
};
// False, with the reason, when the file is not a PNG or cannot be decoded.
bool ReadPngSamples(const std::string& path, PngSamples& out, std::string& problem);

}  // namespace pixmond
