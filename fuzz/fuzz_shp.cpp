// Reads arbitrary bytes as an SHP file: the directory, every icon decoded, every record walked. The same
// bytes are also read at a base offset behind other data, as an archive hands them over. All in memory.
#include <cstdint>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "image/CShpFile.h"

namespace {

// Decoding thousands of icons of one input teaches the fuzzer nothing new and slows it to a crawl.
constexpr int kIconsTried = 64;

void DecodeAll(pixmond::CShpFile& shp) {
    for (int n = 1; n <= shp.IconCount() && n <= kIconsTried; ++n) {
        if (shp.SelectIcon(n) != n) __builtin_trap();
        const int processed = shp.DecodeIcon();
        if (processed > 0 && (shp.Width() < 2 || shp.Width() > 640 || shp.Height() < 2 || shp.Height() > 480))
            __builtin_trap();
        const std::uint32_t size = shp.IconRecordSize(n);
        if (size > 0 && size < 24) __builtin_trap();
    }
}

void ReadAt(std::vector<std::uint8_t> bytes, std::uint32_t offset) {
    pixmond::CShpFile shp;
    if (!shp.AttachArchiveFile(pixmond::ReadOnlyFile::FromBytes(std::move(bytes)), offset)) __builtin_trap();
    shp.ReadDirectory(1);
    DecodeAll(shp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    ReadAt(std::vector<std::uint8_t>(data, data + size), 0);
    std::vector<std::uint8_t> inside(13, 'x');
    inside.insert(inside.end(), data, data + size);
    ReadAt(std::move(inside), 13);
    return 0;
}
