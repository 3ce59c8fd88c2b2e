#include "image/CBmpDib.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "image/BmpReader.h"
#include "image/ImageWriter.h"
#include "image/Canvas.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/PathParts.h"
#include "base/SafeFile.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {
constexpr int kInfoHeaderSize = 40;

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

int DefaultColourCount(int bits) { return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0; }

// The whole file in one read. Anything past what the largest picture with its headers can need is left
// unread, so a huge file cannot ask for more memory than a picture may take.
bool ReadWholeBmp(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    const std::uint64_t size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) return false;
    bytes.resize(size_t(std::min(size, bmp::kMaxFileBytes)));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return in.gcount() == std::streamsize(bytes.size());
}
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
    std::vector<std::uint8_t> file;
    if (!ReadWholeBmp(path, file)) {
        messages.Error(Format("Error reading %s", path.c_str()));
        return false;
    }
    fileName_ = path;

    bmp::Header info;
    bmp::Image image;
    std::string error;
    if (!bmp::ReadHeader(file, path, info, error)) {
        messages.Error(error);
        return false;
    }
    if (!owns_ && info.imageSize > capacity_) {
        messages.Error("Image too big to allocated buffer");
        return false;
    }
    if (!bmp::DecodeImage(file, info, path, image, error)) {
        messages.Error(error);
        return false;
    }
    if (!owns_ && image.pixelBytes > capacity_) {
        messages.Error("Image too big to allocated buffer");
        return false;
    }

    std::copy(image.table.begin(), image.table.end(), colours_.begin());
    colourCount_ = image.colourCount;
    CBmp::Create(image.width, image.height, image.bits, image.topDown);
    // The bitmap keeps the 40-byte header of what it now holds, whichever form the file had.
    header_ = BmpInfoHeader{};
    header_.width = width_;
    header_.height = info.height < 0 ? -height_ : height_;
    header_.planes = info.planes;
    header_.bitCount = std::uint16_t(bits_);
    header_.imageSize = imageSize_;
    header_.xPelsPerMeter = info.xPelsPerMeter;
    header_.yPelsPerMeter = info.yPelsPerMeter;
    header_.coloursUsed = info.coloursUsed;
    header_.coloursImportant = info.coloursImportant;
    if (owns_) AdoptBuffer(std::move(image.pixels));
    else std::memcpy(buffer_, image.pixels.get(), size_t(image.pixelBytes));
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
