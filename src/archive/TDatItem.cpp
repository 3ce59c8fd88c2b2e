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

}  // namespace pixmond
