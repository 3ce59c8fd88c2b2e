#pragma once
#include <cstdint>
#include <vector>

#include <zlib.h>

namespace pixmond {

class CBmpDib;

// Turns pictures into PNG files in memory. An 8-bit picture becomes an indexed PNG with all 256 entries of its
// colour table; 16, 24 and 32 bits become RGB. The chunks are IHDR, PLTE (indexed only), one IDAT and IEND.
// The compressor is set up once and reused, so a batch of small pictures does not pay for it every time: keep
// one encoder per thread.
class PngEncoder {
public:
    PngEncoder();
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // The whole file into out (replacing what it held); false for an empty picture or when memory runs out.
    // In an indexed picture a transparentIndex of 0..255 is marked transparent (a tRNS chunk that ends at it).
    bool Encode(const CBmpDib& bitmap, std::vector<std::uint8_t>& out, int transparentIndex = -1);

private:
    // The compressor of one level, made when first needed.
    struct Deflater {
        z_stream stream{};
        bool ready = false;
        ~Deflater();
    };

    void FilterRows(const CBmpDib& bitmap, bool indexed);
    bool Compress(Deflater& deflater, int level, int memoryLevel);

    Deflater small_, large_;
    std::vector<std::uint8_t> raw_;         // the filtered rows, each after its filter byte
    std::vector<std::uint8_t> rows_[2];     // the current and the previous unfiltered row
    std::vector<std::uint8_t> compressed_;
};

}  // namespace pixmond
