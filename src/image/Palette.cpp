#include "image/Palette.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

#include "base/OrderedWork.h"
#include "image/PaletteSearch.h"

namespace pixmond {

namespace {

// The palette split into one array per component, so that the distances of all entries are computed in one
// straight loop the compiler can vectorise.
struct Components {
    std::int16_t red[256], green[256], blue[256];
    explicit Components(const RgbTriples& triples) {
        for (int i = 0; i < 256; ++i) {
            red[i] = triples[i * 3];
            green[i] = triples[i * 3 + 1];
            blue[i] = triples[i * 3 + 2];
        }
    }
};

const Components& DefaultComponents() {
    static const Components components(DefaultPalette());
    return components;
}

// Index 255 is left out on purpose: the game reserves it, so no picture colour may land on it.
constexpr int kSearched = 255;

std::uint8_t Nearest(const Components& p, int red, int green, int blue) {
    if (red == 248 && green == 228 && blue == 216) return kTransparentIndex;
    std::int16_t distance[256];
    for (int i = 0; i < kSearched; ++i) {
        const int dr = p.red[i] - red, dg = p.green[i] - green, db = p.blue[i] - blue;
        distance[i] = std::int16_t((dr < 0 ? -dr : dr) + (dg < 0 ? -dg : dg) + (db < 0 ? -db : db));
    }
    std::int16_t least = distance[0];
    for (int i = 1; i < kSearched; ++i) least = std::min(least, distance[i]);
    // The lowest index of the least distance wins.
    int best = 0;
    while (distance[best] != least) ++best;
    return std::uint8_t(best);
}

}  // namespace

std::uint8_t NearestPaletteIndex(int red, int green, int blue, const RgbTriples* palette) {
    if (!palette) return Nearest(DefaultComponents(), red, green, blue);
    return Nearest(Components(*palette), red, green, blue);
}

namespace {
// Pictures from this size on are worth the threads.
constexpr std::int64_t kBandedPixels = 1 << 17;
}  // namespace

bool ConvertToPalette(CBmpDib& image, const RgbTriples* palette) {
    if (!image.Bits() || image.Width() <= 0 || image.Height() <= 0) return false;
    const int width = image.Width(), height = image.Height();
    const int stride = CBmp::StrideFor(width, 8);
    std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[size_t(stride) * size_t(height)]);
    const CBmpDib::ColourTable table = ColourTableOf(palette ? *palette : DefaultPalette());
    if (!pixels) {
        image.SetColourTable(table);
        return false;
    }
    const RgbTriples& colours = palette ? *palette : DefaultPalette();
    const int bytes = image.BitsPerPixel() / 8;
    const auto mapRows = [&](int first, int end) {
        PaletteSearch search(colours);
        for (int y = first; y < end; ++y) {
            std::uint8_t* out = pixels.get() + size_t(y) * size_t(stride);
            std::fill(out + width, out + stride, std::uint8_t(0));
            if (bytes >= 3) {
                const std::uint8_t* in = image.Bits() + image.Offset(0, y);
                for (int x = 0; x < width; ++x, in += bytes) out[x] = search.Nearest(in[2], in[1], in[0]);
            } else {
                for (int x = 0; x < width; ++x) {
                    const Rgb c = image.PixelRgb(x, y);
                    out[x] = search.Nearest(RedOf(c), GreenOf(c), BlueOf(c));
                }
            }
        }
        return true;
    };
    // A large picture is mapped in bands of rows on every core, each band with a search of its own.
    const int bands = std::int64_t(width) * height >= kBandedPixels ? std::min(OrderedWork::DefaultWorkers(), height) : 1;
    OrderedWork::Run<bool>(
        bands, bands, [&](int band, int) { return mapRows(band * height / bands, (band + 1) * height / bands); },
        [](int, bool&) { return true; });
    image.Create(width, height, 8, true);
    image.AdoptBits(std::move(pixels), &table);
    return true;
}

bool RemapToDefaultPalette(CBmpDib& image) {
    if (!image.Bits() || image.BitsPerPixel() != 8) return false;
    std::uint8_t map[256];
    const auto& colours = image.Colours();
    for (int i = 0; i < 256; ++i)
        map[i] = NearestPaletteIndex(colours[i * 4 + 2], colours[i * 4 + 1], colours[i * 4]);
    for (int y = 0; y < image.Height(); ++y) {
        std::uint8_t* row = image.Bits() + image.Offset(0, y);
        for (int x = 0; x < image.Width(); ++x) row[x] = map[row[x]];
    }
    image.SetColourTable(DefaultColourTable());
    image.SetColourCount(256);
    return true;
}

}  // namespace pixmond
