#include "image/BmpReader.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>

#include "base/ByteReader.h"
#include "image/CBmp.h"
#include "base/Format.h"

namespace pixmond::bmp {

namespace {
constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
// Larger pictures than this are not icons, sheets or catalogs; refusing them keeps hostile headers from
// asking for gigabytes.
constexpr std::int64_t kMaxDimension = 32768;
// A few bytes of run-length data can claim a whole picture (end-of-line and delta escapes skip pixels), so
// the file does not bound its size as it does for raw pixels: these pictures get the bound of a PNG.
constexpr std::int64_t kMaxRlePixels = 40LL << 20;

bool IsKnownHeaderSize(std::uint32_t size) {
    return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 || size == 108 ||
           size == 124;
}

bool IsBitFields(std::uint32_t compression) { return compression == kBitFields || compression == kAlphaBitFields; }

std::string CompressionName(std::uint32_t compression) {
    switch (compression) {
        case kRgb: return "RGB";
        case kRle8: return "RLE8";
        case kRle4: return "RLE4";
        case kBitFields: return "BITFIELDS";
        case kJpeg: return "JPEG";
        case kPng: return "PNG";
        case kAlphaBitFields: return "ALPHABITFIELDS";
        case 11: return "CMYK";
        case 12: return "CMYKRLE8";
        case 13: return "CMYKRLE4";
        default: return Format("%u", compression);
    }
}

// Which depth each compression goes with; compressions we do not read at all are refused before the
// depth is looked at, so that a JPEG or PNG inside a BMP is named as such.
bool CompressionKnown(std::uint32_t compression) { return compression <= kRle4 || IsBitFields(compression); }
bool CompressionFitsDepth(std::uint32_t compression, int bits) {
    switch (compression) {
        case kRle8: return bits == 8;
        case kRle4: return bits == 4;
        case kBitFields:
        case kAlphaBitFields: return bits == 16 || bits == 32;
        default: return true;
    }
}

void ReadCoreFields(const ByteReader& info, Header& header) {
    header.width = info.U16(4);
    header.height = info.U16(6);
    header.planes = info.U16(8);
    header.bits = info.U16(10);
    header.tableEntryBytes = 3;
}

// The first 40 bytes are the same in every longer form; 52 and more add the colour masks, 56 and more alpha.
void ReadInfoFields(const ByteReader& info, Header& header) {
    header.width = info.I32(4);
    header.height = info.I32(8);
    header.planes = info.U16(12);
    header.bits = info.U16(14);
    header.compression = info.U32(16);
    header.imageSize = info.U32(20);
    header.xPelsPerMeter = info.I32(24);
    header.yPelsPerMeter = info.I32(28);
    header.coloursUsed = info.U32(32);
    header.coloursImportant = info.U32(36);
    if (header.size >= 52)
        for (int i = 0; i < 3; ++i) header.masks[size_t(i)] = info.U32(size_t(40 + 4 * i));
    if (header.size >= 56) header.masks[3] = info.U32(52);
}

int DefaultColourCount(int bits) { return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0; }

int OutputBits(const Header& header) {
    if (header.bits <= 8) return 8;
    if (header.bits == 16) return header.masks[3] ? 32 : 24;
    return header.bits;
}

// One colour channel of a 16- or 32-bit picture: the bits of its mask, moved down and widened to 8 bits
// by repeating them (5 bits abcde give abcdeabc), so that 0 stays 0 and all ones become 255, as painting
// programs read them. Channels wider than 8 bits keep their top 8.
class Channel {
public:
    explicit Channel(std::uint32_t mask) : mask_(mask) {
        if (!mask) return;
        shift_ = std::countr_zero(mask);
        int width = std::bit_width(mask) - shift_;
        if (width > 8) {
            shift_ += width - 8;
            width = 8;
        }
        max_ = (1u << width) - 1;
        for (std::uint32_t v = 0; v <= max_; ++v) {
            std::uint32_t wide = 0;
            int filled = 0;
            for (; filled < 8; filled += width) wide = wide << width | v;
            scale_[v] = std::uint8_t(wide >> (filled - 8));
        }
    }
    std::uint8_t Of(std::uint32_t pixel) const { return mask_ ? scale_[((pixel & mask_) >> shift_) & max_] : 0; }

private:
    std::uint32_t mask_;
    int shift_ = 0;
    std::uint32_t max_ = 0;
    std::array<std::uint8_t, 256> scale_{};
};

// Rows of 16- and 32-bit pictures become blue, green, red (and alpha, or 0 for 32 bits without an alpha mask).
void UnpackMaskedRow(const std::uint8_t* row, int fileBits, std::int64_t width, const std::array<Channel, 4>& channels,
                     int outBytes, std::uint8_t* out) {
    for (std::int64_t x = 0; x < width; ++x, out += outBytes) {
        std::uint32_t pixel;
        if (fileBits == 16) {
            pixel = std::uint32_t(row[2 * x]) | std::uint32_t(row[2 * x + 1]) << 8;
        } else {
            const std::uint8_t* p = row + 4 * x;
            pixel = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
        }
        out[0] = channels[2].Of(pixel);
        out[1] = channels[1].Of(pixel);
        out[2] = channels[0].Of(pixel);
        if (outBytes == 4) out[3] = channels[3].Of(pixel);
    }
}

// Rows of 1- and 4-bit pictures become one index per byte; the leftmost pixel is in the highest bits.
void UnpackIndexRow(const std::uint8_t* row, int fileBits, std::int64_t width, std::uint8_t* out) {
    const int perByte = 8 / fileBits;
    const unsigned mask = (1u << fileBits) - 1;
    for (std::int64_t x = 0; x < width; ++x) {
        const int shift = 8 - fileBits * int(x % perByte + 1);
        out[x] = std::uint8_t(row[x / perByte] >> shift & mask);
    }
}

// Decodes a run-length stream into 8-bit rows in file order (already filled with index 0). Runs that pass
// the end of a row or of the picture are cut; escapes: 0 end of line, 1 end of picture, 2 delta (right and
// down by the next two bytes), 3 to 255 a run of that many pixels stored as they are, padded to 16 bits.
// False when the stream ends before its end marker with rows still missing.
bool DecodeRle(const ByteReader& in, bool fourBits, std::int64_t width, std::int64_t height, std::uint8_t* out,
               std::int64_t stride) {
    std::int64_t x = 0, y = 0;
    size_t at = 0;
    // Pixel i of a run; x moves on by the whole run afterwards, so a cut run never wraps into the next row.
    auto put = [&](int i, std::uint8_t index) { out[y * stride + x + i] = index; };
    auto streamEnded = [&] { return y >= height - 1; };
    while (y < height) {
        std::uint8_t count, value;
        if (!in.ReadU8(at, count) || !in.ReadU8(at + 1, value)) return streamEnded();
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count && x + i < width; ++i)
                put(i, fourBits ? std::uint8_t(i % 2 ? value & 15 : value >> 4) : value);
            x += count;
            continue;
        }
        switch (value) {
            case 0:
                x = 0;
                ++y;
                break;
            case 1:
                return true;
            case 2: {
                std::uint8_t dx, dy;
                if (!in.ReadU8(at, dx) || !in.ReadU8(at + 1, dy)) return streamEnded();
                at += 2;
                x += dx;
                y += dy;
                break;
            }
            default: {
                const size_t bytes = fourBits ? (value + 1u) / 2 : value;
                if (!in.Has(at, bytes)) return streamEnded();
                const std::uint8_t* p = in.At(at);
                for (int i = 0; i < value && x + i < width; ++i)
                    put(i, fourBits ? std::uint8_t(i % 2 ? p[i / 2] & 15 : p[i / 2] >> 4) : p[i]);
                x += value;
                at += (bytes + 1) & ~size_t(1);
            }
        }
    }
    return true;
}

