#pragma once
#include <cstdint>
#include <vector>

#include "image/CBmpDib.h"
#include "image/ShpIconHeader.h"

namespace pixmond {

class Progress;
class SafeFile;

// An 8-bit picture to be written as an SHP icon.
class CBmpOrvel : public CBmpDib {
public:
    CBmpOrvel();
    explicit CBmpOrvel(const CBmpDib& picture) : CBmpDib(picture) {}

    // Whether a picture of this size can be stored as an icon (2..640 x 2..480).
    static bool SizeFits(int width, int height);

    // Appends one icon record for the whole picture to out; with writeFileHeader a one-icon file header
    // ("1.10", count 1, offset 16, 0) goes first, not counted in the result. A picture that is not 8-bit is
    // first converted to the default palette; 8-bit indices are written as they are. Returns the record's
    // size, 0 (nothing appended) when there is no picture or its size does not fit.
    std::uint32_t EncodeIcon(std::vector<std::uint8_t>& out, ShpIconHeader& headerOut, bool writeFileHeader,
                             Progress* progress = nullptr);
    // The same, written to a file being built; 0 also when writing fails.
    std::uint32_t EncodeIcon(SafeFile& file, ShpIconHeader& headerOut, bool writeFileHeader,
                             Progress* progress = nullptr);
    // An icon encoded again after an edit keeps its position: the box written is keep's (cut to the picture),
    // grown to take in every visible pixel; keep's reserved word is carried over. A keep box that holds no part
    // of the picture is replaced by the picture's own.
    std::uint32_t EncodeIcon(std::vector<std::uint8_t>& out, ShpIconHeader& headerOut, const ShpIconHeader& keep);

private:
    std::uint32_t Encode(std::vector<std::uint8_t>& out, ShpIconHeader& headerOut, bool writeFileHeader,
                         Progress* progress, const ShpIconHeader* keep);
};

}  // namespace pixmond
