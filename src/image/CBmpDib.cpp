#include "image/CBmpDib.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "base/ByteReader.h"
#include "image/ImageWriter.h"
#include "image/Canvas.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/PathParts.h"
#include "base/SafeFile.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {
constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
// Larger pictures than this are not icons, sheets or catalogs; refusing them keeps hostile headers from
// asking for gigabytes.
constexpr std::int64_t kMaxDimension = 32768;
constexpr std::int64_t kMaxImageBytes = 512LL << 20;

void PutU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

void EncodeInfoHeader(const BmpInfoHeader& h, std::uint8_t* p) {
    PutU32(p, h.size);
    PutU32(p + 4, std::uint32_t(h.width));
    PutU32(p + 8, std::uint32_t(h.height));
    PutU16(p + 12, h.planes);
    PutU16(p + 14, h.bitCount);
    PutU32(p + 16, h.compression);
    PutU32(p + 20, h.imageSize);
    PutU32(p + 24, std::uint32_t(h.xPelsPerMeter));
    PutU32(p + 28, std::uint32_t(h.yPelsPerMeter));
    PutU32(p + 32, h.coloursUsed);
    PutU32(p + 36, h.coloursImportant);
}

BmpInfoHeader DecodeInfoHeader(const ByteReader& r) {
    BmpInfoHeader h;
    h.size = r.U32(0);
    h.width = r.I32(4);
    h.height = r.I32(8);
    h.planes = r.U16(12);
    h.bitCount = r.U16(14);
    h.compression = r.U32(16);
    h.imageSize = r.U32(20);
    h.xPelsPerMeter = r.I32(24);
    h.yPelsPerMeter = r.I32(28);
    h.coloursUsed = r.U32(32);
    h.coloursImportant = r.U32(36);
    return h;
}

int DefaultColourCount(int bits) { return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0; }
}  // namespace

CBmpDib::CBmpDib() { RebuildHeader(); }

void CBmpDib::Create(int width, int height, int bits, bool topDown) {
    CBmp::Create(width, height, bits, topDown);
    colourCount_ = DefaultColourCount(bits);
    RebuildHeader();
}

void CBmpDib::CreateLike(int width, int height, const CBmpDib& other) {
    Create(width, height, other.BitsPerPixel(), other.TopDown());
    colours_ = other.colours_;
}

void CBmpDib::RebuildHeader() {
    header_.size = kInfoHeaderSize;
    header_.width = width_;
    header_.height = topDown_ ? -height_ : height_;
    header_.planes = 1;
    header_.bitCount = std::uint16_t(bits_);
    header_.compression = 0;
    header_.imageSize = imageSize_;
    header_.xPelsPerMeter = header_.yPelsPerMeter = 0;
    header_.coloursUsed = header_.coloursImportant = std::uint32_t(DefaultColourCount(bits_));
}

void CBmpDib::SetColourTableRgb(const std::uint8_t* triples) {
    for (int i = 0; i < 256; ++i) {
        colours_[i * 4] = triples[i * 3 + 2];
        colours_[i * 4 + 1] = triples[i * 3 + 1];
        colours_[i * 4 + 2] = triples[i * 3];
        colours_[i * 4 + 3] = 0;
    }
}

void CBmpDib::AdoptBits(std::unique_ptr<std::uint8_t[]> buffer, const ColourTable* table) {
    AdoptBuffer(std::move(buffer));
    if (table) colours_ = *table;
}

Rgb CBmpDib::PixelRgb(int x, int y) const {
    const std::int64_t at = Offset(x, y);
    if (!buffer_ || at < 0 || at + bits_ / 8 > std::int64_t(imageSize_)) return 0;
    const std::uint8_t* p = buffer_ + at;
    switch (bits_) {
        case 8: {
            const std::uint8_t* c = &colours_[size_t(p[0]) * 4];
            return MakeRgb(c[2], c[1], c[0]);
        }
        case 16: {
            const unsigned v = unsigned(p[0]) | unsigned(p[1]) << 8;  // 5-5-5, as BMP files store 16 bits
            return MakeRgb(int((v >> 10 & 31) << 3), int((v >> 5 & 31) << 3), int((v & 31) << 3));
        }
        default:
            return MakeRgb(p[2], p[1], p[0]);
    }
}

