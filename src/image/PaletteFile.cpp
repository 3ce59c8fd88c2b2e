#include "image/PaletteFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/ReadOnlyFile.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/SafeFile.h"

namespace pixmond {

namespace {

constexpr int kHeaderLines = 3;
constexpr int kLineLength = 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads one line of at most kLineLength - 1 characters; the rest of a longer line is dropped so that a
// runaway line cannot shift every entry after it.
bool ReadLine(std::FILE* file, char (&line)[kLineLength]) {
    if (!std::fgets(line, kLineLength, file)) return false;
    const size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] != '\n') {
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') {
        }
    }
    return true;
}

}  // namespace

bool ReadTextPalette(CBmpDib::ColourTable& table, const std::string& path, Messages& messages) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        messages.Error(Format("Cannot open file\n%s", path.c_str()));
        return false;
    }
    char line[kLineLength];
    for (int number = 0; number < kHeaderLines + 256 && ReadLine(file.get(), line); ++number) {
        if (number < kHeaderLines) continue;
        const int entry = number - kHeaderLines;
        std::uint8_t rgb[3] = {table[entry * 4 + 2], table[entry * 4 + 1], table[entry * 4]};
        ParsePaletteLine(line, rgb);
        table[entry * 4] = rgb[2];
        table[entry * 4 + 1] = rgb[1];
        table[entry * 4 + 2] = rgb[0];
        table[entry * 4 + 3] = 0;
    }
    return true;
}

int ParsePaletteLine(const char* line, std::uint8_t rgb[3]) {
    int found = 0;
    const char* p = line;
    while (found < 3) {
        while (*p && !std::isdigit(static_cast<unsigned char>(*p))) ++p;
        if (!*p) break;
        unsigned value = 0;
        for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) value = (value * 10 + unsigned(*p - '0')) & 0xFF;
        rgb[found++] = std::uint8_t(value);
    }
    return found;
}

bool ReadPalette(CBmpDib::ColourTable& table, const std::string& path, Messages& messages) {
    const auto file = ReadOnlyFile::Open(path);
    if (!file) {
        messages.Error(Format("[%s] Not found", path.c_str()));
        return false;
    }
    if (file->Size() == CBmpDib::kTableBytes) {
        CBmpDib::ColourTable read{};
        if (!file->ReadExact(0, read.data(), read.size())) {
            messages.Error(Format("Cannot open file\n%s", path.c_str()));
            return false;
        }
        table = read;
        return true;
    }
    if (file->Size() == 256 * 3) {
        std::uint8_t triples[256 * 3];
        if (!file->ReadExact(0, triples, sizeof triples)) {
            messages.Error(Format("Cannot open file\n%s", path.c_str()));
            return false;
        }
        for (int i = 0; i < 256; ++i) {
            table[i * 4] = triples[i * 3 + 2];
            table[i * 4 + 1] = triples[i * 3 + 1];
            table[i * 4 + 2] = triples[i * 3];
            table[i * 4 + 3] = 0;
        }
        return true;
    }
    return ReadTextPalette(table, path, messages);
}

bool ReadBinaryPalette(CBmpDib::ColourTable& table, const std::string& path, Messages& messages) {
    const auto file = ReadOnlyFile::Open(path);
    const std::uint64_t bytes = file ? std::min<std::uint64_t>(file->Size(), CBmpDib::kTableBytes) / 4 * 4 : 0;
    CBmpDib::ColourTable read = table;
    if (!file || (bytes > 0 && !file->ReadExact(0, read.data(), size_t(bytes)))) {
        messages.Error(Format("[%s] Not found", path.c_str()));
        return false;
    }
    table = read;
    return true;
}

bool WriteTextPalette(const CBmpDib::ColourTable& table, const std::string& path, Messages& messages) {
    std::string text = "JASP-PAL\nOrvel Shp Tool\n256\n";
    for (int i = 0; i < 256; ++i)
        text += Format("%d %d %d\n", table[i * 4 + 2], table[i * 4 + 1], table[i * 4]);
    SafeFile file(path);
    if (!file.IsOpen() || !file.Write(text.data(), text.size()) || !file.Commit()) {
        messages.Error(Format("Error on creating [%s]", path.c_str()));
        return false;
    }
    return true;
}

bool WriteBinaryPalette(const CBmpDib::ColourTable& table, const std::string& path, Messages& messages) {
    SafeFile file(path);
    if (!file.IsOpen() || !file.Write(table.data(), table.size()) || !file.Commit()) {
        messages.Error(Format("Error on creating [%s]", path.c_str()));
        return false;
    }
    return true;
}

}  // namespace pixmond
