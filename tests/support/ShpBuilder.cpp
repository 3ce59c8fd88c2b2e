#include "support/ShpBuilder.h"

#include <algorithm>
#include <stdexcept>

#include "image/Palette.h"
#include "image/ShpLayout.h"

namespace pixmond::test {

IndexRows RowsFromText(const std::vector<std::string>& text) {
    IndexRows rows;
    for (const auto& line : text) {
        std::vector<std::uint8_t> row;
        for (char c : line) {
            if (c == '.') row.push_back(kTransparentIndex);
            else if (c == '#') row.push_back(0);
            else if (c >= 'A' && c <= 'Z') row.push_back(std::uint8_t(c - 'A' + 1));
            else if (c >= '0' && c <= '9') row.push_back(std::uint8_t(c - '0' + 200));
            else throw std::invalid_argument(std::string("no index for '") + c + "'");
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

IndexRows RowsOf(const CBmp& picture) {
    IndexRows rows(size_t(std::max(0, picture.Height())));
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) rows[size_t(y)].push_back(picture.GetIndex(x, y));
    return rows;
}

CBmpOrvel PictureOf(const IndexRows& rows) {
    CBmpOrvel picture;
    const int height = int(rows.size());
    const int width = rows.empty() ? 0 : int(rows[0].size());
    picture.Create(width, height, 8, false);
    picture.Allocate();
    picture.Fill(kTransparentIndex);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width && x < int(rows[size_t(y)].size()); ++x) picture.SetIndex(x, y, rows[size_t(y)][size_t(x)]);
    return picture;
}

ShpBuilder& ShpBuilder::Icon(const IndexRows& rows) {
    CBmpOrvel picture = PictureOf(rows);
    std::vector<std::uint8_t> record;
    ShpIconHeader header;
    if (picture.EncodeIcon(record, header, false) == 0) throw std::invalid_argument("picture cannot be encoded");
    records_.push_back(std::move(record));
    return *this;
}

ShpBuilder& ShpBuilder::RawIcon(const ShpIconHeader& header, const std::vector<std::uint8_t>& stream) {
    std::vector<std::uint8_t> record(ShpIconHeader::kSize);
    header.Store(record.data());
    record.insert(record.end(), stream.begin(), stream.end());
    records_.push_back(std::move(record));
    return *this;
}

ShpBuilder& ShpBuilder::RawRecord(std::vector<std::uint8_t> record) {
    records_.push_back(std::move(record));
    return *this;
}

std::vector<std::uint8_t> ShpBuilder::Build() const { return AssembleShp(records_); }

}  // namespace pixmond::test
