// info, export and encode for icon files. Each kind of file (by extension) has its own handlers in the
// table below; the commands only pick the row.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliRegistry.h"
#include "cli/IconFileCommands.h"
#include "cli/ImageSetCommands.h"
#include "image/CBmpOrvel.h"
#include "image/CShpFile.h"
#include "image/PaletteFile.h"
#include "image/ShpLayout.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond::cli {
namespace {

struct InfoArgs {
    std::string file;
    bool json = false;
};

using ExportArgs = ExportRequest;

struct EncodeArgs {
    std::vector<std::string> inputs;
    std::string output;
};

// Output extensions by picture type, as the program names its files.
std::string ExtensionForType(const std::string& type) {
    const std::string t = ToLower(type);
    if (t == "png") return ".PNG";
    if (t == "jpg") return ".JPG";
    return ".BMP";
}

// The file an icon export writes: the path as given, with the type's extension when it has none.
bool SingleOutputPath(const ExportArgs& args, Messages& messages, std::string& path) {
    path = args.output;
    const std::string extension = PathParts::Of(path).extension;
    if (extension.empty()) {
        path += ExtensionForType(args.type);
        return true;
    }
    if (!args.type.empty() && !EqualIgnoringCase(extension, ExtensionForType(args.type))) {
        messages.Error(Format("%s does not end in %s", path.c_str(), ExtensionForType(args.type).c_str()));
        return false;
    }
    return true;
}

// ---- SHP ----

bool OpenShp(const std::string& path, CShpFile& shp, Messages& messages) {
    if (!shp.OpenFile(path, 1)) {
        messages.Error(Format("%s not found", path.c_str()));
        return false;
    }
    // A file that holds no icon is still a sound SHP file; only an unreadable directory fails.
    if (!shp.HasDirectory()) {
        messages.Error(shp.Problem());
        return false;
    }
    return true;
}

Json ShpInfoJson(const CShpFile& shp, const std::string& path) {
    Json json = {{"kind", "shp"}, {"path", JsonText(path)}, {"count", shp.IconCount()}};
    Json& icons = json["icons"] = Json::array();
    for (int n = 1; n <= shp.IconCount(); ++n) {
        const ShpIconHeader& h = shp.StoredHeaders()[size_t(n - 1)];
        icons.push_back({{"number", n},
                         {"width", h.Width()},
                         {"height", h.Height()},
                         {"x0", h.x0},
                         {"y0", h.y0},
                         {"x1", h.x1},
                         {"y1", h.y1},
                         {"offset", shp.Directory()[size_t(n - 1)].imageOffset},
                         {"record_size", shp.IconRecordSize(n)}});
    }
    return json;
}

std::string ShpInfoTable(const CShpFile& shp, const std::string& path) {
    std::string text = Format("%s: %d icon%s\n", path.c_str(), shp.IconCount(), shp.IconCount() == 1 ? "" : "s");
    if (shp.IconCount() == 0) return text;
    text += Format("%5s %6s %6s %6s %6s %6s %6s %10s %8s\n", "Icon", "Width", "Height", "x0", "y0", "x1", "y1",
                   "Offset", "Size");
    for (int n = 1; n <= shp.IconCount(); ++n) {
        const ShpIconHeader& h = shp.StoredHeaders()[size_t(n - 1)];
        const std::uint32_t offset = shp.Directory()[size_t(n - 1)].imageOffset;
        if (!shp.IconReadable(n)) {
            text += Format("%5d %s (record offset %u)\n", n, "past the end of the file", offset);
            continue;
        }
        text += Format("%5d %6d %6d %6d %6d %6d %6d %10u %8u\n", n, h.Width(), h.Height(), h.x0, h.y0, h.x1, h.y1,
                       offset, shp.IconRecordSize(n));
    }
    return text;
}

bool InfoShp(const InfoArgs& args, CliContext& ctx) {
    CShpFile shp;
    if (!OpenShp(args.file, shp, ctx.services.messages)) return false;
    if (args.json) PrintJson(ShpInfoJson(shp, args.file));
    else Print(ShpInfoTable(shp, args.file));
    return true;
}

bool SaveShpIcon(CShpFile& shp, int icon, const std::string& path, Messages& messages) {
    shp.SelectIcon(icon);
    if (shp.DecodeIcon() <= 0) {
        messages.Error(Format("%s: %s", shp.FileName().c_str(), shp.Problem().c_str()));
        return false;
    }
    return shp.Save(path, messages);
}

bool ExportShp(const ExportArgs& args, CliContext& ctx) {
    Messages& messages = ctx.services.messages;
    CShpFile shp;
    if (!OpenShp(args.file, shp, messages)) return false;
    if (!args.palette.empty() && !ReadPalette(shp.Colours(), args.palette, messages)) return false;
    if (!args.all) {
        if (args.icon < 1 || args.icon > shp.IconCount()) {
            messages.Error(Format("Icon %d is not in %s (icons 1..%d)", args.icon, args.file.c_str(), shp.IconCount()));
            return false;
        }
        std::string path;
        return SingleOutputPath(args, messages, path) && SaveShpIcon(shp, args.icon, path, messages);
    }
    std::error_code ec;
    std::filesystem::create_directories(args.output, ec);
    const std::string title = PathParts::Of(args.file).title;
    const std::string extension = ExtensionForType(args.type);
    int written = 0;
    for (int n = 1; n <= shp.IconCount(); ++n) {
        const std::string name = Format("%s_%03d%s", title.c_str(), n, extension.c_str());
        if (SaveShpIcon(shp, n, (std::filesystem::path(args.output) / name).string(), messages)) ++written;
    }
    messages.Notice(Format("%d of %d icons written to %s", written, shp.IconCount(), args.output.c_str()));
    return written == shp.IconCount();
}

// ---- S16 and PNG (S16PngCommands.cpp) ----

bool InfoS16(const InfoArgs& args, CliContext& ctx) { return RunS16Info(args.file, args.json, ctx.services.Get()); }
bool InfoPng(const InfoArgs& args, CliContext& ctx) { return RunPngInfo(args.file, args.json, ctx.services.Get()); }

bool ExportS16(const ExportArgs& args, CliContext& ctx) {
    if (args.all)
        return ExportAllS16Icons(args.file, args.output, ExtensionForType(args.type), args.quality, ctx.services.Get());
    std::string path;
    return SingleOutputPath(args, ctx.services.messages, path) &&
           ExportS16Icon(args.file, args.icon, path, args.quality, ctx.services.Get());
}

bool ExportWholePng(const ExportArgs& args, CliContext& ctx) {
    if (args.all)
        return ExportPngToFolder(args.file, args.output, ExtensionForType(args.type), args.quality, ctx.services.Get());
    std::string path;
    return SingleOutputPath(args, ctx.services.messages, path) &&
           ExportPng(args.file, path, args.quality, ctx.services.Get());
}

// ---- dispatch by extension ----

using InfoHandler = bool (*)(const InfoArgs&, CliContext&);
using ExportHandler = bool (*)(const ExportArgs&, CliContext&);

struct FileKind {
    const char* extension;
    InfoHandler info;
    ExportHandler exportIcons;
};

const FileKind kKinds[] = {
    {".shp", InfoShp, ExportShp},
    {".s16", InfoS16, ExportS16},
    {".png", InfoPng, ExportWholePng},
};

const FileKind* KindOf(const std::string& path, Messages& messages) {
    const std::string extension = PathParts::Of(path).extension;
    for (const FileKind& kind : kKinds)
        if (EqualIgnoringCase(extension, kind.extension)) return &kind;
    messages.Error(Format("%s: not an icon file this command reads", path.c_str()));
    return nullptr;
}

bool RunInfo(const InfoArgs& args, CliContext& ctx) {
    const FileKind* kind = KindOf(args.file, ctx.services.messages);
    return kind && kind->info(args, ctx);
}

bool RunExport(const ExportArgs& args, CliContext& ctx) {
    if (HandlesExport(args)) return RunImageSetExport(args, ctx.services.Get());
    const FileKind* kind = KindOf(args.file, ctx.services.messages);
    return kind && kind->exportIcons(args, ctx);
}

// ---- encode ----

bool RunEncode(const EncodeArgs& args, CliContext& ctx) {
    Messages& messages = ctx.services.messages;
    std::vector<std::vector<std::uint8_t>> records;
    for (const std::string& input : args.inputs) {
        CBmpDib picture;
        if (!picture.LoadBmp(input, messages)) return false;
        CBmpOrvel icon(picture);
        if (!CBmpOrvel::SizeFits(icon.Width(), icon.Height())) {
            messages.Error(Format("%s: %d x %d is not an icon size (2..%d x 2..%d)", input.c_str(), icon.Width(),
                                  icon.Height(), COrvelShp::kMaxWidth, COrvelShp::kMaxHeight));
            return false;
        }
        std::vector<std::uint8_t> record;
        ShpIconHeader header;
        if (icon.EncodeIcon(record, header, false) == 0) {
            messages.Error(Format("%s: cannot be encoded", input.c_str()));
            return false;
        }
        records.push_back(std::move(record));
    }
    if (!WriteShpFile(args.output, records, messages)) return false;
    messages.Notice(Format("%s: %d icon%s written", args.output.c_str(), int(records.size()),
                           records.size() == 1 ? "" : "s"));
    return true;
}

void Add(CLI::App& app, CliContext& ctx) {
    auto info = std::make_shared<InfoArgs>();
    auto* infoCmd = app.add_subcommand("info", "Show the icons of an icon file (count, sizes, boxes, offsets)");
    infoCmd->add_option("FILE", info->file, "Icon file")->required();
    infoCmd->add_flag("--json", info->json, "One JSON object instead of a table");
    infoCmd->callback([&ctx, info] { ctx.exitCode = RunInfo(*info, ctx) ? 0 : 1; });

    auto exp = std::make_shared<ExportArgs>();
    auto* exportCmd = app.add_subcommand("export", "Write icons of an icon file as pictures");
    exportCmd->add_option("FILE", exp->file, "Icon file")->required();
    auto* group = exportCmd->add_option_group("which");
    group->add_option("--icon", exp->icon, "Icon number, from 1");
    group->add_flag("--all", exp->all, "Every icon, named TITLE_NNN.EXT in the folder given by -o");
    group->require_option(1);
    exportCmd->add_option("-o,--output", exp->output, "Output picture (--icon) or folder (--all)")->required();
    exportCmd->add_option("--type", exp->type, "Picture type")->check(CLI::IsMember({"bmp", "png", "jpg"}, CLI::ignore_case));
    exportCmd->add_option("--palette", exp->palette, "Palette file (binary or text) instead of the default palette");
    exportCmd->add_option("--quality", exp->quality, "JPG quality, 1 to 100 (default 90)")->check(CLI::Range(1, 100));
    AddImageSetExportOptions(*exportCmd, *group, *exp);
    exportCmd->callback([&ctx, exp] { ctx.exitCode = RunExport(*exp, ctx) ? 0 : 1; });

    auto enc = std::make_shared<EncodeArgs>();
    auto* encodeCmd = app.add_subcommand("encode", "Build an SHP file from bitmaps, one icon per bitmap in order");
    encodeCmd->add_option("BMP", enc->inputs, "Bitmaps (8-bit indices are kept; other depths take the default palette)")
        ->required();
    encodeCmd->add_option("-o,--output", enc->output, "SHP file to write")->required();
    encodeCmd->callback([&ctx, enc] { ctx.exitCode = RunEncode(*enc, ctx) ? 0 : 1; });
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
