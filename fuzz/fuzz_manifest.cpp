// Reads arbitrary bytes as a sheets manifest; whatever is read must be written and read back the same.
#include <cstdint>
#include <string>

#include "tools/SheetManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    pixmond::SheetManifest manifest;
    std::string problem;
    if (!manifest.FromJson(std::string(reinterpret_cast<const char*>(data), size), problem)) {
        if (problem.empty()) __builtin_trap();
        return 0;
    }
    std::erase_if(manifest.entries, [](const pixmond::SheetEntry& e) { return !e.problem.empty(); });
    const std::string written = manifest.ToJson();
    pixmond::SheetManifest again;
    if (!again.FromJson(written, problem) || again.ToJson() != written) __builtin_trap();
    return 0;
}
