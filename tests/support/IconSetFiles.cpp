#include "support/IconSetFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

#include "image/CBmpOrvel.h"
#include "image/ImageWriter.h"
#include "image/Palette.h"
#include "image/S16Writer.h"
#include "image/ShpLayout.h"
#include "support/RecordingMessages.h"

namespace pixmond::test {

IconSizeOf SameSize(int width, int height) {
    return [width, height](int, int& w, int& h) {
        w = width;
        h = height;
    };
}

Rgb SolidColour(int n) {
    // Channels on the 5-6-5 grid, so S16 pixels come back exactly.
    return MakeRgb((n * 5 % 32) * 8, (n * 23 % 64) * 4, ((n * 11 + 7) % 32) * 8);
}

std::vector<std::uint8_t> ShpOfRows(const std::vector<std::vector<std::vector<std::uint8_t>>>& icons) {
    std::vector<std::vector<std::uint8_t>> records;
    for (const auto& rows : icons) {
        CBmpOrvel picture;
        picture.Create(int(rows[0].size()), int(rows.size()), 8, false);
        picture.Allocate();
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) picture.SetIndex(x, y, rows[size_t(y)][size_t(x)]);
        std::vector<std::uint8_t> record;
        ShpIconHeader header;
        if (picture.EncodeIcon(record, header, false) == 0) throw std::runtime_error("icon not encoded");
        records.push_back(std::move(record));
    }
    return AssembleShp(records);
}

std::vector<std::uint8_t> SolidShp(int count, const IconSizeOf& size) {
    std::vector<std::vector<std::vector<std::uint8_t>>> icons;
    for (int n = 1; n <= count; ++n) {
        int w = 0, h = 0;
        size(n, w, h);
        icons.emplace_back(size_t(h), std::vector<std::uint8_t>(size_t(w), std::uint8_t(n)));
    }
    return ShpOfRows(icons);
}

std::vector<std::uint8_t> SolidS16(int count, const IconSizeOf& size) {
    std::vector<S16Icon> icons;
    for (int n = 1; n <= count; ++n) {
        S16Icon icon;
        size(n, icon.width, icon.height);
        icon.contentWidth = icon.width;
        icon.contentHeight = icon.height;
        icon.encoding = n % 2 ? S16Icon::kRuns : S16Icon::kRaw;
        icon.content.assign(size_t(icon.width) * size_t(icon.height), ToRgb565(SolidColour(n)));
        icons.push_back(std::move(icon));
    }
    return BuildS16(icons);
}

std::vector<std::uint8_t> RgbPng(int width, int height, const std::function<Rgb(int x, int y)>& colour) {
    CBmpDib picture;
    picture.Create(width, height, 24, false);
    picture.Allocate();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.SetColour(x, y, colour(x, y));
    const auto path = std::filesystem::temp_directory_path() /
                      ("pixmond-png-" + std::to_string(::getpid()) + "-" + std::to_string(width) + "x" +
                       std::to_string(height) + ".png");
    RecordingMessages messages;
    if (!WritePng(picture, path.string(), messages)) throw std::runtime_error("PNG not written");
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    return bytes;
}

std::vector<std::uint8_t> SheetPng(int width, int height) {
    return RgbPng(width, height, [width, height](int x, int y) {
        return SolidColour(y / (height / 3) * 3 + x / (width / 3) + 1);
    });
}

}  // namespace pixmond::test