bool CBmpDib::LoadBmp(const std::string& requested, Messages& messages) {
    std::string path = requested;
    if (PathParts::Of(path).extension.empty()) path += ".bmp";
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        messages.Error(Format("%s not found", path.c_str()));
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        messages.Error(Format("Error reading %s", path.c_str()));
        return false;
    }
    fileName_ = path;
    const std::int64_t fileSize = std::int64_t(std::filesystem::file_size(path, ec));

    std::uint8_t head[kFileHeaderSize + kInfoHeaderSize] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    const std::streamsize got = in.gcount();
    if (got < kFileHeaderSize) {
        messages.Error("Invalid BMP FileHeader size");
        return false;
    }
    if (head[0] != 'B' || head[1] != 'M') {
        messages.Error("Invalid BMP type");
        return false;
    }
    const ByteReader fileHeader(std::span<const std::uint8_t>(head, kFileHeaderSize));
    const std::uint32_t dataOffset = fileHeader.U32(10);
    const ByteReader infoBytes(std::span<const std::uint8_t>(head + kFileHeaderSize, size_t(got - kFileHeaderSize)));
    const std::uint32_t infoSize = got >= kFileHeaderSize + 4 ? infoBytes.U32(0) : 0;
    if (infoSize != kInfoHeaderSize || got < kFileHeaderSize + kInfoHeaderSize) {
        messages.Error(Format("Invalid BMP Header size: %d <> %d", int(infoSize), kInfoHeaderSize));
        return false;
    }
    const BmpInfoHeader info = DecodeInfoHeader(infoBytes);
    if (info.bitCount < 8) {
        messages.Error("Only 8, 16, 24 and 32 bits BMP supported");
        return false;
    }
    if (!owns_ && info.imageSize > capacity_) {
        messages.Error("Image too big to allocated buffer");
        return false;
    }
    const int bits = info.bitCount;
    const std::int64_t width = info.width < 0 ? -std::int64_t(info.width) : info.width;
    const std::int64_t height = info.height < 0 ? -std::int64_t(info.height) : info.height;
    if ((bits != 8 && bits != 16 && bits != 24 && bits != 32) || width == 0 || height == 0 ||
        width > kMaxDimension || height > kMaxDimension) {
        messages.Error(Format("Invalid BMP image: %lld x %lld, %d bits", (long long)width, (long long)height, bits));
        return false;
    }
    const std::int64_t needed = std::int64_t(StrideFor(int(width), bits)) * height;
    if (dataOffset < kFileHeaderSize + kInfoHeaderSize || needed > kMaxImageBytes || dataOffset > fileSize ||
        fileSize - dataOffset < needed) {
        messages.Error(Format("BMP file too short for its image: %s", path.c_str()));
        return false;
    }
    if (!owns_ && std::uint64_t(needed) > capacity_) {
        messages.Error("Image too big to allocated buffer");
        return false;
    }

    // The bytes between the info header and the pixels are colour-table entries.
    const std::uint32_t tableEntries = std::min<std::uint32_t>((dataOffset - 54) / 4, 256);
    ColourTable table = colours_;
    in.read(reinterpret_cast<char*>(table.data()), std::streamsize(tableEntries) * 4);
    if (in.gcount() != std::streamsize(tableEntries) * 4) {
        messages.Error(Format("Error reading %s", path.c_str()));
        return false;
    }

    std::unique_ptr<std::uint8_t[]> pixels;
    std::uint8_t* target = buffer_;
    if (owns_) {
        pixels.reset(new (std::nothrow) std::uint8_t[size_t(needed)]);
        target = pixels.get();
    }
    in.seekg(dataOffset);
    if (!target || !in.read(reinterpret_cast<char*>(target), std::streamsize(needed))) {
        messages.Error(Format("Error reading %s", path.c_str()));
        return false;
    }

    colours_ = table;
    header_ = info;
    colourCount_ = info.coloursUsed ? int(std::min<std::uint32_t>(info.coloursUsed, 256)) : DefaultColourCount(bits);
    CBmp::Create(int(width), int(height), bits, info.height < 0);
    header_.imageSize = imageSize_;
    if (owns_) AdoptBuffer(std::move(pixels));
    return true;
}

bool CBmpDib::SaveBmp(const std::string& path, bool bottomUp, Messages& messages, SafeFile::Durability durability) const {
    if (!buffer_) return false;
    SafeFile file(path, durability);
    if (!file.IsOpen()) {
        messages.Error(Format("Error creating %s", path.c_str()));
        return false;
    }
    const int colours = std::min(colourCount_, 256);
    const std::uint32_t dataOffset = 54 + 4 * std::uint32_t(colours);
    std::uint8_t head[54] = {'B', 'M'};
    PutU32(head + 2, dataOffset + imageSize_);
    PutU32(head + 10, dataOffset);
    BmpInfoHeader info = header_;
    info.width = width_;
    info.height = (topDown_ && !bottomUp) ? -height_ : height_;
    info.bitCount = std::uint16_t(bits_);
    info.imageSize = imageSize_;
    info.coloursUsed = info.coloursImportant = std::uint32_t(colours);
    EncodeInfoHeader(info, head + 14);
    bool ok = file.Write(head, sizeof head) && file.Write(colours_.data(), size_t(colours) * 4);
    if (topDown_ && bottomUp) {
        for (int row = height_ - 1; ok && row >= 0; --row) ok = file.Write(buffer_ + std::int64_t(row) * stride_, size_t(stride_));
    } else if (ok) {
        ok = file.Write(buffer_, imageSize_);
    }
    if (!ok || !file.Commit()) {
        messages.Error(Format("Error creating %s", path.c_str()));
        return false;
    }
    return true;
}

bool CBmpDib::Save(const std::string& path, Messages& messages, int jpegQuality) const {
    ImageWriteOptions options;
    options.jpegQuality = jpegQuality;
    return Save(path, messages, options);
}

bool CBmpDib::Save(const std::string& path, Messages& messages, const ImageWriteOptions& options) const {
    const std::string ext = ToLower(PathParts::Of(path).extension);
    if (ext == ".shp" || ext == ".s16") return false;
    return WriteImageByExtension(*this, path, messages, options);
}

void CBmpDib::Draw(Canvas& canvas, int x, int y, int width, int height, bool clip) const {
    if (width < 0) width = width_;
    if (height < 0) height = height_;
    if (clip) {
        width = std::min(width, width_);
        height = std::min(height, height_);
    }
    if (mirror_) {
        canvas.StretchBitmap(*this, x + width, y, -width, height);
    } else {
        canvas.StretchBitmap(*this, x, y, width, height);
    }
}

}  // namespace pixmond