bool Fail(std::string& error, std::string message) {
    error = std::move(message);
    return false;
}

// The colour table is whatever lies between the headers and the pixels (at most 256 entries), so that files
// with a short table still load; a colours-used count that runs past the end of the file marks a damaged one.
bool ReadColourTable(const ByteReader& file, const Header& header, const std::string& path, Image& image,
                     std::string& error) {
    const std::uint64_t claimed = std::min<std::uint64_t>(header.coloursUsed, 256) * std::uint64_t(header.tableEntryBytes);
    if (!file.Has(size_t(header.tableAt), size_t(claimed)))
        return Fail(error, Format("BMP colour table of %u entries runs past the end of %s", header.coloursUsed,
                                  path.c_str()));
    const std::uint64_t entries =
        std::min<std::uint64_t>((header.dataOffset - header.tableAt) / std::uint64_t(header.tableEntryBytes), 256);
    image.table.assign(size_t(entries) * 4, 0);
    for (size_t i = 0; i < entries; ++i) {
        const std::uint8_t* entry = file.At(size_t(header.tableAt + i * std::uint64_t(header.tableEntryBytes)));
        std::memcpy(&image.table[i * 4], entry, size_t(header.tableEntryBytes));
    }
    image.colourCount = header.coloursUsed ? int(std::min<std::uint32_t>(header.coloursUsed, 256))
                                           : DefaultColourCount(header.bits);
    return true;
}

