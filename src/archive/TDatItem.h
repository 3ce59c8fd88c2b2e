#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "image/IconKind.h"

namespace pixmond {

// Most entries an archive may list; the table keeps two spare slots behind them.
inline constexpr int MAX_DAT_ITEMS = 30000;
inline constexpr int kDatTableSlots = MAX_DAT_ITEMS + 2;
// Bytes of a name in the archive directory and in the table (12 characters and a terminating zero when we write).
inline constexpr int kDatNameBytes = 13;

// One listed entry. Packed to the byte layout the rest of the program was written against.
#pragma pack(push, 1)
struct TDatItem {
    char name[kDatNameBytes];      // upper case; may fill all 13 bytes without a terminator
    std::uint32_t offset;
    std::uint32_t size;
    std::int32_t icons;
    std::uint8_t loadable;
    std::uint8_t type;             // the IconKind
    std::uint8_t fake;
    char realName[kDatNameBytes];  // fake entries: title of the icon they stand for

    std::string_view Name() const { return {name, ::strnlen(name, kDatNameBytes)}; }
    std::string_view RealName() const { return {realName, ::strnlen(realName, kDatNameBytes)}; }
    IconKind Kind() const { return IconKind(type); }
    // The name without its extension: the key icons are matched by.
    std::string_view Title() const {
        const std::string_view n = Name();
        const size_t dot = n.rfind('.');
        return dot == std::string_view::npos ? n : n.substr(0, dot);
    }
    // The extension with its dot, or empty.
    std::string_view Extension() const {
        const std::string_view n = Name();
        const size_t dot = n.rfind('.');
        return dot == std::string_view::npos ? std::string_view() : n.substr(dot);
    }
    void SetName(std::string_view text, size_t limit = kDatNameBytes) { Store(name, text, limit); }
    void SetRealName(std::string_view text) { Store(realName, text, kDatNameBytes); }

private:
    static void Store(char (&field)[kDatNameBytes], std::string_view text, size_t limit) {
        if (limit > kDatNameBytes) limit = kDatNameBytes;
        const size_t n = text.size() < limit ? text.size() : limit;
        std::memset(field, 0, kDatNameBytes);
        std::memcpy(field, text.data(), n);
    }
};
#pragma pack(pop)
static_assert(sizeof(TDatItem) == 41, "TDatItem is the 41-byte packed record");

// Orders names as the directory is sorted: upper case, at most 13 characters.
int CompareDatNames(const char* a, const char* b);
inline bool DatNameLess(const TDatItem& a, const TDatItem& b) { return CompareDatNames(a.name, b.name) < 0; }

}  // namespace pixmond
