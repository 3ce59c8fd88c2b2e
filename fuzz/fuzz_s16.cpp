#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "image/CShp3.h"
#include "base/ReadOnlyFile.h"

namespace {
std::string TempPath() { return "/tmp/pixmond-fuzz-s16-" + std::to_string(::getpid()) + ".s16"; }
}  // namespace

// The first byte picks a base offset so that archive entries inside other data are covered too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string path = TempPath();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);

    pixmond::CShp3 set;
    if (data[0] & 1) {
        set.AttachArchiveFile(pixmond::ReadOnlyFile::Open(path), data[0] >> 1);
        set.ReadDirectory(1);
    } else {
        set.OpenFile(path);
    }
    const int count = std::min(set.IconCount(), 32);
    for (int n = 1; n <= count; ++n) {
        set.SelectIcon(n);
        set.DecodeIcon();
    }
    std::remove(path.c_str());
    return 0;
}
