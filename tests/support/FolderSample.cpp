#include "support/FolderSample.h"

#include "image/S16Writer.h"
#include "support/PngBuilder.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"

namespace pixmond::test {

namespace {
std::vector<std::uint8_t> Sheet(int width, int height) {
    PngSpec png;
    png.width = width;
    png.height = height;
    png.colourType = PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            png.samples.push_back(std::uint16_t(x < width / 2 ? 200 : 10));
            png.samples.push_back(std::uint16_t(y < height / 2 ? 100 : 20));
            png.samples.push_back(30);
        }
    return EncodePng(png);
}

S16Icon Solid(int width, int height, int x, int y, int cw, int ch, Rgb colour) {
    S16Icon icon;
    icon.width = width;
    icon.height = height;
    icon.xOffset = x;
    icon.yOffset = y;
    icon.contentWidth = cw;
    icon.contentHeight = ch;
    icon.content.assign(size_t(cw * ch), ToRgb565(colour));
    return icon;
}
}  // namespace

void WriteFolderSample(const std::filesystem::path& folder) {
    WriteBytes(folder / "Tiger.shp", ShpBuilder()
                                         .IconText({"......", ".AAAB.", ".A..B.", ".CCCB.", "......"})
                                         .IconText({"DDD", "D.D", "DDD"})
                                         .IconText({"EE", "EE"})
                                         .Build());
    ShpBuilder jeep;
    for (int i = 0; i < 5; ++i) jeep.IconText({"FFFF", "F..F", "F..F", "FFFF"});
    WriteBytes(folder / "JEEP.SHP", jeep.Build());
    WriteBytes(folder / "bike.shp", ShpBuilder().IconText({"GGG", "G.G"}).IconText({"HH", "HH"}).Build());
    WriteBytes(folder / kLatinName, ShpBuilder().IconText({"II", "II"}).Build());
    WriteBytes(folder / "Plane.s16",
               BuildS16({Solid(5, 4, 1, 1, 3, 2, MakeRgb(0, 0, 248)), Solid(6, 3, 0, 0, 6, 3, MakeRgb(248, 0, 0))}));
    WriteBytes(folder / "sheet.png", Sheet(240, 150));
    WriteBytes(folder / "wide.png", Sheet(241, 150));
    WriteText(folder / "notes.txt", "not an icon");
}

}  // namespace pixmond::test
