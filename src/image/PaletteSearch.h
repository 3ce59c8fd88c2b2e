#pragma once
#include <cstdint>
#include <vector>

#include "image/Palette.h"

namespace pixmond {

// The nearest palette index of many colours, the same answer as NearestPaletteIndex for every colour (ties
// included) at a fraction of its cost. The colour cube is cut into cells; each cell, when first asked, keeps
// the few entries that can be nearest to any colour inside it, so a colour is compared with those only. A
// small cell takes its entries from the large cell around it, which takes them from the whole palette.
// Recent answers are kept as well, as pictures repeat their colours. Not shared between threads.
class PaletteSearch {
public:
    explicit PaletteSearch(const RgbTriples& palette);

    std::uint8_t Nearest(int red, int green, int blue) {
        const std::uint32_t key = std::uint32_t(red) << 16 | std::uint32_t(green) << 8 | std::uint32_t(blue);
        const std::uint32_t slot = (key ^ key >> 9 ^ key >> 18) & (kSlots - 1);
        if (keys_[slot] != key) {
            keys_[slot] = key;
            values_[slot] = Search(red, green, blue);
        }
        return values_[slot];
    }

private:
    static constexpr int kLargeBits = 4;  // a large cell is 16 x 16 x 16 colours
    static constexpr int kSmallBits = 3;  // a small one 8 x 8 x 8
    static constexpr std::uint32_t kSlots = 1 << 14;
    static constexpr std::uint32_t kNotBuilt = 0xFFFFFFFFu;
    static constexpr int kLanes = 8;

    // Eight candidates side by side, so their distances are computed together in one vector register;
    // unused lanes lie far away.
    using Lanes = std::int16_t __attribute__((vector_size(2 * kLanes)));
    struct Group {
        Lanes red, green, blue;
        std::uint8_t index[kLanes];
    };
    // The candidates of the cells of one size, each cell's groups in ascending index.
    struct Cells {
        explicit Cells(int bits);
        int CellOf(int red, int green, int blue) const;
        std::vector<std::uint32_t> start;  // first group of a cell, kNotBuilt until the cell is first needed
        std::vector<std::uint8_t> count;
        std::vector<Group> groups;
        int bits;
    };

    static Lanes LeastOf(Lanes lanes);
    std::uint8_t Search(int red, int green, int blue);
    void BuildLarge(int cell);
    void BuildSmall(int cell);

    // The palette, with entry 255 (never chosen) moved out of reach.
    std::int16_t red_[256], green_[256], blue_[256];
    Cells large_, small_;
    std::vector<std::uint32_t> keys_;  // 0xRRGGBB, or kNotBuilt for an empty slot
    std::vector<std::uint8_t> values_;
};

}  // namespace pixmond
