#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/CShp3.h"
#include "image/PngReader.h"
#include "base/ReadOnlyFile.h"
#include "support/RecordingMessages.h"

namespace {
std::string TempPath() { return "/tmp/pixmond-fuzz-png-" + std::to_string(::getpid()) + ".png"; }
}  // namespace

// Inputs without a PNG signature get one, so that the fuzzer spends its time inside libpng's chunks.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const std::string path = TempPath();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite("junk", 1, 4, f);
    std::fwrite(signature, 1, 8, f);
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    pixmond::RecordingMessages messages;
    pixmond::CShp3 set;
    set.LoadPngPicture(pixmond::ReadOnlyFile::Open(path), 4, messages);
    std::remove(path.c_str());
    return 0;
}
