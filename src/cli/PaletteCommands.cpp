// palette nearest / convert / remap / compare: the palette operations on files.
#include <memory>
#include <string>

#include "cli/CliRegistry.h"
#include "image/Palette.h"
#include "image/PaletteFile.h"
#include "base/Format.h"
#include "tools/PaletteComparison.h"

namespace pixmond::cli {
namespace {

struct NearestArgs {
    int red = 0, green = 0, blue = 0;
};

struct ConvertArgs {
    std::string input;
    std::string output;
    bool text = false;
    bool binary = false;
};

struct RemapArgs {
    std::string input;
    std::string output;
};

struct CompareArgs {
    std::string first;
    std::string second;
    bool onlyDifferences = false;
    bool json = false;
};

bool RunNearest(const NearestArgs& args) {
    Print(Format("%d\n", NearestPaletteIndex(args.red, args.green, args.blue)));
    return true;
}

// The input is read over the default palette, so entries a short text file leaves out keep the default colours.
bool RunConvert(const ConvertArgs& args, Messages& messages) {
    CBmpDib::ColourTable table = DefaultColourTable();
    if (!ReadPalette(table, args.input, messages)) return false;
    return args.text ? WriteTextPalette(table, args.output, messages)
                     : WriteBinaryPalette(table, args.output, messages);
}

bool RunRemap(const RemapArgs& args, Messages& messages) {
    CBmpDib picture;
    if (!picture.LoadBmp(args.input, messages)) return false;
    const bool mapped = picture.BitsPerPixel() == 8 ? RemapToDefaultPalette(picture) : ConvertToPalette(picture);
    if (!mapped) {
        messages.Error(Format("%s: cannot be mapped to the default palette", args.input.c_str()));
        return false;
    }
    return picture.SaveBmp(args.output, true, messages);
}

std::string CompareJson(const PaletteComparison& comparison) {
    const auto rgb = [](const CBmpDib::ColourTable& table, int i) {
        return Format("[%d,%d,%d]", table[size_t(i) * 4 + 2], table[size_t(i) * 4 + 1], table[size_t(i) * 4]);
    };
    std::string out = "{\"first\":" + JsonString(comparison.first.name) +
                      ",\"second\":" + JsonString(comparison.second.name) +
                      Format(",\"only_differences\":%s,\"differences\":%d,\"rows\":[",
                             comparison.onlyDifferences ? "true" : "false", comparison.Differences());
    const auto rows = comparison.Rows();
    for (size_t r = 0; r < rows.size(); ++r) {
        const int i = rows[r].index;
        out += Format("%s{\"index\":%d,\"first\":%s,\"second\":%s}", r ? "," : "", i,
                      rgb(comparison.first.table, i).c_str(), rgb(comparison.second.table, i).c_str());
    }
    return out + "]}\n";
}

// The rows the comparison dialog lists, under its column titles. Both palettes start as the default one, so a
// short file compares its own entries over the default colours.
bool RunCompare(const CompareArgs& args, Messages& messages) {
    PaletteComparison comparison;
    comparison.Start();
    comparison.onlyDifferences = args.onlyDifferences;
    if (!comparison.Load(0, args.first, messages)) return false;
    if (!args.second.empty() && !comparison.Load(1, args.second, messages)) return false;
    if (args.json) {
        Print(CompareJson(comparison));
        return true;
    }
    std::string out = Format("1st: %s\n2nd: %s\n Pal. Index   1st Palette (R,G,B)   2nd Palette (R,G,B)\n",
                             comparison.first.name.c_str(), comparison.second.name.c_str());
    for (const PaletteComparison::Row& row : comparison.Rows())
        out += Format(" %-10s   %-19s   %s\n", row.indexText.c_str(), row.firstText.c_str(), row.secondText.c_str());
    Print(out);
    return true;
}

void Add(CLI::App& app, CliContext& ctx) {
    auto* palette = app.add_subcommand("palette", "Palette operations");
    palette->require_subcommand(1);

    auto nearest = std::make_shared<NearestArgs>();
    auto* nearestCmd = palette->add_subcommand("nearest", "Print the default-palette index nearest to a colour");
    nearestCmd->add_option("R", nearest->red, "Red")->required()->check(CLI::Range(0, 255));
    nearestCmd->add_option("G", nearest->green, "Green")->required()->check(CLI::Range(0, 255));
    nearestCmd->add_option("B", nearest->blue, "Blue")->required()->check(CLI::Range(0, 255));
    nearestCmd->callback([&ctx, nearest] { ctx.exitCode = RunNearest(*nearest) ? 0 : 1; });

    auto convert = std::make_shared<ConvertArgs>();
    auto* convertCmd = palette->add_subcommand("convert", "Convert a palette file between the binary and text forms");
    convertCmd->add_option("IN", convert->input, "Palette file (1024-byte binary, 768-byte RGB or text)")->required();
    convertCmd->add_option("-o,--output", convert->output, "Palette file to write")->required();
    auto* form = convertCmd->add_option_group("form");
    form->add_flag("--text", convert->text, "Write the text form");
    form->add_flag("--binary", convert->binary, "Write the 1024-byte binary form");
    form->require_option(1);
    convertCmd->callback([&ctx, convert] { ctx.exitCode = RunConvert(*convert, ctx.services.messages) ? 0 : 1; });

    auto remap = std::make_shared<RemapArgs>();
    auto* remapCmd = palette->add_subcommand("remap", "Rewrite a bitmap as an 8-bit bitmap over the default palette");
    remapCmd->add_option("IN", remap->input, "Bitmap")->required();
    remapCmd->add_option("-o,--output", remap->output, "Bitmap to write")->required();
    remapCmd->callback([&ctx, remap] { ctx.exitCode = RunRemap(*remap, ctx.services.messages) ? 0 : 1; });

    auto compare = std::make_shared<CompareArgs>();
    auto* compareCmd = palette->add_subcommand("compare", "List the entries of two palette files side by side");
    compareCmd->add_option("A", compare->first, "1st palette file (text when it starts with JAS, else binary)")
        ->required();
    compareCmd->add_option("B", compare->second, "2nd palette file (default: the game's built-in palette)");
    compareCmd->add_flag("--only-differences", compare->onlyDifferences,
                         "List only the indexes whose red, green or blue differ");
    compareCmd->add_flag("--json", compare->json, "One JSON object instead of a table");
    compareCmd->callback([&ctx, compare] { ctx.exitCode = RunCompare(*compare, ctx.services.messages) ? 0 : 1; });
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
