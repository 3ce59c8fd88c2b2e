#pragma once
#include <filesystem>
#include <string>

namespace pixmond::test {

// A folder of icon files for the folder browser:
//   bike.shp   2 icons (3x2, 2x2)
//   JEEP.SHP   5 icons of 4x4
//   K\xF6nig.shp (a Windows-1252 name) 1 icon
//   Plane.s16  2 icons (5x4 with a 3x2 content at 1,1; 6x3)
//   sheet.png  240x150 RGB;  wide.png 241x150 RGB
//   Tiger.shp  3 icons: 6x5 with its box at (1,1)-(4,3), 3x3, 2x2
//   notes.txt  not an icon file
// Tiger's first icon, top row first ('.' transparent, letters palette indices 1..26):
//   "......", ".AAAB.", ".A..B.", ".CCCB.", "......"
void WriteFolderSample(const std::filesystem::path& folder);

// The name with the Windows-1252 byte, as it is on disk.
inline const std::string kLatinName = "K\xF6nig.shp";

}  // namespace pixmond::test
