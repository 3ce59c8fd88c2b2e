#pragma once
#include <cstdint>
#include <memory>
#include <string>

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

}  // namespace pixmond
