#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/Canvas.h"

namespace pixmond {

class CBmpDib;
class Messages;

// One icon to be written into an S16 file: its size, the placement of its content and the content pixels
// (5-6-5 values, rows top first).
struct S16Icon {
    static constexpr std::int32_t kRaw = 0;
    static constexpr std::int32_t kRuns = 1;

    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t xOffset = 0;
    std::int32_t yOffset = 0;
    std::int32_t contentWidth = 0;
    std::int32_t contentHeight = 0;
    std::int32_t encoding = kRaw;
    std::vector<std::uint16_t> content;  // contentWidth * contentHeight values

    // The whole picture as the content.
    static S16Icon FromBitmap(const CBmpDib& picture, std::int32_t encoding);
};

std::uint16_t ToRgb565(Rgb colour);
// The coded pixel data of one icon, in its encoding (runs hold at most 255 pixels each).
std::vector<std::uint8_t> EncodeS16Pixels(const S16Icon& icon);
// A complete S16 file: count, 40-byte entries, data area.
std::vector<std::uint8_t> BuildS16(const std::vector<S16Icon>& icons);
// Writes BuildS16 through a new file renamed over the target.
bool WriteS16File(const std::string& path, const std::vector<S16Icon>& icons, Messages& messages);

}  // namespace pixmond
