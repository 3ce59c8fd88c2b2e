#include "image/PngReader.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "base/ByteReader.h"
#include "image/CBmpDib.h"
#include "base/ReadOnlyFile.h"
#include "base/Format.h"
#include "ui/Messages.h"

namespace pixmond {

namespace {

constexpr int kSignatureSize = 8;
constexpr int kInfoHeaderSize = 40;
// Deflate cannot expand data more than about 1032 times; image data beyond that cannot be in the file, so
// such a header is refused before its rows are allocated.
constexpr std::uint64_t kMaxInflation = 1100;

struct ReadSource {
    const ReadOnlyFile* file;
    std::uint64_t position;
};

void ReadData(png_structp png, png_bytep out, size_t count) {
    auto* source = static_cast<ReadSource*>(png_get_io_ptr(png));
    if (source->file->ReadAt(source->position, out, count) != count) png_error(png, "Read Error");
    source->position += count;
}

[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// Everything libpng decoding allocates, freed by the destructor whichever way decoding ended.
struct Decoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<std::uint8_t> rows;
    std::vector<png_bytep> rowPointers;
    std::uint32_t width = 0, height = 0;
    size_t rowBytes = 0;
    int channels = 0;
    bool tooLarge = false;

    Decoder() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (png) info = png_create_info_struct(png);
    }
    ~Decoder() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

void SetTransformations(png_structp png, png_infop info) {
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_color_16p background = nullptr;
    if (png_get_bKGD(png, info, &background)) png_set_background(png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double fileGamma = 0;
    if (png_get_gAMA(png, info, &fileGamma)) png_set_gamma(png, 2.2, fileGamma);
}

// The samples as stored: indices stay indices (one byte each), everything else becomes red, green, blue, alpha.
void SetSampleTransformations(png_structp png, png_infop info) {
    const int colourType = png_get_color_type(png, info);
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png);
        return;
    }
    const bool gray = colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA;
    if (gray && png_get_bit_depth(png, info) < 8) png_set_expand_gray_1_2_4_to_8(png);
    const bool tRNS = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (tRNS) png_set_tRNS_to_alpha(png);
    if (gray) png_set_gray_to_rgb(png);
    if (!(colourType & PNG_COLOR_MASK_ALPHA) && !tRNS) png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
}

enum class DecodeMode { Display, Samples };

// Runs libpng over the source. Only memory reached through d is changed after setjmp, so a longjmp back
// here leaves d consistent for its destructor.
bool Decode(Decoder& d, ReadSource& source, DecodeMode mode = DecodeMode::Display) {
    if (setjmp(png_jmpbuf(d.png))) return false;
    png_set_read_fn(d.png, &source, ReadData);
    png_set_sig_bytes(d.png, kSignatureSize);
    png_read_info(d.png, d.info);

    const std::uint64_t width = png_get_image_width(d.png, d.info);
    const std::uint64_t height = png_get_image_height(d.png, d.info);
    if (width > std::uint64_t(kPngMaxSide) || height > std::uint64_t(kPngMaxSide) ||
        width * height > std::uint64_t(kPngMaxPixels)) {
        d.width = std::uint32_t(width);
        d.height = std::uint32_t(height);
        d.tooLarge = true;
        return false;
    }
    const std::uint64_t available = source.file->Size() - std::min(source.file->Size(), source.position);
    if (std::uint64_t(png_get_rowbytes(d.png, d.info)) * height > available * kMaxInflation + 65536)
        png_error(d.png, "Image data larger than the file");

    const bool indexed = png_get_color_type(d.png, d.info) == PNG_COLOR_TYPE_PALETTE;
    if (mode == DecodeMode::Samples) SetSampleTransformations(d.png, d.info);
    else SetTransformations(d.png, d.info);
    png_read_update_info(d.png, d.info);
    d.width = std::uint32_t(width);
    d.height = std::uint32_t(height);
    d.rowBytes = png_get_rowbytes(d.png, d.info);
    d.channels = png_get_channels(d.png, d.info);
    const bool channelsFit = mode == DecodeMode::Display ? (d.channels == 3 || d.channels == 4)
                                                         : d.channels == (indexed ? 1 : 4);
    if (!channelsFit || png_get_bit_depth(d.png, d.info) != 8 || d.rowBytes < size_t(d.channels) * d.width)
        png_error(d.png, "Unexpected pixel layout");

    bool outOfMemory = false;
    try {
        d.rows.resize(d.rowBytes * d.height);
        d.rowPointers.resize(d.height);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    }
    if (outOfMemory) png_error(d.png, "Visual PNG: out of memory");
    for (std::uint32_t r = 0; r < d.height; ++r) d.rowPointers[r] = d.rows.data() + size_t(r) * d.rowBytes;
    png_read_image(d.png, d.rowPointers.data());
    png_read_end(d.png, nullptr);
    return true;
}

bool BuildBlock(const Decoder& d, PngLoadRequest& request) {
    const size_t stride = (size_t(d.width) * 3 + 3) / 4 * 4;
    const size_t size = kInfoHeaderSize + stride * d.height;
    std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[size]);
    if (!block) return false;
    std::memset(block.get(), 0, size);
    std::uint8_t* h = block.get();
    StoreU32(h, kInfoHeaderSize);
    StoreU32(h + 4, d.width);
    StoreU32(h + 8, d.height);
    StoreU16(h + 12, 1);
    StoreU16(h + 14, 24);
    std::uint8_t* pixels = h + kInfoHeaderSize;
    // The block is bottom-up: the picture's top row is stored last.
    for (std::uint32_t r = 0; r < d.height; ++r) {
        const std::uint8_t* src = d.rows.data() + size_t(r) * d.rowBytes;
        std::uint8_t* dst = pixels + size_t(d.height - 1 - r) * stride;
        for (std::uint32_t x = 0; x < d.width; ++x, src += d.channels, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    request.width = int(d.width);
    request.height = int(d.height);
    request.block = std::move(block);
    request.pixels = pixels;
    return true;
}

bool IsPngAt(const ReadOnlyFile& file, std::uint64_t offset) {
    png_byte signature[kSignatureSize];
    return file.ReadExact(offset, signature, kSignatureSize) && png_sig_cmp(signature, 0, kSignatureSize) == 0;
}

void TakePalette(png_structp png, png_infop info, PngSamples& out) {
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colours, &count) == 0) count = 0;
    png_bytep alpha = nullptr;
    int alphaCount = 0;
    png_color_16p unused = nullptr;
    if (png_get_tRNS(png, info, &alpha, &alphaCount, &unused) == 0) alphaCount = 0;
    for (int i = 0; i < 256; ++i) {
        std::uint8_t* entry = out.palette.data() + size_t(i) * 4;
        if (i < count) {
            entry[0] = colours[i].red;
            entry[1] = colours[i].green;
            entry[2] = colours[i].blue;
        }
        entry[3] = (alpha && i < alphaCount) ? alpha[i] : 255;
    }
}

}  // namespace