bool DecodeRlePixels(const ByteReader& file, const Header& header, const std::string& path, Image& image,
                     std::string& error) {
    const std::uint64_t available = file.Size() - header.dataOffset;
    const std::uint64_t length = header.imageSize ? header.imageSize : available;
    if (length > available)
        return Fail(error, Format("BMP RLE data of %u bytes runs past the end of %s", header.imageSize, path.c_str()));
    std::memset(image.pixels.get(), 0, size_t(image.pixelBytes));
    const ByteReader stream(std::span<const std::uint8_t>(file.At(header.dataOffset), size_t(length)));
    if (!DecodeRle(stream, header.compression == kRle4, image.width, image.height, image.pixels.get(),
                   CBmp::StrideFor(image.width, 8)))
        return Fail(error, Format("BMP RLE data ends before the last row: %s", path.c_str()));
    return true;
}

bool DecodeRawPixels(const ByteReader& file, const Header& header, const std::string& path, Image& image,
                     std::string& error) {
    const std::int64_t fileStride = CBmp::StrideFor(image.width, header.bits);
    if (std::uint64_t(fileStride) * std::uint64_t(image.height) > file.Size() - header.dataOffset)
        return Fail(error, Format("BMP file too short for its image: %s", path.c_str()));
    const std::uint8_t* in = file.At(header.dataOffset);
    std::uint8_t* out = image.pixels.get();
    const std::int64_t outStride = CBmp::StrideFor(image.width, image.bits);
    if (header.bits == image.bits && !IsBitFields(header.compression)) {
        std::memcpy(out, in, size_t(image.pixelBytes));
        return true;
    }
    std::array<std::uint32_t, 4> masks = header.masks;
    if (!IsBitFields(header.compression)) masks = {0x7c00, 0x03e0, 0x001f, 0};  // 16 bits: 5-5-5
    const std::array<Channel, 4> channels{Channel(masks[0]), Channel(masks[1]), Channel(masks[2]), Channel(masks[3])};
    for (std::int64_t y = 0; y < image.height; ++y, in += fileStride, out += outStride) {
        std::memset(out, 0, size_t(outStride));
        if (header.bits < 8) UnpackIndexRow(in, header.bits, image.width, out);
        else UnpackMaskedRow(in, header.bits, image.width, channels, image.bits / 8, out);
    }
    return true;
}
}  // namespace

