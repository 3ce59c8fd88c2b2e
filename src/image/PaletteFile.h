#pragma once
#include <string>

#include "image/CBmpDib.h"

namespace pixmond {

class Messages;
class ReadOnlyFile;

// Fills the colour table from a palette file: 1024 bytes are the table as it lies in memory (blue, green,
// red, 0), 768 bytes are 256 red, green, blue triples, anything else is the text form. Entries the file
// does not give keep their colour. Failures are reported; false leaves the table as it was.
bool ReadPalette(CBmpDib::ColourTable& table, const std::string& path, Messages& messages);
// The same from a file already open (or bytes in memory); false when it cannot be read.
bool ReadPalette(CBmpDib::ColourTable& table, const ReadOnlyFile& file);

// The text form alone, whatever the file's size: three header lines, not checked, then one line per entry.
bool ReadTextPalette(CBmpDib::ColourTable& table, const std::string& path, Messages& messages);

// The binary form as it lies in the file: up to 256 entries of 4 bytes (blue, green, red, reserved) read
// straight into the table. A shorter file changes only the entries it holds whole (768 bytes: entries 0-191).
// "[%s] Not found" when the file cannot be read; false leaves the table as it was.
bool ReadBinaryPalette(CBmpDib::ColourTable& table, const std::string& path, Messages& messages);

// The text form: "JASP-PAL", "Orvel Shp Tool", "256", then one "%d %d %d" line per entry.
std::string TextPalette(const CBmpDib::ColourTable& table);
bool WriteTextPalette(const CBmpDib::ColourTable& table, const std::string& path, Messages& messages);
// The binary form: the 1024 bytes of the table.
bool WriteBinaryPalette(const CBmpDib::ColourTable& table, const std::string& path, Messages& messages);

// One colour line of the text form: up to three decimal numbers, anything else between them, each kept to
// its low eight bits. Returns how many numbers the line held (the components beyond stay as they were).
int ParsePaletteLine(const char* line, std::uint8_t rgb[3]);

}  // namespace pixmond
