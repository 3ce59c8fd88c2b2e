#pragma once
#include <filesystem>

namespace pixmond::test {

// An archive as the browser meets it, with its fakes and descriptions beside it:
//   demo.dat   ARMOUR.SHP 9 icons 40x30, K\xF6NIG.SHP 9 icons (Windows-1252 name), PANEL.SHP 3 icons 20x10,
//              PLANE.S16 9 icons 30x20, TANKS.PNG a 720x450 sheet, TIGER.SHP 20 icons 200x160, readme.txt
//   demo.keep  TIGERX1;TIGER  and  PANELX2;PANEL
//   demo.csv   descriptions of ARMOUR, PANEL, PLANE and TIGER (TIGER: "Heavy tank;grey;tank;Germany;...")
// Returns the archive's path.
std::filesystem::path WriteDatSample(const std::filesystem::path& folder);

}  // namespace pixmond::test
