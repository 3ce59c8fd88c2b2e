#include "image/PaletteSearch.h"

#include <algorithm>

namespace pixmond {

namespace {

// Far enough that no distance from a colour to it can win, near enough that three of them fit in 16 bits.
constexpr std::int16_t kFarAway = 10000;

// Adds one candidate to the end of a list of groups, opening a group of far lanes when the last one is full.
template <class Group, class Lanes>
void Append(std::vector<Group>& groups, int& lane, int lanes, std::int16_t red, std::int16_t green, std::int16_t blue,
            std::uint8_t index) {
    if (lane == lanes) {
        Group far;
        far.red = far.green = far.blue = Lanes{} + kFarAway;
        std::fill(std::begin(far.index), std::end(far.index), std::uint8_t(0));
        groups.push_back(far);
        lane = 0;
    }
    Group& group = groups.back();
    group.red[lane] = red;
    group.green[lane] = green;
    group.blue[lane] = blue;
    group.index[lane] = index;
    ++lane;
}

}  // namespace

PaletteSearch::Cells::Cells(int cellBits)
    : start(size_t(1) << (3 * (8 - cellBits)), kNotBuilt), count(start.size(), 0), bits(cellBits) {}

int PaletteSearch::Cells::CellOf(int red, int green, int blue) const {
    const int side = 256 >> bits;
    return ((red >> bits) * side + (green >> bits)) * side + (blue >> bits);
}

PaletteSearch::PaletteSearch(const RgbTriples& palette)
    : large_(kLargeBits), small_(kSmallBits), keys_(kSlots, kNotBuilt), values_(kSlots, 0) {
    for (int i = 0; i < 256; ++i) {
        red_[i] = palette[size_t(i) * 3];
        green_[i] = palette[size_t(i) * 3 + 1];
        blue_[i] = palette[size_t(i) * 3 + 2];
    }
    // The game reserves index 255: no picture colour may land on it.
    red_[255] = green_[255] = blue_[255] = kFarAway;
}

// Every lane set to the least of the lanes.
PaletteSearch::Lanes PaletteSearch::LeastOf(Lanes v) {
    Lanes other = __builtin_shufflevector(v, v, 4, 5, 6, 7, 0, 1, 2, 3);
    v = v < other ? v : other;
    other = __builtin_shufflevector(v, v, 2, 3, 0, 1, 6, 7, 4, 5);
    v = v < other ? v : other;
    other = __builtin_shufflevector(v, v, 1, 0, 3, 2, 5, 4, 7, 6);
    return v < other ? v : other;
}

// An entry can be nearest to some colour of a cell only when its least distance to the cell is no more than
// the greatest distance of an entry that is surely close; an entry tied with the winner passes the same test,
// so the lowest index of a tie is among the candidates too. A small cell takes the bound from the candidates
// of its large cell, which holds every entry that can be nearest anywhere in it.
void PaletteSearch::BuildLarge(int cell) {
    const int side = 1 << kLargeBits, perSide = 256 >> kLargeBits;
    const int loR = cell / (perSide * perSide) * side, loG = cell / perSide % perSide * side, loB = cell % perSide * side;
    const int hiR = loR + side - 1, hiG = loG + side - 1, hiB = loB + side - 1;
    std::int16_t least[256], greatest[256];
    for (int i = 0; i < 256; ++i) {
        const int r = red_[i], g = green_[i], b = blue_[i];
        least[i] = std::int16_t(std::max(loR - r, 0) + std::max(r - hiR, 0) + std::max(loG - g, 0) +
                                std::max(g - hiG, 0) + std::max(loB - b, 0) + std::max(b - hiB, 0));
        greatest[i] = std::int16_t(std::max(r - loR, hiR - r) + std::max(g - loG, hiG - g) + std::max(b - loB, hiB - b));
    }
    const std::int16_t bound = *std::min_element(std::begin(greatest), std::end(greatest));
    large_.start[size_t(cell)] = std::uint32_t(large_.groups.size());
    int lane = kLanes;
    for (int i = 0; i < 256; ++i)
        if (least[i] <= bound) Append<Group, Lanes>(large_.groups, lane, kLanes, red_[i], green_[i], blue_[i], std::uint8_t(i));
    large_.count[size_t(cell)] = std::uint8_t(large_.groups.size() - large_.start[size_t(cell)]);
}

void PaletteSearch::BuildSmall(int cell) {
    const int side = 1 << kSmallBits, perSide = 256 >> kSmallBits;
    const int loR = cell / (perSide * perSide) * side, loG = cell / perSide % perSide * side, loB = cell % perSide * side;
    const int large = large_.CellOf(loR, loG, loB);
    const Lanes lowR = Lanes{} + std::int16_t(loR), lowG = Lanes{} + std::int16_t(loG), lowB = Lanes{} + std::int16_t(loB);
    const Lanes highR = lowR + (side - 1), highG = lowG + (side - 1), highB = lowB + (side - 1);
    if (large_.start[size_t(large)] == kNotBuilt) BuildLarge(large);
    const Group* const first = large_.groups.data() + large_.start[size_t(large)];
    const Group* const end = first + large_.count[size_t(large)];
    const auto positive = [](Lanes v) { return v > 0 ? v : Lanes{}; };
    const auto larger = [](Lanes a, Lanes b) { return a > b ? a : b; };
    Lanes least[256 / kLanes];
    Lanes bound = Lanes{} + kFarAway;
    for (const Group* group = first; group != end; ++group) {
        const Lanes r = group->red, g = group->green, b = group->blue;
        least[group - first] = positive(lowR - r) + positive(r - highR) + positive(lowG - g) + positive(g - highG) +
                               positive(lowB - b) + positive(b - highB);
        const Lanes greatest = larger(r - lowR, highR - r) + larger(g - lowG, highG - g) + larger(b - lowB, highB - b);
        bound = bound < greatest ? bound : greatest;
    }
    const std::int16_t limit = LeastOf(bound)[0];
    small_.start[size_t(cell)] = std::uint32_t(small_.groups.size());
    int lane = kLanes;
    for (const Group* group = first; group != end; ++group)
        for (int k = 0; k < kLanes; ++k)
            if (least[group - first][k] <= limit)
                Append<Group, Lanes>(small_.groups, lane, kLanes, group->red[k], group->green[k], group->blue[k],
                                     group->index[k]);
    small_.count[size_t(cell)] = std::uint8_t(small_.groups.size() - small_.start[size_t(cell)]);
}

std::uint8_t PaletteSearch::Search(int red, int green, int blue) {
    if (red == 248 && green == 228 && blue == 216) return kTransparentIndex;
    const int cell = small_.CellOf(red, green, blue);
    if (small_.start[size_t(cell)] == kNotBuilt) BuildSmall(cell);
    const Group* const first = small_.groups.data() + small_.start[size_t(cell)];
    const Group* const end = first + small_.count[size_t(cell)];
    const Lanes r = Lanes{} + std::int16_t(red), g = Lanes{} + std::int16_t(green), b = Lanes{} + std::int16_t(blue);
    // Each lane keeps its least distance and the first group that reached it. Groups come in ascending index,
    // and so do the lanes of a group, so of the lanes at the least distance the one with the earliest group,
    // then the lowest lane, holds the lowest index: a tie goes to the lowest index, as in the linear search.
    Lanes best = Lanes{} + kFarAway;
    Lanes bestGroup{};
    Lanes ordinal{};
    for (const Group* group = first; group != end; ++group, ordinal += 1) {
        Lanes dr = group->red - r, dg = group->green - g, db = group->blue - b;
        dr = dr < 0 ? -dr : dr;
        dg = dg < 0 ? -dg : dg;
        db = db < 0 ? -db : db;
        const Lanes distance = dr + dg + db;
        const auto nearer = distance < best;
        best = nearer ? distance : best;
        bestGroup = nearer ? ordinal : bestGroup;
    }
    const Lanes least = LeastOf(best);
    const Lanes lane = {0, 1, 2, 3, 4, 5, 6, 7};
    const Lanes winner = LeastOf(best == least ? Lanes(bestGroup * kLanes + lane) : Lanes{} + kFarAway);
    return first[winner[0] / kLanes].index[winner[0] % kLanes];
}

}  // namespace pixmond
