// The export and view side of the command line: icons, collages and blocks of loose files and archive entries
// (`export`), what a view shows (`render`) and a decoding check of a whole archive (`check`). Every command reads
// the icons through the icon source of the file or entry; none of them asks what kind of file it has.
#include "cli/ImageSetCommands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "archive/ArchiveCheck.h"
#include "archive/CDatFile.h"
#include "cli/IconFileCommands.h"
#include "image/BitmapCanvas.h"
#include "image/IconSource.h"
#include "image/ImageSetColours.h"
#include "image/PaletteFile.h"
#include "tools/BlockRequest.h"
#include "tools/EveryIconExport.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/AppSettings.h"
#include "ui/CollectingMessages.h"
#include "ui/Services.h"
#include "base/TextCase.h"

namespace pixmond::cli {

namespace {

constexpr int kMaxArea = 16384;

// Everything `export` can be asked.
struct ExportRequest {
    std::string file;
    int icon = 0;            // --icon N (1-based)
    bool all = false;        // --all
    std::string output;
    std::string type;
    std::string palette;
    int quality = 90;

    std::string entry;       // --entry NAME: the file is an archive
    std::string collage;     // --collage WxH
    int first = 1;           // --first N (1-based)
    bool block = false;      // --block
    int count = 0;           // --count C
    int rows = 0;            // --rows R
    int cols = 0;            // --cols C (0: as many as the rows need)
    std::string cell;        // --cell: WxH for a block, N (1-9) for a PNG sheet
    bool lines = false;      // --lines
    bool allEntries = false; // --all-entries: every icon of every entry of an archive
};

// The icons one command works on: a loose icon file, or one entry of an archive made current (the archive holds
// the entry's source).
struct OpenedIcons {
    std::unique_ptr<CDatFile> dat;
    std::unique_ptr<IconSource> loose;
    IconSource* source = nullptr;
    std::string title;  // names derived files
};

bool ParseSize(const std::string& text, int& width, int& height) {
    char tail = 0;
    return std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &tail) == 2 ||
           std::sscanf(text.c_str(), "%dX%d%c", &width, &height, &tail) == 2;
}

// "WxH" within 1..16384 on both sides, else a usage error.
void RequireSize(const std::string& option, const std::string& text, int& width, int& height) {
    if (!ParseSize(text, width, height) || width < 1 || height < 1 || width > kMaxArea || height > kMaxArea)
        throw CLI::ValidationError(option, "expects WxH, each side 1 to 16384 (for example 400x300)");
}

// The entry of that name (with or without its extension); a real entry wins over a fake of the same name.
int FindEntry(const CDatFile& dat, const std::string& name) {
    int found = -1;
    const bool withExtension = !PathParts::Of(name).extension.empty();
    for (int i = 0; i < dat.Total(); ++i) {
        const TDatItem& item = dat.Item(i);
        const std::string_view key = withExtension ? item.Name() : item.Title();
        if (!EqualIgnoringCase(std::string(key), name)) continue;
        if (!item.fake) return i;
        if (found < 0) found = i;
    }
    return found;
}

bool OpenEntry(const std::string& archive, const std::string& name, OpenedIcons& icons, Services& services) {
    Messages& messages = services.messages;
    icons.dat = std::make_unique<CDatFile>(services);
    CDatFile& dat = *icons.dat;
    if (!dat.LoadForReading(archive, true)) return false;
    const int index = FindEntry(dat, name);
    if (index < 0) {
        messages.Error(Format("%s has no entry %s", archive.c_str(), name.c_str()));
        return false;
    }
    const TDatItem& item = dat.Item(index);
    icons.title = std::string(item.Title());
    const bool selected = dat.SelectEntry(index);
    icons.source = dat.CurrentSource();
    if (!icons.source) {
        messages.Error(Format(item.Kind() == IconKind::Other ? "%s is not an icon entry (its data cannot be shown)"
                                                             : "%s cannot be shown: its data is not in the archive",
                              std::string(item.Name()).c_str()));
        return false;
    }
    // The picture loader has already said why a picture did not decode.
    if (icons.source->IsPicture()) return icons.source->Readable();
    if (!selected) messages.Error(icons.source->Problem());
    return selected;
}

bool OpenLoose(const std::string& path, OpenedIcons& icons, Messages& messages) {
    icons.title = PathParts::Of(path).title;
    const IconKind kind = IconKindOfName(path);
    if (kind == IconKind::Other) {
        messages.Error(Format("%s: not an icon file this command reads", path.c_str()));
        return false;
    }
    const IconBytes bytes = IconBytes::OfFile(path);
    if (!bytes.file) {
        messages.Error(Format("Cannot open %s", path.c_str()));
        return false;
    }
    icons.loose = OpenIconSource(kind, bytes, messages);
    icons.source = icons.loose.get();
    if (icons.source->Readable()) return true;
    // The picture loader has already said why a picture did not decode.
    if (!icons.source->IsPicture()) messages.Error(icons.source->Problem());
    return false;
}

bool OpenIcons(const std::string& file, const std::string& entry, OpenedIcons& icons, Services& services) {
    return entry.empty() ? OpenLoose(file, icons, services.messages) : OpenEntry(file, entry, icons, services);
}

// A palette colours the icons of 8-bit sources; others have no use for it.
bool ApplyPalette(const ExportRequest& request, IconSource& source, Messages& messages) {
    if (request.palette.empty() || source.Bitmap().BitsPerPixel() != 8) return true;
    return ReadPalette(source.Bitmap().Colours(), request.palette, messages);
}

bool CheckIconNumber(const IconSource& source, int icon, const std::string& file, Messages& messages) {
    if (icon >= 1 && icon <= source.Count()) return true;
    messages.Error(Format("Icon %d is not in %s (icons 1..%d)", icon, file.c_str(), source.Count()));
    return false;
}

// ---- loose files: --icon and --all in the file's own terms ----

// Output extensions by --type, as the program names its files; bitmaps when none is given.
std::string ExtensionForType(const std::string& type) {
    const std::string t = ToLower(type);
    if (t == "png") return ".PNG";
    if (t == "jpg") return ".JPG";
    return ".BMP";
}

// The file an icon export writes: the path as given, with the type's extension when it has none.
bool SingleOutputPath(const ExportRequest& request, Messages& messages, std::string& path) {
    path = request.output;
    const std::string extension = PathParts::Of(path).extension;
    if (extension.empty()) {
        path += ExtensionForType(request.type);
        return true;
    }
    if (!request.type.empty() && !EqualIgnoringCase(extension, ExtensionForType(request.type))) {
        messages.Error(Format("%s does not end in %s", path.c_str(), ExtensionForType(request.type).c_str()));
        return false;
    }
    return true;
}

bool SaveDecoded(IconSource& source, int icon, const std::string& path, int quality, Messages& messages) {
    if (!source.Decode(icon)) {
        messages.Error(Format("%s: %s", source.Name().c_str(), source.Problem().c_str()));
        return false;
    }
    return source.Bitmap().Save(path, messages, quality);
}

// Every icon as TITLE_NNN.EXT into the folder -o; a picture whole as TITLE.EXT.
bool ExportNumbered(IconSource& source, const std::string& title, const ExportRequest& request, Messages& messages) {
    std::error_code ec;
    std::filesystem::create_directories(request.output, ec);
    const std::filesystem::path folder(request.output);
    const std::string extension = ExtensionForType(request.type);
    if (source.IsPicture()) {
        const std::string output = (folder / (title + extension)).string();
        if (!source.Bitmap().Save(output, messages, request.quality)) return false;
        messages.Notice(Format("%s written", output.c_str()));
        return true;
    }
    int written = 0;
    for (int n = 1; n <= source.Count(); ++n) {
        const std::string name = Format("%s_%03d%s", title.c_str(), n, extension.c_str());
        if (SaveDecoded(source, n, (folder / name).string(), request.quality, messages)) ++written;
    }
    messages.Notice(Format("%d of %d icons written to %s", written, source.Count(), request.output.c_str()));
    return written == source.Count();
}

bool ExportLooseIcons(const ExportRequest& request, Services& services) {
    Messages& messages = services.messages;
    std::string output;
    if (!request.all && (!SingleOutputPath(request, messages, output) || !CheckPictureOutput(output, messages)))
        return false;
    OpenedIcons icons;
    if (!OpenLoose(request.file, icons, messages) || !ApplyPalette(request, *icons.source, messages)) return false;
    IconSource& source = *icons.source;
    if (request.all) return ExportNumbered(source, icons.title, request, messages);
    // A picture is one picture: --icon does not pick anything in it.
    if (source.IsPicture()) return source.Bitmap().Save(output, messages, request.quality);
    return CheckIconNumber(source, request.icon, request.file, messages) &&
           SaveDecoded(source, request.icon, output, request.quality, messages);
}

// ---- collages, blocks, sheet cells and archive entries ----

// The output type: --type when given, else the "Output image" setting.
int OutputTypeOf(const ExportRequest& request, Services& services) {
    const std::string type = ToLower(request.type);
    if (type == "bmp") return 0;
    if (type == "png") return 1;
    if (type == "jpg") return 2;
    return AppSettings(services.settings).OutputImage();
}

// A picture path: as given, or with the type's extension when it has none.
std::string PicturePath(const ExportRequest& request, Services& services) {
    if (!PathParts::Of(request.output).extension.empty()) return request.output;
    return request.output + OutputImageExtension(OutputTypeOf(request, services));
}

bool ExportSheetCell(IconSource& picture, const ExportRequest& request, Services& services) {
    int cell = 0;
    char tail = 0;
    if (std::sscanf(request.cell.c_str(), "%d%c", &cell, &tail) != 1 || cell < 1 || cell > 9)
        throw CLI::ValidationError("--cell", "for a PNG sheet expects a cell number, 1 to 9");
    const IconGeometry size = picture.Geometry(cell);
    CBmpDib target;
    target.Create(size.width, size.height, 24);
    if (!picture.Decode(cell) || !target.Allocate() || !picture.CopyIcon(target, 0, 0)) {
        services.messages.Error(Format("Cell %d cannot be taken from %s", cell, request.file.c_str()));
        return false;
    }
    return target.Save(PicturePath(request, services), services.messages, request.quality);
}

bool ExportAll(OpenedIcons& icons, const ExportRequest& request, Services& services) {
    IconSource& source = *icons.source;
    // A picture has no icons to save one by one, and says so.
    if (source.IsPicture()) {
        source.SaveAllIcons(request.output, OutputTypeOf(request, services), services.messages);
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(request.output, ec);
    const std::string base = (std::filesystem::path(request.output) / (icons.title + ".x")).string();
    return source.SaveAllIcons(base, OutputTypeOf(request, services), services.messages) == 0;
}

bool ExportCollage(IconSource& source, const ExportRequest& request, Services& services) {
    int width = 0, height = 0;
    RequireSize("--collage", request.collage, width, height);
    return source.SaveCollage(PicturePath(request, services), Rect::OfSize(width, height), request.first,
                              services.messages);
}

bool ExportBlock(IconSource& source, const ExportRequest& request, Services& services) {
    if (source.IsPicture()) {
        services.messages.Error(Format("%s is one picture: a block is made of the icons of an SHP or S16 file",
                                       request.file.c_str()));
        return false;
    }
    if (request.count < 1 || request.rows < 1 || request.first < 1)
        throw CLI::ValidationError("--block", "needs --first N (from 1), --count C and --rows R, each at least 1");
    BlockParams params;
    params.path = PicturePath(request, services);
    params.first = request.first - 1;
    params.count = request.count;
    params.rows = request.rows;
    params.columns = request.cols > 0 ? request.cols : (request.count + request.rows - 1) / request.rows;
    params.lines = request.lines;
    if (!request.cell.empty()) {
        RequireSize("--cell", request.cell, params.cellWidth, params.cellHeight);
    } else {
        // The cell of a block: the largest width and height of the icons in the range.
        const auto sizes = BlockRequest::SizesOf(source);
        for (int i = params.first; i < params.first + params.count && i < int(sizes.size()); ++i) {
            params.cellWidth = std::max(params.cellWidth, sizes[size_t(i)].width);
            params.cellHeight = std::max(params.cellHeight, sizes[size_t(i)].height);
        }
        if (params.cellWidth < 1 || params.cellHeight < 1) {
            services.messages.Error(Format("%s has no icon %d", request.file.c_str(), request.first));
            return false;
        }
    }
    return source.SaveBlock(params, services.messages);
}

// Every icon of every real icon entry: icons as TITLE_NNN, pictures whole as TITLE.
bool ExportAllEntries(const ExportRequest& request, Services& services) {
    CDatFile dat(services);
    if (!dat.LoadForReading(request.file, true)) return false;
    std::error_code ec;
    std::filesystem::create_directories(request.output, ec);
    const EveryIconExportResult result = ExportEveryIcon(dat, request.output, OutputTypeOf(request, services), services);
    return result.failures == 0 && !result.cancelled;
}

bool ChoseSomething(const ExportRequest& r) {
    return r.icon != 0 || r.all || !r.collage.empty() || r.block || r.allEntries;
}

bool RunExport(const ExportRequest& request, Services& services) {
    Messages& messages = services.messages;
    if (request.allEntries) return ExportAllEntries(request, services);
    const bool sheetCell = !request.cell.empty() && !request.block;
    if (!ChoseSomething(request) && !sheetCell)
        throw CLI::RequiredError("One of --icon, --all, --collage, --block or --all-entries");
    // A loose file's --icon and --all, except a PNG sheet's --cell, which takes a cell of it.
    const bool looseIcons = request.entry.empty() && request.collage.empty() && !request.block &&
                            (request.icon != 0 || request.all) &&
                            !(sheetCell && IconKindOfName(request.file) == IconKind::Png);
    if (looseIcons) return ExportLooseIcons(request, services);
    OpenedIcons icons;
    if (!OpenIcons(request.file, request.entry, icons, services) || !ApplyPalette(request, *icons.source, messages))
        return false;
    IconSource& source = *icons.source;
    if (!request.collage.empty()) return ExportCollage(source, request, services);
    if (request.block) return ExportBlock(source, request, services);
    if (request.all) return ExportAll(icons, request, services);
    if (source.IsPicture()) {
        // A picture is one picture: --icon does not pick anything in it.
        if (sheetCell) return ExportSheetCell(source, request, services);
        return source.SaveIcon(PicturePath(request, services), messages);
    }
    if (!CheckIconNumber(source, request.icon, request.file, messages)) return false;
    source.Select(request.icon);
    return source.SaveIcon(PicturePath(request, services), messages);
}

}  // namespace

void AddExportCommand(CLI::App& app, CliContext& ctx) {
    auto r = std::make_shared<ExportRequest>();
    auto* cmd = app.add_subcommand("export", "Write icons of an icon file as pictures");
    cmd->add_option("FILE", r->file, "Icon file")->required();
    auto* which = cmd->add_option_group("which");
    which->add_option("--icon", r->icon, "Icon number, from 1");
    which->add_flag("--all", r->all, "Every icon, named TITLE_NNN.EXT in the folder given by -o");
    which->require_option(1);
    cmd->add_option("-o,--output", r->output, "Output picture (--icon) or folder (--all)")->required();
    cmd->add_option("--type", r->type, "Picture type")->check(CLI::IsMember({"bmp", "png", "jpg"}, CLI::ignore_case));
    cmd->add_option("--palette", r->palette, "Palette file (binary or text) instead of the default palette");
    cmd->add_option("--quality", r->quality, "JPG quality, 1 to 100 (default 90)")->check(CLI::Range(1, 100));
    which->add_option("--collage", r->collage, "The collage of an area of WxH pixels, as one picture");
    which->add_flag("--block", r->block, "A grid of icons (--first, --count, --rows, [--cols], [--cell WxH], [--lines])");
    which->add_flag("--all-entries", r->allEntries, "Every icon of every entry of an archive, into the folder -o");
    // A PNG sheet's --cell needs no other choice.
    which->require_option(0, 1);
    cmd->add_option("--entry", r->entry, "Entry of the archive FILE to export from (a real entry before a fake)");
    cmd->add_option("--first", r->first, "First icon of a collage or block, from 1 (default 1)");
    cmd->add_option("--count", r->count, "Icons in a block");
    cmd->add_option("--rows", r->rows, "Rows of a block");
    cmd->add_option("--cols", r->cols, "Columns of a block (default: as many as the rows need)");
    cmd->add_option("--cell", r->cell, "Block cell size WxH (default: the largest icon); for a PNG sheet a cell 1-9");
    cmd->add_flag("--lines", r->lines, "Grid lines between the cells of a block");
    cmd->callback([&ctx, r] { ctx.exitCode = RunExport(*r, ctx.services.Get()) ? 0 : 1; });
}

namespace {

// ---- render ----

struct RenderArgs {
    std::string source;
    std::string entry;
    int icon = 1;
    int zoom = 1;
    bool mirror = false;
    bool collage = false;
    std::string area;
    std::string output;
};

bool RunRender(const RenderArgs& args, Services& services) {
    int width = 0, height = 0;
    RequireSize("--area", args.area, width, height);
    OpenedIcons icons;
    if (!OpenIcons(args.source, args.entry, icons, services)) return false;
    IconSource& source = *icons.source;
    source.Bitmap().SetMirror(args.mirror);
    // A picture is drawn whole whichever icon is asked for.
    if (!source.IsPicture() && !CheckIconNumber(source, args.icon, args.source, services.messages)) return false;
    BitmapCanvas canvas(width, height);
    const Rect area = Rect::OfSize(width, height);
    bool done = false;
    source.Select(args.icon);
    if (args.collage) source.DrawCollage(canvas, area, args.icon, done);
    else source.DrawIcon(canvas, area, args.zoom);
    return canvas.Surface().Save(args.output, services.messages);
}

// ---- check ----

struct CheckArgs {
    std::string archive;
    bool json = false;
};

Json CheckJson(const CheckArgs& args, const CheckResult& result) {
    Json json = {{"archive", JsonText(args.archive)}, {"entries", result.entries}, {"icons", result.icons}};
    Json& problems = json["problems"] = Json::array();
    for (const CheckProblem& p : result.problems)
        problems.push_back({{"entry", JsonText(p.entry)}, {"icon", p.icon}, {"reason", JsonText(p.reason)}});
    return json;
}

std::string CheckText(const CheckResult& result) {
    std::string text;
    for (const CheckProblem& p : result.problems) {
        // A problem of the whole entry names it; one of an icon names the icon.
        if (p.icon > 0) text += Format("%s: %s\n", p.entry.c_str(), p.reason.c_str());
        else text += Format("%s\n", p.reason.c_str());
    }
    return text + Format("%d entries checked, %d icons decoded, %d problem%s\n", result.entries, result.icons,
                         int(result.problems.size()), result.problems.size() == 1 ? "" : "s");
}

bool RunCheck(const CheckArgs& args, Services& services) {
    // The picture loader reports every PNG it cannot decode; here that belongs in the report instead.
    CollectingMessages quiet;
    Services checking{quiet, services.settings, services.shell, services.files, services.progress};
    CDatFile dat(checking);
    const bool loaded = dat.LoadForReading(args.archive, false);
    for (const auto& entry : quiet.Entries()) {
        if (entry.kind == CollectingMessages::Kind::Error) services.messages.Error(entry.text);
        else services.messages.Notice(entry.text);
    }
    if (!loaded) return false;
    quiet.Clear();
    const CheckResult result = ArchiveCheck::Run(dat);
    if (args.json) PrintJson(CheckJson(args, result));
    else Print(CheckText(result));
    return result.problems.empty();
}

void Add(CLI::App& app, CliContext& ctx) {
    auto render = std::make_shared<RenderArgs>();
    auto* renderCmd = app.add_subcommand("render", "Draw an icon or a collage as a view shows it, into a picture");
    renderCmd->add_option("SOURCE", render->source, "SHP, S16 or PNG file, or an archive with --entry")->required();
    renderCmd->add_option("--entry", render->entry, "Entry of the archive SOURCE");
    renderCmd->add_option("--icon", render->icon, "Icon number from 1 (the first icon of a collage); default 1");
    renderCmd->add_option("--zoom", render->zoom, "Zoom 1 to 5 (default 1)")->check(CLI::Range(1, 5));
    renderCmd->add_flag("--mirror", render->mirror, "Mirrored left to right");
    renderCmd->add_flag("--collage", render->collage, "A collage of the icons from --icon on");
    renderCmd->add_option("--area", render->area, "The view's area, WxH pixels")->required();
    renderCmd->add_option("-o,--output", render->output, "Picture to write (.png, .bmp or .jpg)")->required();
    renderCmd->callback([&ctx, render] { ctx.exitCode = RunRender(*render, ctx.services.Get()) ? 0 : 1; });

    auto check = std::make_shared<CheckArgs>();
    auto* checkCmd = app.add_subcommand("check", "Decode every icon of an archive and name what cannot be read");
    checkCmd->add_option("ARCHIVE", check->archive, "Archive file")->required();
    checkCmd->add_flag("--json", check->json, "One JSON object instead of lines");
    checkCmd->callback([&ctx, check] { ctx.exitCode = RunCheck(*check, ctx.services.Get()) ? 0 : 1; });
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
