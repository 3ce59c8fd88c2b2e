#pragma once

namespace pixmond {

// The fonts names may be drawn in: face and size in tenths of a point. Row 4 is the usual choice.
struct FontSpec {
    const char* face;
    int size;
};

inline constexpr FontSpec kFontTable[] = {
    {"Terminal", 60},      {"Terminal", 80},       {"Terminal", 90},       {"MS Serif", 80},    {"MS Sans Serif", 80},
    {"Lucida Console", 80}, {"Lucida Console", 90}, {"Lucida Sans", 90},    {"MS PMincho", 80},  {"MS PMincho", 90},
};
inline constexpr int kFontCount = int(sizeof(kFontTable) / sizeof(kFontTable[0]));
inline constexpr int kDefaultFontRow = 4;

// The table row for an index; an index outside the table gives the usual row.
inline const FontSpec& FontAt(int index) {
    return kFontTable[index >= 0 && index < kFontCount ? index : kDefaultFontRow];
}

}  // namespace pixmond
