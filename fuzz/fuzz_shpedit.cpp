// Removes an icon from arbitrary bytes read as an SHP file, then inserts a bitmap: a rewrite either
// refuses the file and leaves it byte for byte as it was, or gives a file whose every record reads back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzScratch.h"
#include "image/CBmpOrvel.h"
#include "image/CShpEditor.h"
#include "image/CShpFile.h"
#include "support/RecordingServices.h"

namespace {

bool WriteFile(const std::string& path, const std::uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    return true;
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    std::uint8_t buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    return bytes;
}

// Every icon of a rewritten file has a record that the reader can walk.
void CheckReadable(const std::string& path) {
    pixmond::CShpFile shp;
    if (!shp.OpenFile(path, 1) || !shp.HasDirectory()) __builtin_trap();
    for (int n = 1; n <= shp.IconCount() && n <= 64; ++n)
        if (!shp.IconReadable(n)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const std::string base = fuzzing::ScratchPath("edit");
    static const std::string path = base + ".shp";
    static const std::string bmp = base + ".bmp";
    static bool bitmapWritten = false;
    pixmond::RecordingServices services;
    if (!bitmapWritten) {
        pixmond::CBmpOrvel picture;
        picture.Create(3, 2, 8, false);
        picture.Allocate();
        picture.Fill(7);
        bitmapWritten = picture.SaveBmp(bmp, true, services.messages);
    }
    if (size < 1 || !WriteFile(path, data + 1, size - 1)) return 0;
    const std::vector<std::uint8_t> before(data + 1, data + size);

    pixmond::CShpFile shp;
    if (!shp.OpenFile(path, 1)) return 0;
    pixmond::CShpEditor editor(services);
    const bool changed = data[0] & 1 ? editor.RemoveIcon(shp, 1 + data[0] / 2) : editor.InsertBmp(shp, bmp, data[0] / 2);
    if (changed)
        CheckReadable(path);
    else if (ReadFile(path) != before)
        __builtin_trap();
    return 0;
}
