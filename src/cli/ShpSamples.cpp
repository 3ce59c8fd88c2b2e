// Sample SHP files for `pixmond-cli sample`: two unit files of nine drawn tank icons and one interface file
// of a few larger pictures, all in default-palette indices.
#include <cmath>
#include <filesystem>
#include <vector>

#include "cli/CliRegistry.h"
#include "image/CBmpOrvel.h"
#include "image/Palette.h"
#include "image/ShpLayout.h"

namespace pixmond::cli {
namespace {

// Index drawing on an 8-bit picture; everything outside the picture is clipped by SetIndex.
class IndexPainter {
public:
    IndexPainter(int width, int height) {
        picture_.Create(width, height, 8, false);
        picture_.Allocate();
        picture_.Fill(kTransparentIndex);
    }
    void Rect(int x, int y, int w, int h, std::uint8_t index) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) picture_.SetIndex(i, j, index);
    }
    void Ellipse(double cx, double cy, double rx, double ry, std::uint8_t index) {
        for (int j = int(cy - ry); j <= int(cy + ry) + 1; ++j)
            for (int i = int(cx - rx); i <= int(cx + rx) + 1; ++i) {
                const double dx = (i - cx) / rx, dy = (j - cy) / ry;
                if (dx * dx + dy * dy <= 1.0) picture_.SetIndex(i, j, index);
            }
    }
    void Line(double x0, double y0, double x1, double y1, double radius, std::uint8_t index) {
        const int steps = int(std::hypot(x1 - x0, y1 - y0) * 2) + 1;
        for (int s = 0; s <= steps; ++s) {
            const double t = double(s) / steps;
            Ellipse(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, radius, radius, index);
        }
    }
    CBmpOrvel& Picture() { return picture_; }

private:
    CBmpOrvel picture_;
};

struct TankColours {
    std::uint8_t body, shade, light;
};

// Icons 1..8 point the gun round the compass; icon 9 is the wreck.
CBmpOrvel DrawTank(int icon, const TankColours& c, int hullLength) {
    IndexPainter p(80, 50);
    const double cx = 40, cy = 27;
    const bool wreck = icon == 9;
    const std::uint8_t body = wreck ? 13 : c.body, shade = wreck ? 14 : c.shade;
    p.Rect(int(cx) - hullLength / 2, int(cy) - 10, hullLength, 5, 12);  // tracks
    p.Rect(int(cx) - hullLength / 2, int(cy) + 6, hullLength, 5, 12);
    for (int x = int(cx) - hullLength / 2 + 2; x < int(cx) + hullLength / 2; x += 5) {
        p.Rect(x, int(cy) - 9, 2, 3, 9);
        p.Rect(x, int(cy) + 7, 2, 3, 9);
    }
    p.Rect(int(cx) - hullLength / 2 + 3, int(cy) - 6, hullLength - 6, 12, shade);
    p.Rect(int(cx) - hullLength / 2 + 4, int(cy) - 5, hullLength - 8, 6, body);
    const double angle = (icon - 1) * M_PI / 4;
    if (!wreck) p.Line(cx, cy, cx + 24 * std::cos(angle), cy - 16 * std::sin(angle), 1.4, 13);
    p.Ellipse(cx, cy, 9, 7, shade);
    p.Ellipse(cx - 1, cy - 1, 7, 5, wreck ? 15 : c.light);
    if (wreck) {
        p.Ellipse(cx + 5, cy - 14, 6, 5, 10);
        p.Ellipse(cx + 9, cy - 19, 5, 4, 7);
        p.Ellipse(cx - 3, cy + 2, 3, 2, 120);
    }
    return std::move(p.Picture());
}

CBmpOrvel DrawPanel(int width, int height, int hue) {
    IndexPainter p(width, height);
    for (int y = 0; y < height; ++y) p.Rect(0, y, width, 1, std::uint8_t(1 + y * 14 / height));
    p.Rect(0, 0, width, 3, 232);
    p.Rect(0, height - 3, width, 3, 15);
    p.Rect(0, 0, 3, height, 232);
    p.Rect(width - 3, 0, 3, height, 15);
    const int buttons = width / 90;
    for (int b = 0; b < buttons; ++b) {
        const int x = 12 + b * 88;
        p.Rect(x, height - 34, 76, 22, std::uint8_t(hue + b % 4));
        p.Rect(x + 2, height - 32, 72, 3, std::uint8_t(hue - 2));
    }
    return std::move(p.Picture());
}

CBmpOrvel DrawMap(int width, int height) {
    IndexPainter p(width, height);
    p.Rect(0, 0, width, height, 185);
    p.Ellipse(width * 0.35, height * 0.45, width * 0.3, height * 0.3, 58);
    p.Ellipse(width * 0.7, height * 0.6, width * 0.22, height * 0.25, 54);
    p.Line(0, height * 0.8, width, height * 0.2, 3, 200);
    p.Ellipse(width * 0.5, height * 0.5, 6, 6, 120);
    // A transparent corner, as the game's map frames have.
    for (int y = 0; y < 20; ++y) p.Rect(width - 20 + y, y, 20 - y, 1, kTransparentIndex);
    return std::move(p.Picture());
}

std::vector<std::uint8_t> Encode(CBmpOrvel picture) {
    std::vector<std::uint8_t> record;
    ShpIconHeader header;
    picture.EncodeIcon(record, header, false);
    return record;
}

bool WriteUnit(const std::filesystem::path& path, const TankColours& colours, int hullLength, Messages& messages) {
    std::vector<std::vector<std::uint8_t>> records;
    for (int icon = 1; icon <= 9; ++icon) records.push_back(Encode(DrawTank(icon, colours, hullLength)));
    return WriteShpFile(path.string(), records, messages);
}

bool WriteSamples(const std::filesystem::path& folder, CliContext& ctx) {
    Messages& messages = ctx.services.messages;
    const std::vector<std::vector<std::uint8_t>> panels = {
        Encode(DrawPanel(320, 200, 116)),
        Encode(DrawMap(240, 160)),
        Encode(DrawPanel(640, 100, 180)),
    };
    return WriteUnit(folder / "TIGER.SHP", {38, 25, 44}, 56, messages) &&
           WriteUnit(folder / "PZ4.SHP", {58, 62, 51}, 50, messages) &&
           WriteUnit(folder / "T34.SHP", {210, 211, 217}, 52, messages) &&
           WriteShpFile((folder / "PANELS.SHP").string(), panels, messages);
}

const SampleRegistration sample(100, "SHP files", WriteSamples);

}  // namespace
}  // namespace pixmond::cli
