#include "image/PngEncoder.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "image/CBmpDib.h"

namespace pixmond {

namespace {

// Icons and sheets are small and made of runs: a fast level comes within a few per cent of the best in a third
// of the time (measured on the icons of a unit archive). Larger pictures (collages, blocks, catalog pages) are
// few, and worth the usual level. Filters only hurt indexed pictures; colour ones gain most from choosing a
// filter per row.
constexpr int kSmallLevel = 3;
constexpr int kLargeLevel = 6;
// zlib clears its table of string starts at every picture: 64 KB at the usual memory level, 8 KB at level 5,
// which compresses the icons of the bench archive to the same bytes in a tenth less time.
constexpr int kSmallMemoryLevel = 5;
constexpr int kLargeMemoryLevel = 8;
constexpr std::int64_t kSmallPixels = 256 * 256;

constexpr std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

enum Filter : std::uint8_t { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    const std::uint8_t bytes[4] = {std::uint8_t(value >> 24), std::uint8_t(value >> 16), std::uint8_t(value >> 8),
                                   std::uint8_t(value)};
    out.insert(out.end(), bytes, bytes + 4);
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* data, size_t size) {
    PutU32(out, std::uint32_t(size));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (size) out.insert(out.end(), data, data + size);
    PutU32(out, std::uint32_t(crc32(0, out.data() + start, uInt(size + 4))));
}

std::uint8_t Paeth(int a, int b, int c) {
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    return std::uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// The value filter kFilter predicts for a sample from its left (a), upper (b) and upper-left (c) neighbours.
template <std::uint8_t kFilter>
std::uint8_t Predict(int a, int b, int c) {
    if constexpr (kFilter == kSub) return std::uint8_t(a);
    else if constexpr (kFilter == kUp) return std::uint8_t(b);
    else if constexpr (kFilter == kAverage) return std::uint8_t((a + b) >> 1);
    else if constexpr (kFilter == kPaeth) return Paeth(a, b, c);
    else return 0;
}

// A filtered byte taken as signed, without its sign: the usual measure of how well a row will compress.
inline unsigned Magnitude(std::uint8_t value) { return value < 128 ? value : 256u - value; }

constexpr size_t kPixelBytes = 3;

// Row `row` filtered by kFilter into out; `above` is the row before (zeros for the first).
template <std::uint8_t kFilter>
void ApplyFilter(const std::uint8_t* row, const std::uint8_t* above, size_t size, std::uint8_t* out) {
    for (size_t i = 0; i < size && i < kPixelBytes; ++i) out[i] = std::uint8_t(row[i] - Predict<kFilter>(0, above[i], 0));
    for (size_t i = kPixelBytes; i < size; ++i)
        out[i] = std::uint8_t(row[i] - Predict<kFilter>(row[i - kPixelBytes], above[i], above[i - kPixelBytes]));
}

// The measure of the row under each of the five filters, in one pass over sixteen samples at a time held as
// 16-bit lanes (the first pixel, which has nothing to its left, and the tail go one by one). Built twice: for
// processors with 256-bit vectors, which take the sixteen lanes in one step, and for any other. No vector is
// passed to or returned from a helper: that would be passed differently in the two builds.
__attribute__((target_clones("avx2", "default")))
void MeasureFilters(const std::uint8_t* row, const std::uint8_t* above, size_t size, unsigned (&sums)[5]) {
    constexpr int kLanes = 16;
    using Samples = std::uint8_t __attribute__((vector_size(kLanes)));
    using Lanes = std::int16_t __attribute__((vector_size(2 * kLanes)));
    std::uint64_t total[5] = {};
    const auto addOne = [&](int x, int a, int b, int c) {
        total[kNone] += Magnitude(std::uint8_t(x));
        total[kSub] += Magnitude(std::uint8_t(x - a));
        total[kUp] += Magnitude(std::uint8_t(x - b));
        total[kAverage] += Magnitude(std::uint8_t(x - ((a + b) >> 1)));
        total[kPaeth] += Magnitude(std::uint8_t(x - Paeth(a, b, c)));
    };
    size_t i = 0;
    for (; i < size && i < kPixelBytes; ++i) addOne(row[i], 0, above[i], 0);
    // A lane gains at most 128 a step: 255 steps fit in 16 bits before they are added up.
    Lanes lanes[5] = {};
    int steps = 0;
    const auto fold = [&] {
        for (int f = 0; f < 5; ++f) {
            for (int k = 0; k < kLanes; ++k) total[f] += std::uint16_t(lanes[f][k]);
            lanes[f] = Lanes{};
        }
        steps = 0;
    };
    for (; i + kLanes <= size; i += kLanes) {
        Samples bytes[4];  // the samples, their left, upper and upper-left neighbours
        std::memcpy(&bytes[0], row + i, kLanes);
        std::memcpy(&bytes[1], row + i - kPixelBytes, kLanes);
        std::memcpy(&bytes[2], above + i, kLanes);
        std::memcpy(&bytes[3], above + i - kPixelBytes, kLanes);
        const Lanes x = __builtin_convertvector(bytes[0], Lanes), a = __builtin_convertvector(bytes[1], Lanes),
                    b = __builtin_convertvector(bytes[2], Lanes), c = __builtin_convertvector(bytes[3], Lanes);
        Lanes pa = b - c, pb = a - c, pc = a + b - 2 * c;
        pa = pa < 0 ? -pa : pa;
        pb = pb < 0 ? -pb : pb;
        pc = pc < 0 ? -pc : pc;
        const Lanes predicted[5] = {Lanes{}, a, b, (a + b) >> 1, ((pa <= pb) & (pa <= pc)) ? a : (pb <= pc ? b : c)};
        for (int f = 0; f < 5; ++f) {
            const Lanes filtered = (x - predicted[f]) & 255;
            lanes[f] += filtered < 128 ? filtered : 256 - filtered;
        }
        if (++steps == 255) fold();
    }
    fold();
    for (; i < size; ++i) addOne(row[i], row[i - kPixelBytes], above[i], above[i - kPixelBytes]);
    for (int f = 0; f < 5; ++f) sums[f] = unsigned(std::min<std::uint64_t>(total[f], UINT_MAX));
}

// Picture row y (from the top) as PNG samples: indices, or red, green, blue.
void SamplesOf(const CBmpDib& bitmap, int y, bool indexed, std::uint8_t* out) {
    const int width = bitmap.Width(), bits = bitmap.BitsPerPixel();
    const std::int64_t rowEnd = bitmap.Offset(0, y) + std::int64_t(width) * (bits / 8);
    // Rows that lie wholly inside the buffer are read directly; anything odd goes pixel by pixel.
    const bool direct = (bits == 8 || bits == 24 || bits == 32) && rowEnd <= std::int64_t(bitmap.ImageSize());
    const std::uint8_t* in = direct ? bitmap.Bits() + bitmap.Offset(0, y) : nullptr;
    if (indexed) {
        if (in) std::memcpy(out, in, size_t(width));
        else for (int x = 0; x < width; ++x) out[x] = bitmap.GetIndex(x, y);
        return;
    }
    if (in) {
        const int step = bits / 8;
        for (int x = 0; x < width; ++x, in += step, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
        return;
    }
    for (int x = 0; x < width; ++x, out += 3) {
        const Rgb c = bitmap.PixelRgb(x, y);
        out[0] = std::uint8_t(RedOf(c));
        out[1] = std::uint8_t(GreenOf(c));
        out[2] = std::uint8_t(BlueOf(c));
    }
}

}  // namespace

PngEncoder::Deflater::~Deflater() {
    if (ready) deflateEnd(&stream);
}

PngEncoder::PngEncoder() = default;
PngEncoder::~PngEncoder() = default;

void PngEncoder::FilterRows(const CBmpDib& bitmap, bool indexed) {
    const size_t size = size_t(bitmap.Width()) * (indexed ? 1 : 3);
    const int height = bitmap.Height();
    raw_.resize((size + 1) * size_t(height));
    if (indexed) {
        for (int y = 0; y < height; ++y) {
            std::uint8_t* out = raw_.data() + (size + 1) * size_t(y);
            out[0] = kNone;
            SamplesOf(bitmap, y, true, out + 1);
        }
        return;
    }
    rows_[0].assign(size, 0);
    rows_[1].assign(size, 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = rows_[y % 2].data();
        const std::uint8_t* above = rows_[(y + 1) % 2].data();
        SamplesOf(bitmap, y, false, row);
        std::uint8_t* out = raw_.data() + (size + 1) * size_t(y);
        // The filter whose bytes lie nearest zero wins; the first of equals is kept.
        unsigned sums[5];
        MeasureFilters(row, above, size, sums);
        std::uint8_t filter = kNone;
        for (std::uint8_t f = kSub; f <= kPaeth; ++f)
            if (sums[f] < sums[filter]) filter = f;
        out[0] = filter;
        switch (filter) {
            case kSub: ApplyFilter<kSub>(row, above, size, out + 1); break;
            case kUp: ApplyFilter<kUp>(row, above, size, out + 1); break;
            case kAverage: ApplyFilter<kAverage>(row, above, size, out + 1); break;
            case kPaeth: ApplyFilter<kPaeth>(row, above, size, out + 1); break;
            default: std::memcpy(out + 1, row, size); break;
        }
    }
}

bool PngEncoder::Compress(Deflater& deflater, int level, int memoryLevel) {
    if (!deflater.ready) {
        if (deflateInit2(&deflater.stream, level, Z_DEFLATED, 15, memoryLevel, Z_DEFAULT_STRATEGY) != Z_OK)
            return false;
        deflater.ready = true;
    } else if (deflateReset(&deflater.stream) != Z_OK) {
        return false;
    }
    z_stream& z = deflater.stream;
    compressed_.resize(deflateBound(&z, uLong(raw_.size())));
    z.next_in = raw_.data();
    z.avail_in = uInt(raw_.size());
    z.next_out = compressed_.data();
    z.avail_out = uInt(compressed_.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) return false;
    compressed_.resize(compressed_.size() - z.avail_out);
    return true;
}

bool PngEncoder::Encode(const CBmpDib& bitmap, std::vector<std::uint8_t>& out, int transparentIndex) {
    out.clear();
    if (!bitmap.Bits() || bitmap.Width() < 1 || bitmap.Height() < 1) return false;
    const bool indexed = bitmap.BitsPerPixel() == 8;
    // One IDAT chunk holds the whole stream, and a chunk holds less than 2 GB.
    constexpr std::uint64_t kMaxRows = std::uint64_t(1) << 30;
    if ((std::uint64_t(bitmap.Width()) * (indexed ? 1 : 3) + 1) * std::uint64_t(bitmap.Height()) > kMaxRows) return false;
    try {
        FilterRows(bitmap, indexed);
        const bool small = std::int64_t(bitmap.Width()) * bitmap.Height() <= kSmallPixels;
        if (!(small ? Compress(small_, kSmallLevel, kSmallMemoryLevel) : Compress(large_, kLargeLevel, kLargeMemoryLevel)))
            return false;
        out.insert(out.end(), kSignature, kSignature + sizeof kSignature);
        std::uint8_t header[13] = {};
        for (int i = 0; i < 4; ++i) {
            header[i] = std::uint8_t(std::uint32_t(bitmap.Width()) >> (24 - 8 * i));
            header[4 + i] = std::uint8_t(std::uint32_t(bitmap.Height()) >> (24 - 8 * i));
        }
        header[8] = 8;                  // bits a sample
        header[9] = indexed ? 3 : 2;    // palette or red-green-blue; compression, filter, interlace stay 0
        PutChunk(out, "IHDR", header, sizeof header);
        if (indexed) {
            // Every index may occur in the pixels, so the palette always holds all 256 entries.
            std::uint8_t palette[256 * 3];
            const auto& table = bitmap.Colours();
            for (int i = 0; i < 256; ++i) {
                palette[i * 3] = table[size_t(i) * 4 + 2];
                palette[i * 3 + 1] = table[size_t(i) * 4 + 1];
                palette[i * 3 + 2] = table[size_t(i) * 4];
            }
            PutChunk(out, "PLTE", palette, sizeof palette);
            if (transparentIndex >= 0 && transparentIndex < 256) {
                // Entries past the end of the chunk are opaque, so it ends at the transparent one.
                std::vector<std::uint8_t> alpha(size_t(transparentIndex) + 1, 255);
                alpha.back() = 0;
                PutChunk(out, "tRNS", alpha.data(), alpha.size());
            }
        }
        PutChunk(out, "IDAT", compressed_.data(), compressed_.size());
        PutChunk(out, "IEND", nullptr, 0);
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace pixmond
