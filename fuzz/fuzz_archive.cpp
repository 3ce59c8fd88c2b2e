// Loads arbitrary bytes as an archive (with a fixed .keep beside it) and touches every listed entry.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzScratch.h"
#include "archive/CDatFile.h"
#include "support/RecordingServices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const std::string dir = [] {
        std::string path = fuzzing::ScratchPath("archive-XXXXXX");
        if (!::mkdtemp(path.data())) path = "/tmp";
        if (std::FILE* keep = std::fopen((path + "/A.KEEP").c_str(), "wb")) {
            std::fputs("X1;TIGER\nX2;NOPE\n#c\nX3;A\n", keep);
            std::fclose(keep);
        }
        return path;
    }();
    const std::string path = dir + "/a.dat";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    // One archive object for the whole run, as the program has: loads must not depend on what came before.
    static pixmond::RecordingServices services;
    static pixmond::CDatFile dat(services);
    services.messages.Clear();
    // A file that is no archive leaves the archive loaded before it open, so only a load that worked is checked
    // against this input.
    if (!dat.Load(path, true)) return 0;
    std::uint64_t sum = 0;
    for (const auto& item : dat.Items()) {
        sum += item.Name().size() + item.RealName().size() + item.size;
        if (item.loadable && item.fake == 0 && (std::uint64_t(item.offset) + item.size > size)) __builtin_trap();
    }
    return int(sum & 0);
}
