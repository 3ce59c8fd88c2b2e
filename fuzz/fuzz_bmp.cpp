// Reads arbitrary bytes as a BMP file; whatever loads must be consistent and save again.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "FuzzScratch.h"
#include "image/CBmpDib.h"
#include "support/RecordingMessages.h"

namespace {

// What the header claims: width times height, from the 12-byte form or any of the longer ones.
std::uint64_t ClaimedPixels(const std::uint8_t* data, size_t size) {
    const auto u16 = [data](size_t at) { return std::uint32_t(data[at] | data[at + 1] << 8); };
    const auto i32 = [&](size_t at) { return std::int64_t(std::int32_t(u16(at) | u16(at + 2) << 16)); };
    if (size < 26) return 0;
    if (u16(14) == 12) return std::uint64_t(u16(18)) * u16(20);
    return std::uint64_t(std::llabs(i32(18))) * std::uint64_t(std::llabs(i32(22)));
}

// The reader accepts compressed pictures of up to 40 megapixels from a few bytes; clearing, checking and saving
// such a picture for each input slows the fuzzer a hundredfold and teaches it nothing the small ones do not.
// The unit tests cover the limit itself.
constexpr std::uint64_t kMostPixels = std::uint64_t(1) << 22;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (ClaimedPixels(data, size) > kMostPixels) return 0;
    static const std::string path = fuzzing::ScratchPath("in.bmp");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    pixmond::RecordingMessages messages;
    pixmond::CBmpDib picture;
    if (picture.LoadBmp(path, messages)) {
        if (!picture.Bits() || picture.Width() <= 0 || picture.Height() <= 0) __builtin_trap();
        if (std::uint64_t(picture.Stride()) * std::uint64_t(picture.Height()) != picture.ImageSize()) __builtin_trap();
        (void)picture.PixelRgb(picture.Width() - 1, picture.Height() - 1);
        static const std::string out = fuzzing::ScratchPath("out.bmp");
        if (!picture.SaveBmp(out, true, messages)) __builtin_trap();
    } else if (messages.Errors().empty()) {
        __builtin_trap();
    }
    return 0;
}
