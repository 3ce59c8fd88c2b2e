// Reads arbitrary bytes as a palette file, in memory, then writes the result in the text form and reads it back:
// the colours must survive.
#include <cstdint>
#include <string>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "image/Palette.h"
#include "image/PaletteFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    pixmond::CBmpDib::ColourTable table = pixmond::DefaultColourTable();
    const auto input = pixmond::ReadOnlyFile::FromBytes(std::vector<std::uint8_t>(data, data + size));
    if (!pixmond::ReadPalette(table, *input)) __builtin_trap();

    const std::string text = pixmond::TextPalette(table);
    const auto written = pixmond::ReadOnlyFile::FromBytes(std::vector<std::uint8_t>(text.begin(), text.end()));
    pixmond::CBmpDib::ColourTable again{};
    if (!pixmond::ReadPalette(again, *written)) __builtin_trap();
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            if (again[i * 4 + c] != table[i * 4 + c]) __builtin_trap();
    return 0;
}
