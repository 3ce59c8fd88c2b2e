#pragma once
#include <cstdint>
#include <string_view>

namespace pixmond {

// The kinds of icon file. The values are those the type byte of an archive's entry table stores.
enum class IconKind : std::uint8_t { Other = 0, Shp = 1, S16 = 2, Png = 3 };

// The kind a file's name gives it by its extension, in any case: ".shp", ".s16" or ".png". Anything else
// ("notes.txt", "a.shp.bak", a name without extension) is Other.
IconKind IconKindOfName(std::string_view name);
// The kind an archive gives an entry by its upper-case name: the name contains "S16", "SHP" or "PNG", and a
// later one of these in that order wins, so SHPX.PNG is a PNG and S16SHP.DAT an SHP.
IconKind IconKindOfEntryName(std::string_view upperName);
// "SHP", "S16", "PNG" or "other", as lists show the kind.
const char* IconKindName(IconKind kind);

// A picture at least 240 x 150 whose sides both divide by 3 is a 3 x 3 sheet of nine icons.
bool IsIconSheet(int width, int height);
// The size of one icon of a picture: a cell of a sheet, else the whole picture.
void SheetIconSize(int& width, int& height);

}  // namespace pixmond
