#include <memory>
#include <string>

#include "cli/CliRegistry.h"
#include "cli/IconFileCommands.h"
#include "image/CBmpDib.h"
#include "image/PngReader.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/PathParts.h"
#include "ui/Services.h"
#include "base/TextCase.h"

namespace pixmond::cli {
namespace {

struct ConvertOpts {
    std::string input;
    std::string output;
    int quality = 90;
};

bool LoadPicture(CBmpDib& picture, const std::string& path, Messages& messages) {
    const std::string ext = ToLower(PathParts::Of(path).extension);
    if (ext == ".bmp") return picture.LoadBmp(path, messages);
    if (ext == ".png") return LoadPng(picture, path, nullptr, 0, messages) == kPngLoaded;
    messages.Error(Format("Cannot convert %s: pictures are read from .bmp and .png files", path.c_str()));
    return false;
}

bool RunConvert(const ConvertOpts& opts, Services& services) {
    CBmpDib picture;
    if (!CheckPictureOutput(opts.output, services.messages) || !LoadPicture(picture, opts.input, services.messages))
        return false;
    if (!picture.Save(opts.output, services.messages, opts.quality)) return false;
    services.messages.Notice(Format("%s written to %s (%d x %d)", opts.input.c_str(), opts.output.c_str(),
                                    picture.Width(), picture.Height()));
    return true;
}

void Add(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand("convert", "Convert one picture (BMP or PNG in; BMP, PNG or JPG out)");
    auto opts = std::make_shared<ConvertOpts>();
    cmd->add_option("IN", opts->input, "Picture to read (.bmp or .png)")->required();
    cmd->add_option("-o,--output", opts->output, "Picture to write (.bmp, .png or .jpg)")->required();
    cmd->add_option("--quality", opts->quality, "JPG quality, 1 to 100")->check(CLI::Range(1, 100));
    cmd->callback([&ctx, opts] { ctx.exitCode = RunConvert(*opts, ctx.services.Get()) ? 0 : 1; });
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
