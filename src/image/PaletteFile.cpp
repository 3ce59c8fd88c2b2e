#include "image/PaletteFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/SafeFile.h"

namespace pixmond {

namespace {

constexpr int kHeaderLines = 3;
constexpr int kLineLength = 1024;

// The lines of a file, read in blocks. A line longer than kLineLength - 1 characters is cut there and the rest
// of it dropped, so that a runaway line cannot shift every entry after it.
class LineReader {
public:
    explicit LineReader(const ReadOnlyFile& file) : file_(file) {}

    bool Read(char (&line)[kLineLength]) {
        int c = Next();
        if (c < 0) return false;
        size_t length = 0;
        for (; c >= 0 && c != '\n'; c = Next())
            if (length < kLineLength - 1) line[length++] = char(c);
        line[length] = '\0';
        return true;
    }

private:
    int Next() {
        if (at_ == block_.size()) {
            block_ = file_.ReadBlock(offset_, 4096);
            offset_ += block_.size();
            at_ = 0;
            if (block_.empty()) return -1;
        }
        return block_[at_++];
    }

    const ReadOnlyFile& file_;
    std::uint64_t offset_ = 0;
    std::vector<std::uint8_t> block_;
    size_t at_ = 0;
};

// The text form from a file's lines: three header lines, not checked, then one colour line per entry.
void ReadTextLines(CBmpDib::ColourTable& table, const ReadOnlyFile& file) {
    LineReader lines(file);
    char line[kLineLength];
    for (int number = 0; number < kHeaderLines + 256 && lines.Read(line); ++number) {
        if (number < kHeaderLines) continue;
        const int entry = number - kHeaderLines;
        std::uint8_t rgb[3] = {table[entry * 4 + 2], table[entry * 4 + 1], table[entry * 4]};
        ParsePaletteLine(line, rgb);
        table[entry * 4] = rgb[2];
        table[entry * 4 + 1] = rgb[1];
        table[entry * 4 + 2] = rgb[0];
        table[entry * 4 + 3] = 0;
    }
}

}  // namespace

bool ReadTextPalette(CBmpDib::ColourTable& table, const std::string& path, Messages& messages) {
    const auto file = ReadOnlyFile::Open(path);
    if (!file) {
        messages.Error(Format("Cannot open file\n%s", path.c_str()));
        return false;
    }
    ReadTextLines(table, *file);
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
    if (ReadPalette(table, *file)) return true;
    messages.Error(Format("Cannot open file\n%s", path.c_str()));
    return false;
}

bool ReadPalette(CBmpDib::ColourTable& table, const ReadOnlyFile& file) {
    if (file.Size() == CBmpDib::kTableBytes) {
        CBmpDib::ColourTable read{};
        if (!file.ReadExact(0, read.data(), read.size())) return false;
        table = read;
        return true;
    }
    if (file.Size() == 256 * 3) {
        std::uint8_t triples[256 * 3];
        if (!file.ReadExact(0, triples, sizeof triples)) return false;
        for (int i = 0; i < 256; ++i) {
            table[i * 4] = triples[i * 3 + 2];
            table[i * 4 + 1] = triples[i * 3 + 1];
            table[i * 4 + 2] = triples[i * 3];
            table[i * 4 + 3] = 0;
        }
        return true;
    }
    ReadTextLines(table, file);
    return true;
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

std::string TextPalette(const CBmpDib::ColourTable& table) {
    std::string text = "JASP-PAL\nOrvel Shp Tool\n256\n";
    for (int i = 0; i < 256; ++i)
        text += Format("%d %d %d\n", table[i * 4 + 2], table[i * 4 + 1], table[i * 4]);
    return text;
}

bool WriteTextPalette(const CBmpDib::ColourTable& table, const std::string& path, Messages& messages) {
    const std::string text = TextPalette(table);
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
