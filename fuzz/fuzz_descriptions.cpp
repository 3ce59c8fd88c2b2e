// Reads arbitrary bytes as a description file and filters a small table with a filter taken from the input.
// The first byte chooses the flavour; the bytes after the first NUL, if any, are the descriptive filters.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzScratch.h"
#include "browser/DatListModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool csv = data[0] & 1;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string filter;
    if (const size_t nul = text.find('\0'); nul != std::string::npos) {
        filter = text.substr(nul + 1);
        text.resize(nul);
    }

    pixmond::DatListModel model;
    model.descriptions.ReadText(text, csv);

    static const std::string base = fuzzing::ScratchPath("desc");
    const std::string path = base + (csv ? ".csv" : ".txt");
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        pixmond::CIconDescriptions fromDisk;
        if (fromDisk.Read(path) && fromDisk.Size() != model.descriptions.Size()) __builtin_trap();
    }

    std::vector<pixmond::TDatItem> table(4);
    const char* names[] = {"TIGER.SHP", "PZ4F.SHP", "PZ4F2.SHP", "ARMY.S16"};
    for (size_t i = 0; i < table.size(); ++i) {
        table[i] = pixmond::TDatItem{};
        table[i].SetName(names[i]);
        table[i].icons = int(i) * 3;
        table[i].type = std::uint8_t(pixmond::IconKindOfEntryName(names[i]));
    }
    table[2].fake = 1;
    table[2].SetRealName("PZ4F");
    for (int k = 0; k < pixmond::kDescriptionFieldCount; ++k) model.filters.descriptive[k] = filter;
    model.filters.name = filter;
    model.filters.listMode = int(data[0] >> 1) % pixmond::DatListModel::kListModeCount;
    model.filters.fakesTogether = data[0] & 0x80;
    for (int i : model.Rebuild(table)) {
        if (i < 0 || size_t(i) >= table.size()) __builtin_trap();
    }
    return 0;
}