bool ReadPngSamples(const std::string& path, PngSamples& out, std::string& problem) {
    const auto file = ReadOnlyFile::Open(path);
    if (!file) {
        problem = "cannot be read";
        return false;
    }
    if (!IsPngAt(*file, 0)) {
        problem = "is not a PNG file";
        return false;
    }
    Decoder d;
    ReadSource source{file.get(), kSignatureSize};
    if (!d.png || !d.info || !Decode(d, source, DecodeMode::Samples)) {
        problem = d.tooLarge ? Format("is too large (%u x %u pixels)", d.width, d.height)
                             : std::string("is damaged: libpng cannot decode it");
        return false;
    }
    out.width = int(d.width);
    out.height = int(d.height);
    out.indexed = d.channels == 1;
    out.palette.fill(0);
    if (out.indexed) TakePalette(d.png, d.info, out);
    const size_t rowBytes = size_t(d.channels) * d.width;
    out.pixels.resize(rowBytes * d.height);
    for (std::uint32_t r = 0; r < d.height; ++r)
        std::memcpy(out.pixels.data() + r * rowBytes, d.rows.data() + size_t(r) * d.rowBytes, rowBytes);
    return true;
}

bool LoadImagePNG(PngLoadRequest& request, Messages& messages) {
    if (!request.stream && request.fileName.empty()) {
        messages.Error("Bad parameters loading the PNG image");
        return false;
    }
    std::shared_ptr<ReadOnlyFile> opened;
    const ReadOnlyFile* file = request.stream;
    std::uint64_t offset = request.streamOffset;
    if (!file) {
        opened = ReadOnlyFile::Open(request.fileName);
        file = opened.get();
        offset = 0;
    }
    if (!file || !IsPngAt(*file, offset)) {
        messages.Error("Error in loading the PNG image");
        return false;
    }

    Decoder decoder;
    ReadSource source{file, offset + kSignatureSize};
    if (!decoder.png || !decoder.info || !Decode(decoder, source)) {
        if (decoder.tooLarge)
            messages.Error(Format("PNG image too large: %u x %u pixels (at most %lld x %lld, %lld pixels)",
                                  decoder.width, decoder.height, (long long)kPngMaxSide, (long long)kPngMaxSide,
                                  (long long)kPngMaxPixels));
        else
            messages.Error("Error in loading the PNG image");
        return false;
    }
    if (!BuildBlock(decoder, request)) {
        messages.Error("Error in displaying the PNG image");
        return false;
    }
    return true;
}

std::int32_t LoadPng(CBmpDib& bitmap, const std::string& fileName, const ReadOnlyFile* stream,
                     std::uint64_t streamOffset, Messages& messages) {
    PngLoadRequest request;
    request.fileName = fileName;
    request.stream = stream;
    request.streamOffset = streamOffset;
    if (!LoadImagePNG(request, messages)) return kPngFailed;

    const int stride = CBmp::StrideFor(request.width, 24);
    const size_t size = size_t(stride) * size_t(request.height);
    std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[size]);
    if (!pixels) {
        messages.Error("Error in displaying the PNG image");
        return kPngFailed;
    }
    std::memcpy(pixels.get(), request.pixels, size);
    bitmap.Create(request.width, request.height, 24, false);
    bitmap.AdoptBuffer(std::move(pixels));
    bitmap.SetFromPng(true);
    return kPngLoaded;
}

}  // namespace pixmond
