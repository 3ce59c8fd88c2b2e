#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/CBmpOrvel.h"
#include "image/ShpIconHeader.h"

namespace pixmond::test {

// Rows of palette indices, top row first.
using IndexRows = std::vector<std::vector<std::uint8_t>>;

// Rows written as text: '.' is the transparent index 159, 'A'..'Z' are 1..26, '0'..'9' are 200..209,
// '#' is 0 (black).
IndexRows RowsFromText(const std::vector<std::string>& text);
// The indices of an 8-bit picture, top row first.
IndexRows RowsOf(const CBmp& picture);
// An 8-bit picture over the default palette holding the rows.
CBmpOrvel PictureOf(const IndexRows& rows);

// Builds SHP files in memory: icons encoded by this program's encoder or given byte by byte.
class ShpBuilder {
public:
    // One icon encoded from the rows.
    ShpBuilder& Icon(const IndexRows& rows);
    ShpBuilder& IconText(const std::vector<std::string>& text) { return Icon(RowsFromText(text)); }
    // One icon made of the header and the pixel stream as given.
    ShpBuilder& RawIcon(const ShpIconHeader& header, const std::vector<std::uint8_t>& stream);
    // A whole record as given (header bytes included, or anything else).
    ShpBuilder& RawRecord(std::vector<std::uint8_t> record);

    // The file in this program's layout.
    std::vector<std::uint8_t> Build() const;
    const std::vector<std::vector<std::uint8_t>>& Records() const { return records_; }

private:
    std::vector<std::vector<std::uint8_t>> records_;
};

}  // namespace pixmond::test