bool ReadHeader(std::span<const std::uint8_t> bytes, const std::string& path, Header& header, std::string& error) {
    const ByteReader file(bytes);
    if (file.Size() < kFileHeaderSize) return Fail(error, "Invalid BMP FileHeader size");
    if (bytes[0] != 'B' || bytes[1] != 'M') return Fail(error, "Invalid BMP type");
    header = Header{};
    header.dataOffset = file.U32(10);
    header.size = file.U32(kFileHeaderSize);
    if (!IsKnownHeaderSize(header.size))
        return Fail(error, Format("Invalid BMP Header size: %d <> %d", int(header.size), int(kInfoHeaderSize)));
    if (!file.Has(kFileHeaderSize, header.size))
        return Fail(error, Format("BMP file too short for its header: %s", path.c_str()));
    const ByteReader info(bytes.subspan(kFileHeaderSize, header.size));
    if (header.size == kCoreHeaderSize) ReadCoreFields(info, header);
    else ReadInfoFields(info, header);
    header.tableAt = kFileHeaderSize + header.size;

    if (!CompressionKnown(header.compression))
        return Fail(error, Format("BMP compression %s is not supported: %s", CompressionName(header.compression).c_str(),
                                  path.c_str()));
    const int bits = header.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Fail(error, "Only 1, 4, 8, 16, 24 and 32 bits BMP supported");
    if (!CompressionFitsDepth(header.compression, bits))
        return Fail(error, Format("BMP compression %s is not supported with %d bits: %s",
                                  CompressionName(header.compression).c_str(), bits, path.c_str()));
    if (!IsBitFields(header.compression)) {
        header.masks = {};
    } else if (header.size == kInfoHeaderSize) {
        // The short header is followed by the masks: red, green, blue, and alpha for the alpha form.
        const int count = header.compression == kAlphaBitFields ? 4 : 3;
        if (!file.Has(size_t(header.tableAt), size_t(4 * count)))
            return Fail(error, Format("BMP colour masks run past the end of %s", path.c_str()));
        for (int i = 0; i < count; ++i) header.masks[size_t(i)] = file.U32(size_t(header.tableAt) + size_t(4 * i));
        header.tableAt += std::uint64_t(4 * count);
    }
    return true;
}

bool DecodeImage(std::span<const std::uint8_t> bytes, const Header& header, const std::string& path, Image& image,
                 std::string& error) {
    const ByteReader file(bytes);
    const std::int64_t width = std::abs(std::int64_t(header.width));
    const std::int64_t height = std::abs(std::int64_t(header.height));
    const bool rle = header.compression == kRle8 || header.compression == kRle4;
    const int outBits = OutputBits(header);
    const std::int64_t outBytes = std::int64_t(CBmp::StrideFor(int(std::min(width, kMaxDimension)), outBits)) * height;
    if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension || outBytes > kMaxImageBytes ||
        (rle && width * height > kMaxRlePixels))
        return Fail(error, Format("Invalid BMP image: %lld x %lld, %d bits", (long long)width, (long long)height,
                                  int(header.bits)));
    if (header.dataOffset < header.tableAt || header.dataOffset > file.Size())
        return Fail(error, Format("Invalid BMP data offset %u: %s", header.dataOffset, path.c_str()));
    if (!ReadColourTable(file, header, path, image, error)) return false;

    image.width = int(width);
    image.height = int(height);
    image.bits = outBits;
    image.topDown = header.height < 0;
    image.pixelBytes = std::uint64_t(outBytes);
    image.pixels.reset(new (std::nothrow) std::uint8_t[size_t(outBytes)]);
    if (!image.pixels) return Fail(error, Format("Error reading %s", path.c_str()));
    return rle ? DecodeRlePixels(file, header, path, image, error) : DecodeRawPixels(file, header, path, image, error);
}

}  // namespace pixmond::bmp
