// Reads arbitrary bytes as an SHP file: the directory, every icon decoded, every record walked. The same
// bytes are also read at a base offset inside a larger file, as an archive hands them over.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/CShpFile.h"

namespace {

bool WriteFile(const std::string& path, const std::uint8_t* prefix, size_t prefixSize, const std::uint8_t* data,
               size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fwrite(prefix, 1, prefixSize, file);
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    return true;
}

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz-shp-" + std::to_string(::getpid()) + ".shp";
    if (!WriteFile(path, nullptr, 0, data, size)) return 0;
    pixmond::CShpFile shp;
    if (shp.OpenFile(path, 1)) DecodeAll(shp);

    static const std::uint8_t prefix[13] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    if (!WriteFile(path, prefix, sizeof prefix, data, size)) return 0;
    auto file = pixmond::ReadOnlyFile::Open(path);
    pixmond::CShpFile inside;
    if (file && inside.AttachArchiveFile(file, sizeof prefix)) {
        inside.ReadDirectory(1);
        DecodeAll(inside);
    }
    return 0;
}
