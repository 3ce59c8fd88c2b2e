#include <array>
#include <fstream>

#include "archive/CDatFile.h"
#include "cli/CliRegistry.h"

namespace pixmond::cli {
namespace {

namespace fs = std::filesystem;

// Made-up descriptions, chosen by a word of the entry's name; other names take the rows in turn.
struct DemoRow {
    const char* word;
    const char* fields;
};
const std::array<DemoRow, 8> kRows = {{
    {"TIGER", "Heavy tank;grey;tank;Germany;tracked;Tiger"},
    {"PZ4", "Medium tank;grey;tank;Germany;tracked;Panzer"},
    {"T34", "Medium tank;green;tank;USSR;tracked;T-34"},
    {"PANEL", "Command panels;blue;interface;;;"},
    {"PLANE", "Fighter planes;silver;aircraft;Britain;wings;Spitfire"},
    {"SHIP", "Destroyers;navy;ship;Italy;hull;Navigatori"},
    {"TANK", "Tank sheet;grey;tank;Germany;tracked;"},
    {"ARMOUR", "Armoured cars;sand;car;Britain;wheeled;Humber"},
}};

const char* RowFor(std::string_view name, size_t& next) {
    for (const auto& row : kRows) {
        if (name.find(row.word) != std::string_view::npos) return row.fields;
    }
    return kRows[next++ % kRows.size()].fields;
}

// The description file the archive browser finds beside the demo archive.
bool WriteDemoDescriptions(const fs::path& folder, CliContext& ctx) {
    CDatFile dat(ctx.services.Get());
    if (!dat.LoadForReading((folder / "demo.dat").string(), false)) return false;
    std::string text = "# ICON;Desc.;Color;Type;Country;Chassis;Style/Family\r\n";
    size_t next = 0;
    for (const TDatItem& item : dat.Items()) {
        // Entries that show no icon keep no description, so that "{}" lists something.
        if (!item.loadable) continue;
        text += std::string(item.Name()) + ";" + RowFor(item.Name(), next) + "\r\n";
    }
    std::ofstream out(folder / "demo.csv", std::ios::binary);
    out << text;
    return bool(out.flush());
}

const SampleRegistration step(400, "descriptions", WriteDemoDescriptions);

}  // namespace
}  // namespace pixmond::cli
