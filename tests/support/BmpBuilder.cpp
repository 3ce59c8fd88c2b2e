#include "support/BmpBuilder.h"

#include <bit>

#include "support/TestFiles.h"

namespace pixmond::test {

namespace {
bool MasksFollowHeader(const BmpHeaderForm& layout) {
    return layout.headerSize == 40 && (layout.compression == 3 || layout.compression == 6);
}

std::uint32_t PackChannel(std::uint8_t value, std::uint32_t mask) {
    if (!mask) return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::bit_width(mask) - shift;
    const std::uint32_t v = width <= 8 ? std::uint32_t(value) >> (8 - width) : std::uint32_t(value) << (width - 8);
    return v << shift & mask;
}

void PadRow(std::vector<std::uint8_t>& out, size_t rowStart) {
    while ((out.size() - rowStart) % 4) out.push_back(0);
}

// Runs of three or more equal pixels become coded runs; other stretches of three or more are stored as
// they are (padded to 16 bits), shorter ones as runs of one or two. Each row ends with an end of line,
// the picture with an end marker.
void EncodeRleRow(const std::vector<std::uint8_t>& row, bool fourBits, std::vector<std::uint8_t>& out) {
    auto runAt = [&](size_t i) {
        size_t n = 1;
        while (i + n < row.size() && row[i + n] == row[i] && n < 255) ++n;
        return n;
    };
    size_t i = 0;
    while (i < row.size()) {
        size_t run = runAt(i);
        if (run >= 3) {
            out.push_back(std::uint8_t(run));
            out.push_back(fourBits ? std::uint8_t(row[i] << 4 | row[i]) : row[i]);
            i += run;
            continue;
        }
        size_t end = i;
        while (end < row.size() && runAt(end) < 3 && end - i < 255) ++end;
        const size_t count = end - i;
        if (count < 3) {
            for (; i < end; ++i) {
                out.push_back(1);
                out.push_back(fourBits ? std::uint8_t(row[i] << 4) : row[i]);
            }
            continue;
        }
        out.push_back(0);
        out.push_back(std::uint8_t(count));
        const size_t start = out.size();
        for (size_t k = 0; k < count; ++k) {
            if (!fourBits) out.push_back(row[i + k]);
            else if (k % 2 == 0) out.push_back(std::uint8_t(row[i + k] << 4));
            else out.back() |= row[i + k];
        }
        if ((out.size() - start) % 2) out.push_back(0);
        i = end;
    }
    out.push_back(0);
    out.push_back(0);
}

std::vector<std::uint8_t> EncodePixels(const IndexPicture& picture, const BmpHeaderForm& layout, bool topDown) {
    std::vector<std::uint8_t> out;
    const bool rle = layout.compression == 1 || layout.compression == 2;
    std::array<std::uint32_t, 4> masks = layout.masks;
    if (layout.bits == 16 && layout.compression == 0) masks = {0x7c00, 0x03e0, 0x001f, 0};
    for (int r = 0; r < picture.height; ++r) {
        const int y = topDown ? r : picture.height - 1 - r;
        const size_t rowStart = out.size();
        std::vector<std::uint8_t> row;
        for (int x = 0; x < picture.width; ++x) row.push_back(std::uint8_t(picture.At(x, y) & ((1u << std::min(layout.bits, 8)) - 1)));
        if (rle) {
            EncodeRleRow(row, layout.compression == 2, out);
            continue;
        }
        if (layout.bits <= 8) {
            const int perByte = 8 / layout.bits;
            for (int x = 0; x < picture.width; ++x) {
                if (x % perByte == 0) out.push_back(0);
                out.back() |= std::uint8_t(row[size_t(x)] << (8 - layout.bits * (x % perByte + 1)));
            }
        } else {
            for (int x = 0; x < picture.width; ++x) {
                const auto& c = picture.palette[row[size_t(x)]];
                if (layout.bits == 24 || (layout.bits == 32 && layout.compression == 0)) {
                    out.insert(out.end(), {c[2], c[1], c[0]});
                    if (layout.bits == 32) out.push_back(c[3]);
                    continue;
                }
                std::uint32_t v = 0;
                for (int k = 0; k < 4; ++k) v |= PackChannel(c[size_t(k)], masks[size_t(k)]);
                if (layout.bits == 16) PutU16(out, std::uint16_t(v));
                else PutU32(out, v);
            }
        }
        PadRow(out, rowStart);
    }
    if (rle) out.insert(out.end(), {0, 1});
    return out;
}
}  // namespace

std::vector<std::uint8_t> WrapBmp(const BmpHeaderForm& layout, const std::vector<std::uint8_t>& pixelBytes) {
    const bool core = layout.headerSize == 12;
    const size_t entryBytes = core ? 3 : 4;
    const size_t maskBytes = MasksFollowHeader(layout) ? (layout.compression == 6 ? 16 : 12) : 0;
    const size_t dataOffset = 14 + size_t(layout.headerSize) + maskBytes + layout.colours.size() * entryBytes;
    std::vector<std::uint8_t> out = {'B', 'M'};
    PutU32(out, std::uint32_t(dataOffset + pixelBytes.size()));
    PutU32(out, 0);
    PutU32(out, std::uint32_t(dataOffset));
    PutU32(out, std::uint32_t(layout.headerSize));
    if (core) {
        PutU16(out, std::uint16_t(layout.width));
        PutU16(out, std::uint16_t(layout.height));
        PutU16(out, 1);
        PutU16(out, std::uint16_t(layout.bits));
    } else {
        PutU32(out, std::uint32_t(layout.width));
        PutU32(out, std::uint32_t(layout.height));
        PutU16(out, 1);
        PutU16(out, std::uint16_t(layout.bits));
        PutU32(out, layout.compression);
        PutU32(out, std::uint32_t(pixelBytes.size()));
        PutU32(out, 2835);  // 72 dots per inch
        PutU32(out, 2835);
        PutU32(out, std::uint32_t(layout.colours.size()));
        PutU32(out, 0);
        const size_t inHeader = layout.headerSize >= 56 ? 4 : layout.headerSize >= 52 ? 3 : 0;
        for (size_t i = 0; i < inHeader; ++i) PutU32(out, layout.masks[i]);
        if (layout.headerSize >= 108) out.insert(out.end(), {'B', 'G', 'R', 's'});  // the sRGB colour space
        out.resize(14 + size_t(layout.headerSize), 0);
        for (size_t i = 0; i < maskBytes / 4; ++i) PutU32(out, layout.masks[i]);
    }
    for (const auto& c : layout.colours) {
        out.insert(out.end(), {c[2], c[1], c[0]});
        if (!core) out.push_back(0);
    }
    out.insert(out.end(), pixelBytes.begin(), pixelBytes.end());
    return out;
}

IndexPicture IndexPicture::FromRows(const std::vector<std::string>& rows) {
    IndexPicture picture;
    picture.height = int(rows.size());
    picture.width = rows.empty() ? 0 : int(rows[0].size());
    for (const auto& row : rows)
        for (char c : row) picture.indices.push_back(std::uint8_t(std::stoi(std::string(1, c), nullptr, 16)));
    return picture;
}

std::vector<std::uint8_t> EncodeBmp(const IndexPicture& picture, BmpHeaderForm layout, bool topDown) {
    layout.width = picture.width;
    layout.height = topDown ? -picture.height : picture.height;
    layout.colours.clear();
    if (layout.bits <= 8) {
        const size_t count = std::min(picture.palette.size(), size_t(1) << layout.bits);
        for (size_t i = 0; i < count; ++i) layout.colours.push_back({picture.palette[i][0], picture.palette[i][1], picture.palette[i][2]});
    }
    return WrapBmp(layout, EncodePixels(picture, layout, topDown));
}

}  // namespace pixmond::test
