// Reads arbitrary bytes as a ".keep" file, from memory and from disk, and checks both agree.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzScratch.h"
#include "archive/CFakefile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    pixmond::CFakefile inMemory;
    inMemory.LoadText(text);

    static const std::string path = fuzzing::ScratchPath("a.keep");
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        pixmond::CFakefile fromDisk;
        fromDisk.Load(path);
        if (fromDisk.Count() != inMemory.Count()) __builtin_trap();
    }
    for (const auto& [fake, node] : inMemory) {
        if (fake.empty() || node.real.empty() || !inMemory.IsFake(fake)) __builtin_trap();
    }
    return 0;
}
