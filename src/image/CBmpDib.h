#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/SafeFile.h"
#include "image/CBmp.h"
#include "image/ImageWriter.h"

namespace pixmond {

class Canvas;
class Messages;

// The BITMAPINFOHEADER of a BMP file, as it lies on disk (40 bytes).
struct BmpInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative for top-down storage
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
};

// A bitmap with BMP headers, a 256-entry colour table (blue, green, red, 0) and a file name.
class CBmpDib : public CBmp {
public:
    static constexpr int kTableBytes = 256 * 4;
    using ColourTable = std::array<std::uint8_t, kTableBytes>;

    CBmpDib();
    void Create(int width, int height, int bits, bool topDown = false) override;
    void CreateLike(int width, int height, const CBmpDib& other);

    const BmpInfoHeader& Header() const { return header_; }
    const ColourTable& Colours() const { return colours_; }
    ColourTable& Colours() { return colours_; }
    int ColourCount() const { return colourCount_; }
    void SetColourCount(int count) { colourCount_ = count; }
    void SetColourTable(const ColourTable& table) { colours_ = table; }
    // 256 red, green, blue triples; the fourth byte of each entry becomes 0.
    void SetColourTableRgb(const std::uint8_t* triples);
    // Takes an owned buffer and, when given, a 256-entry colour table.
    void AdoptBits(std::unique_ptr<std::uint8_t[]> buffer, const ColourTable* table = nullptr);

    // The colour of a pixel, through the colour table for 8 bits.
    Rgb PixelRgb(int x, int y) const;

    bool FromPng() const { return fromPng_; }
    void SetFromPng(bool fromPng) { fromPng_ = fromPng; }
    bool Mirror() const { return mirror_; }
    void SetMirror(bool mirror) { mirror_ = mirror; }
    std::uint32_t Capacity() const { return capacity_; }
    void SetCapacity(std::uint32_t capacity) { capacity_ = capacity; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }

    // Reads every common BMP form (BmpReader.h): 1- and 4-bit and run-length pictures load as 8 bits with
    // their colour table, 16-bit and bit-field ones as 24 or 32 bits. A failed load keeps the pixels.
    virtual bool LoadBmp(const std::string& path, Messages& messages);
    virtual bool SaveBmp(const std::string& path, bool bottomUp, Messages& messages,
                         SafeFile::Durability durability = SafeFile::Durability::kEachFile) const;
    // Saves by the path's extension: .bmp, .png, .jpg; .shp and .s16 are refused.
    bool Save(const std::string& path, Messages& messages, int jpegQuality = 90) const;
    bool Save(const std::string& path, Messages& messages, const ImageWriteOptions& options) const;
    // Stretches the whole bitmap into the rectangle; negative width or height means the bitmap's own,
    // clip limits them to the bitmap's; mirrored when the mirror flag is set.
    void Draw(Canvas& canvas, int x, int y, int width, int height, bool clip = false) const;

protected:
    void RebuildHeader();
    bool fromPng_ = false;
    std::string fileName_;
    BmpInfoHeader header_;
    ColourTable colours_{};
    int colourCount_ = 0;
    bool mirror_ = false;
    std::uint32_t capacity_ = 0;
};

}  // namespace pixmond
