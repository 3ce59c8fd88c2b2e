// Reads arbitrary bytes as a BMP file; whatever loads must be consistent and save again.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzScratch.h"
#include "image/CBmpDib.h"
#include "support/RecordingMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
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
