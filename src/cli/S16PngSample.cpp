#include <algorithm>
#include <filesystem>

#include "cli/CliRegistry.h"
#include "image/CBmpDib.h"
#include "image/ImageWriter.h"
#include "image/S16Writer.h"
#include "ui/Services.h"

namespace pixmond::cli {
namespace {

// The icon formats' transparent colour: what the game shows as no pixel.
constexpr Rgb kClear = MakeRgb(248, 228, 216);
constexpr Rgb kColours[9] = {MakeRgb(92, 112, 64),  MakeRgb(120, 96, 56),  MakeRgb(64, 88, 120),
                             MakeRgb(136, 48, 40),  MakeRgb(80, 80, 88),   MakeRgb(160, 136, 72),
                             MakeRgb(48, 104, 96),  MakeRgb(112, 64, 120), MakeRgb(176, 176, 168)};
enum class Unit { Tank, Ship, Plane };

Rgb Darker(Rgb c) { return MakeRgb(RedOf(c) / 2, GreenOf(c) / 2, BlueOf(c) / 2); }

struct Cell {
    CBmpDib& picture;
    int x0, y0, w, h;
    void Rect(double x, double y, double rw, double rh, Rgb c) const {
        const int left = x0 + int(x * w), top = y0 + int(y * h);
        const int right = x0 + int((x + rw) * w), bottom = y0 + int((y + rh) * h);
        for (int py = std::max(top, y0); py < std::min(bottom, y0 + h); ++py)
            for (int px = std::max(left, x0); px < std::min(right, x0 + w); ++px) picture.SetColour(px, py, c);
    }
    void Ellipse(double cx, double cy, double rx, double ry, Rgb c) const {
        for (int py = y0; py < y0 + h; ++py)
            for (int px = x0; px < x0 + w; ++px) {
                const double dx = ((px - x0 + 0.5) / w - cx) / rx, dy = ((py - y0 + 0.5) / h - cy) / ry;
                if (dx * dx + dy * dy <= 1) picture.SetColour(px, py, c);
            }
    }
};

// Unit shapes drawn from rectangles and ellipses in a cell, in fractions of the cell's size.
void DrawUnit(const Cell& cell, Unit unit, int variant) {
    const Rgb body = kColours[variant % 9];
    const double grow = 0.02 * (variant % 3);
    switch (unit) {
        case Unit::Tank:
            cell.Rect(0.12 - grow, 0.62, 0.76 + 2 * grow, 0.18, Darker(body));
            cell.Rect(0.16 - grow, 0.44, 0.68 + 2 * grow, 0.2, body);
            cell.Ellipse(0.45, 0.4, 0.14, 0.14, body);
            cell.Rect(0.5, 0.36, 0.4, 0.06, Darker(body));
            break;
        case Unit::Ship:
            cell.Ellipse(0.5, 0.66, 0.42 + grow, 0.14, body);
            cell.Rect(0.3, 0.4, 0.3, 0.2, Darker(body));
            cell.Rect(0.42, 0.18, 0.04, 0.24, Darker(body));
            cell.Ellipse(0.7, 0.52, 0.06, 0.06, MakeRgb(232, 232, 224));
            break;
        case Unit::Plane:
            cell.Ellipse(0.5, 0.5, 0.38 + grow, 0.1, body);
            cell.Rect(0.42, 0.12, 0.12, 0.76, Darker(body));
            cell.Rect(0.12, 0.34, 0.06, 0.32, Darker(body));
            cell.Ellipse(0.78, 0.48, 0.06, 0.05, MakeRgb(200, 224, 240));
            break;
    }
}

CBmpDib ClearPicture(int width, int height) {
    CBmpDib picture;
    picture.Create(width, height, 24);
    picture.Allocate();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.SetColour(x, y, kClear);
    return picture;
}

// One icon with its content cut to the drawn shape, placed at its offset.
S16Icon UnitIcon(Unit unit, int variant, std::int32_t encoding) {
    const int w = 80, h = 50;
    CBmpDib picture = ClearPicture(w, h);
    DrawUnit(Cell{picture, 0, 0, w, h}, unit, variant);
    int left = w, top = h, right = 0, bottom = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (picture.PixelRgb(x, y) != kClear) {
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
    S16Icon icon;
    icon.width = w;
    icon.height = h;
    icon.xOffset = left;
    icon.yOffset = top;
    icon.contentWidth = right - left;
    icon.contentHeight = bottom - top;
    icon.encoding = encoding;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) icon.content.push_back(ToRgb565(picture.PixelRgb(x, y)));
    return icon;
}

bool WriteS16Sample(const std::filesystem::path& path, Unit unit, std::int32_t encoding, Messages& messages) {
    std::vector<S16Icon> icons;
    for (int i = 0; i < 9; ++i) icons.push_back(UnitIcon(unit, i, encoding));
    return WriteS16File(path.string(), icons, messages);
}

bool WriteSheetSample(const std::filesystem::path& path, int cellWidth, int cellHeight, Unit unit,
                      Messages& messages) {
    CBmpDib sheet = ClearPicture(cellWidth * 3, cellHeight * 3);
    for (int i = 0; i < 9; ++i) DrawUnit(Cell{sheet, i % 3 * cellWidth, i / 3 * cellHeight, cellWidth, cellHeight}, unit, i);
    return WritePng(sheet, path.string(), messages);
}

bool WriteS16AndPngSamples(const std::filesystem::path& folder, CliContext& ctx) {
    Messages& messages = ctx.services.Get().messages;
    return WriteS16Sample(folder / "tanks.s16", Unit::Tank, S16Icon::kRuns, messages) &&
           WriteS16Sample(folder / "ships.s16", Unit::Ship, S16Icon::kRaw, messages) &&
           WriteSheetSample(folder / "planes.png", 80, 50, Unit::Plane, messages) &&
           WriteSheetSample(folder / "armour.png", 90, 50, Unit::Tank, messages);
}

const SampleRegistration step(200, "S16 and PNG files", WriteS16AndPngSamples);

}  // namespace
}  // namespace pixmond::cli
