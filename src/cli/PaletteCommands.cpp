// palette nearest / convert / remap: the palette operations on files.
#include <memory>
#include <string>

#include "cli/CliRegistry.h"
#include "image/Palette.h"
#include "image/PaletteFile.h"
#include "base/Format.h"

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
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
