#include "support/UnitFiles.h"

#include <stdexcept>

#include "image/CBmpOrvel.h"
#include "image/ImageWriter.h"
#include "image/Palette.h"
#include "image/S16Writer.h"
#include "image/ShpLayout.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond::test {

namespace {

std::vector<std::uint8_t> PngOf(const CBmpDib& picture) {
    TempDir dir;
    RecordingMessages messages;
    if (!WritePng(picture, dir.File("p.png"), messages)) throw std::runtime_error("PNG not written");
    return ReadBytes(dir / "p.png");
}

CBmpDib Picture24(int width, int height) {
    CBmpDib picture;
    picture.Create(width, height, 24);
    picture.Allocate();
    return picture;
}

}  // namespace

std::vector<std::uint8_t> UnitShp(const std::vector<IconSize>& sizes, std::uint8_t index) {
    std::vector<std::vector<std::uint8_t>> records;
    for (const IconSize& size : sizes) {
        CBmpOrvel picture;
        picture.Create(size.width, size.height, 8, false);
        picture.Allocate();
        picture.SetColourTable(DefaultColourTable());
        picture.SetColourCount(256);
        picture.Fill(index);
        picture.SetIndex(0, 0, kTransparentIndex);
        std::vector<std::uint8_t> record;
        ShpIconHeader header;
        if (picture.EncodeIcon(record, header, false) == 0) throw std::invalid_argument("icon cannot be encoded");
        records.push_back(std::move(record));
    }
    return AssembleShp(records);
}

std::vector<std::uint8_t> UnitShp(int width, int height, std::uint8_t index, int icons) {
    return UnitShp(std::vector<IconSize>(size_t(icons), IconSize{width, height}), index);
}

std::vector<std::uint8_t> UnitS16(const std::vector<IconSize>& sizes, Rgb colour) {
    std::vector<S16Icon> icons;
    for (const IconSize& size : sizes) {
        CBmpDib picture = Picture24(size.width, size.height);
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x) picture.SetColour(x, y, colour);
        icons.push_back(S16Icon::FromBitmap(picture, S16Icon::kRuns));
    }
    return BuildS16(icons);
}

std::vector<std::uint8_t> UnitS16(int width, int height, Rgb colour, int icons) {
    return UnitS16(std::vector<IconSize>(size_t(icons), IconSize{width, height}), colour);
}

std::vector<std::uint8_t> SheetPng(int cellWidth, int cellHeight, const std::array<Rgb, 9>& colours) {
    CBmpDib picture = Picture24(cellWidth * 3, cellHeight * 3);
    for (int y = 0; y < cellHeight * 3; ++y)
        for (int x = 0; x < cellWidth * 3; ++x) picture.SetColour(x, y, colours[size_t(y / cellHeight * 3 + x / cellWidth)]);
    return PngOf(picture);
}

std::vector<std::uint8_t> PlainPng(int width, int height, Rgb colour) {
    CBmpDib picture = Picture24(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.SetColour(x, y, colour);
    return PngOf(picture);
}

}  // namespace pixmond::test
