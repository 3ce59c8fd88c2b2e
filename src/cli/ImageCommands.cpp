// info and encode for icon files, and the place of `export` among the commands (ImageSetCommands.cpp runs it).
// What info prints is what each kind of file stores, so info has a handler of each kind.
#include <memory>
#include <string>
#include <vector>

#include "cli/CliRegistry.h"
#include "cli/IconFileCommands.h"
#include "cli/ImageSetCommands.h"
#include "image/CBmpOrvel.h"
#include "image/CShpFile.h"
#include "image/IconKind.h"
#include "image/ShpLayout.h"
#include "base/Format.h"

namespace pixmond::cli {
namespace {

struct InfoArgs {
    std::string file;
    bool json = false;
};

struct EncodeArgs {
    std::vector<std::string> inputs;
    std::string output;
};

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

std::string ShpInfoJson(const CShpFile& shp, const std::string& path) {
    std::string json = Format("{\"kind\":\"shp\",\"path\":%s,\"count\":%d,\"icons\":[", JsonString(path).c_str(),
                              shp.IconCount());
    for (int n = 1; n <= shp.IconCount(); ++n) {
        const ShpIconHeader& h = shp.StoredHeaders()[size_t(n - 1)];
        json += Format("%s{\"number\":%d,\"width\":%d,\"height\":%d,\"x0\":%d,\"y0\":%d,\"x1\":%d,\"y1\":%d,"
                       "\"offset\":%u,\"record_size\":%u}",
                       n > 1 ? "," : "", n, h.Width(), h.Height(), h.x0, h.y0, h.x1, h.y1,
                       shp.Directory()[size_t(n - 1)].imageOffset, shp.IconRecordSize(n));
    }
    return json + "]}\n";
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
    Print(args.json ? ShpInfoJson(shp, args.file) : ShpInfoTable(shp, args.file));
    return true;
}

// ---- info by kind ----

bool InfoS16(const InfoArgs& args, CliContext& ctx) { return RunS16Info(args.file, args.json, ctx.services.Get()); }
bool InfoPng(const InfoArgs& args, CliContext& ctx) { return RunPngInfo(args.file, args.json, ctx.services.Get()); }

bool RunInfo(const InfoArgs& args, CliContext& ctx) {
    switch (IconKindOfName(args.file)) {
        case IconKind::Shp: return InfoShp(args, ctx);
        case IconKind::S16: return InfoS16(args, ctx);
        case IconKind::Png: return InfoPng(args, ctx);
        default:
            ctx.services.messages.Error(Format("%s: not an icon file this command reads", args.file.c_str()));
            return false;
    }
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

    AddExportCommand(app, ctx);

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
