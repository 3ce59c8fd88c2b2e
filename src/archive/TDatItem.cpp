#include "archive/TDatItem.h"

#include "base/TextCase.h"

namespace pixmond {

int CompareDatNames(const char* a, const char* b) {
    for (int i = 0; i < kDatNameBytes; ++i) {
        const auto x = static_cast<unsigned char>(ToUpperAscii(a[i]));
        const auto y = static_cast<unsigned char>(ToUpperAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}

std::uint8_t DatTypeOfName(std::string_view upperName) {
    std::uint8_t type = kTypeOther;
    if (upperName.find("S16") != std::string_view::npos) type = kTypeS16;
    if (upperName.find("SHP") != std::string_view::npos) type = kTypeShp;
    if (upperName.find("PNG") != std::string_view::npos) type = kTypePng;
    return type;
}

}  // namespace pixmond
