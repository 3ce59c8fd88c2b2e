// Reads arbitrary bytes as a palette file, then writes and reads the result back in the text form.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzScratch.h"
#include "image/Palette.h"
#include "image/PaletteFile.h"
#include "support/RecordingMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const std::string path = fuzzing::ScratchPath("in.pal");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    pixmond::RecordingMessages messages;
    pixmond::CBmpDib::ColourTable table = pixmond::DefaultColourTable();
    if (!pixmond::ReadPalette(table, path, messages)) __builtin_trap();

    static const std::string text = fuzzing::ScratchPath("out.txt");
    if (!pixmond::WriteTextPalette(table, text, messages)) return 0;
    pixmond::CBmpDib::ColourTable again{};
    if (!pixmond::ReadPalette(again, text, messages)) __builtin_trap();
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            if (again[i * 4 + c] != table[i * 4 + c]) __builtin_trap();
    return 0;
}
