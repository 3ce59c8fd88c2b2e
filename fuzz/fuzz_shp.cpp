// Reads arbitrary bytes as an SHP file: the directory, every icon decoded, every record walked. The same
// bytes are also read at a base offset behind other data, as an archive hands them over. All in memory.
#include <cstdint>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "image/CShpFile.h"

namespace {

// Decoding thousands of icons of one input teaches the fuzzer nothing new and slows it to a crawl; so does
// decoding dozens of full-screen icons. Behind other data only the first few icons are tried: the base offset
// changes where the directory and records are found, not how an icon decodes.
constexpr int kIconsTried = 64;
constexpr int kIconsTriedInside = 4;
constexpr long kPixelBudget = 640 * 480;

void DecodeAll(pixmond::CShpFile& shp, int iconsTried) {
    long pixels = 0;
    for (int n = 1; n <= shp.IconCount() && n <= iconsTried && pixels < kPixelBudget; ++n) {
        if (shp.SelectIcon(n) != n) __builtin_trap();
        const int processed = shp.DecodeIcon();
        if (processed > 0 && (shp.Width() < 2 || shp.Width() > 640 || shp.Height() < 2 || shp.Height() > 480))
            __builtin_trap();
        if (processed > 0) pixels += long(shp.Width()) * shp.Height();
        const std::uint32_t size = shp.IconRecordSize(n);
        if (size > 0 && size < 24) __builtin_trap();
    }
}

void ReadAt(std::vector<std::uint8_t> bytes, std::uint32_t offset, int iconsTried) {
    pixmond::CShpFile shp;
    if (!shp.AttachArchiveFile(pixmond::ReadOnlyFile::FromBytes(std::move(bytes)), offset)) __builtin_trap();
    shp.ReadDirectory(1);
    DecodeAll(shp, iconsTried);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    ReadAt(std::vector<std::uint8_t>(data, data + size), 0, kIconsTried);
    std::vector<std::uint8_t> inside(13, 'x');
    inside.insert(inside.end(), data, data + size);
    ReadAt(std::move(inside), 13, kIconsTriedInside);
    return 0;
}
