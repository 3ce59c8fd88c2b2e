// The image-set side of the command line: icons, collages and blocks of loose files and archive entries
// (`export`), what a view shows (`render`) and a decoding check of a whole archive (`check`).
#include "cli/ImageSetCommands.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "archive/ArchiveCheck.h"
#include "archive/CDatFile.h"
#include "cli/CliRegistry.h"
#include "cli/IconFileCommands.h"
#include "image/BitmapCanvas.h"
#include "image/CShp3.h"
#include "image/CShpFile.h"
#include "image/ImageSetColours.h"
#include "image/PaletteFile.h"
#include "image/PngReader.h"
#include "tools/BlockRequest.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/AppSettings.h"
#include "ui/CollectingMessages.h"
#include "ui/Services.h"
#include "base/TextCase.h"

namespace pixmond::cli {

namespace {

constexpr int kMaxArea = 16384;

// The icons one command works on: a loose SHP, S16 or PNG file, or one entry of an archive made current.
struct IconSource {
    std::unique_ptr<CDatFile> dat;  // set for archive entries
    CShpFile ownShp;
    CShp3 ownSet;
    CShpFile* shp = nullptr;  // exactly one of shp and set is set
    CShp3* set = nullptr;
    bool png = false;
    std::string title;  // names derived files

    int IconCount() const { return shp ? shp->IconCount() : png ? 0 : set->IconCount(); }
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

bool OpenEntry(const std::string& archive, const std::string& name, IconSource& source, Services& services) {
    Messages& messages = services.messages;
    source.dat = std::make_unique<CDatFile>(services);
    CDatFile& dat = *source.dat;
    if (!dat.LoadForReading(archive, true)) return false;
    const int index = FindEntry(dat, name);
    if (index < 0) {
        messages.Error(Format("%s has no entry %s", archive.c_str(), name.c_str()));
        return false;
    }
    const TDatItem& item = dat.Item(index);
    source.title = std::string(item.Title());
    const bool selected = dat.SelectEntry(index);
    switch (item.type) {
        case kTypeShp:
            source.shp = &dat.ShpReader();
            if (!selected) messages.Error(Format("%s: %s", name.c_str(), dat.ShpReader().Problem().c_str()));
            return selected;
        case kTypeS16:
            source.set = &dat.ImageSet();
            if (!selected) messages.Error(Format("%s: its S16 directory cannot be read, or it holds no icon", name.c_str()));
            return selected;
        case kTypePng:
            source.set = &dat.ImageSet();
            source.png = true;
            // The loader has already said why a picture did not decode.
            return dat.ImageSet().FromPng();
        default:
            messages.Error(Format("%s is not an icon entry (its data cannot be shown)", std::string(item.Name()).c_str()));
            return false;
    }
}

bool OpenLoose(const std::string& path, IconSource& source, Messages& messages) {
    source.title = PathParts::Of(path).title;
    if (IsPngPath(path)) {
        source.set = &source.ownSet;
        source.png = true;
        return source.ownSet.LoadPngPicture(path, messages) == kPngLoaded;
    }
    if (IsS16Path(path)) {
        source.set = &source.ownSet;
        if (!source.ownSet.OpenFile(path)) {
            messages.Error(Format("Cannot open %s", path.c_str()));
            return false;
        }
        if (source.ownSet.IconCount() == 0) {
            messages.Error(Format("%s: its S16 directory cannot be read, or it holds no icon", path.c_str()));
            return false;
        }
        return true;
    }
    if (ToLower(PathParts::Of(path).extension) == ".shp") {
        source.shp = &source.ownShp;
        if (!source.ownShp.OpenFile(path, 1)) {
            messages.Error(Format("%s not found", path.c_str()));
            return false;
        }
        if (source.ownShp.IconCount() == 0) {
            messages.Error(source.ownShp.Problem());
            return false;
        }
        return true;
    }
    messages.Error(Format("%s: not an icon file this command reads", path.c_str()));
    return false;
}

bool OpenSource(const std::string& file, const std::string& entry, IconSource& source, Services& services) {
    return entry.empty() ? OpenLoose(file, source, services.messages) : OpenEntry(file, entry, source, services);
}

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

bool SelectIconNumber(IconSource& source, int icon, const std::string& file, Messages& messages) {
    if (icon < 1 || icon > source.IconCount()) {
        messages.Error(Format("Icon %d is not in %s (icons 1..%d)", icon, file.c_str(), source.IconCount()));
        return false;
    }
    if (source.dat) source.dat->SelectIcon(icon);
    else if (source.shp) source.shp->SelectIcon(icon);
    else source.set->SelectIcon(icon);
    return true;
}

bool ExportSheetCell(IconSource& source, const ExportRequest& request, Services& services) {
    int cell = 0;
    char tail = 0;
    if (std::sscanf(request.cell.c_str(), "%d%c", &cell, &tail) != 1 || cell < 1 || cell > 9)
        throw CLI::ValidationError("--cell", "for a PNG sheet expects a cell number, 1 to 9");
    const CShp3& picture = *source.set;
    const bool sheet = CShp3::IsSheet(picture.Width(), picture.Height());
    CBmpDib target;
    target.Create(sheet ? picture.Width() / 3 : picture.Width(), sheet ? picture.Height() / 3 : picture.Height(), 24);
    if (!target.Allocate() || picture.CopyCellTo(0, 0, target, cell - 1) == 0) {
        services.messages.Error(Format("Cell %d cannot be taken from %s", cell, request.file.c_str()));
        return false;
    }
    return target.Save(PicturePath(request, services), services.messages, request.quality);
}

bool ExportAll(IconSource& source, const ExportRequest& request, Services& services) {
    if (source.png) {
        services.messages.Notice("Not implemented");
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(request.output, ec);
    const std::string base = (std::filesystem::path(request.output) / (source.title + ".x")).string();
    const int type = OutputTypeOf(request, services);
    const int failures = source.shp ? source.shp->SaveAllIcons(base, type, services.messages)
                                    : source.set->SaveAllIcons(base, type, services.messages);
    return failures == 0;
}

bool ExportCollage(IconSource& source, const ExportRequest& request, Services& services) {
    int width = 0, height = 0;
    RequireSize("--collage", request.collage, width, height);
    const std::string output = PicturePath(request, services);
    const Rect area = Rect::OfSize(width, height);
    if (source.dat) return source.dat->SaveCollage(output, area, request.first);
    if (source.shp) return source.shp->SaveCollage(output, area, request.first, services.messages);
    if (source.png) return source.set->SaveIcon(output, services.messages);
    return source.set->SaveCollage(output, area, request.first, false, services.messages);
}

bool ExportBlock(IconSource& source, const ExportRequest& request, Services& services) {
    if (source.png) {
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
        const auto sizes = source.shp ? BlockRequest::SizesOf(*source.shp) : BlockRequest::SizesOf(*source.set);
        for (int i = params.first; i < params.first + params.count && i < int(sizes.size()); ++i) {
            params.cellWidth = std::max(params.cellWidth, sizes[size_t(i)].width);
            params.cellHeight = std::max(params.cellHeight, sizes[size_t(i)].height);
        }
        if (params.cellWidth < 1 || params.cellHeight < 1) {
            services.messages.Error(Format("%s has no icon %d", request.file.c_str(), request.first));
            return false;
        }
    }
    return source.shp ? source.shp->SaveBlock(params, services.messages)
                      : source.set->SaveBlock(params, services.messages);
}

// Every icon of every real icon entry: SHP and S16 icons as TITLE_NNN, PNG entries whole as TITLE.
bool ExportAllEntries(const ExportRequest& request, Services& services) {
    CDatFile dat(services);
    if (!dat.LoadForReading(request.file, true)) return false;
    std::error_code ec;
    std::filesystem::create_directories(request.output, ec);
    // One notice per entry would bury the summary; errors still come through.
    CollectingMessages quiet;
    const int type = OutputTypeOf(request, services);
    int entries = 0, failures = 0;
    for (int i = 0; i < dat.Total(); ++i) {
        const TDatItem& item = dat.Item(i);
        if (item.fake || item.type == kTypeOther) continue;
        ++entries;
        const std::string title(item.Title());
        const std::string base = (std::filesystem::path(request.output) / title).string();
        if (!dat.SelectEntry(i)) {
            ++failures;
            services.messages.Error(Format("%s cannot be read", std::string(item.Name()).c_str()));
        } else if (item.type == kTypeShp) {
            failures += dat.ShpReader().SaveAllIcons(base + ".x", type, quiet);
        } else if (item.type == kTypeS16) {
            failures += dat.ImageSet().SaveAllIcons(base + ".x", type, quiet);
        } else if (!dat.SaveIcon(base + OutputImageExtension(type))) {
            ++failures;
        }
        for (const std::string& error : quiet.Errors())
            if (error.rfind("Error: ", 0) != 0) services.messages.Error(error);
        quiet.Clear();
    }
    if (failures == 0) services.messages.Notice(Format("%d entries written to %s", entries, request.output.c_str()));
    else services.messages.Error(Format("%d icons of %d entries were not written", failures, entries));
    return failures == 0;
}

bool ChoseSomething(const ExportRequest& r) {
    return r.icon != 0 || r.all || !r.collage.empty() || r.block || r.allEntries;
}

}  // namespace

void AddImageSetExportOptions(CLI::App& exportCmd, CLI::Option_group& which, ExportRequest& r) {
    which.add_option("--collage", r.collage, "The collage of an area of WxH pixels, as one picture");
    which.add_flag("--block", r.block, "A grid of icons (--first, --count, --rows, [--cols], [--cell WxH], [--lines])");
    which.add_flag("--all-entries", r.allEntries, "Every icon of every entry of an archive, into the folder -o");
    // A PNG sheet's --cell needs no other choice.
    which.require_option(0, 1);
    exportCmd.add_option("--entry", r.entry, "Entry of the archive FILE to export from (a real entry before a fake)");
    exportCmd.add_option("--first", r.first, "First icon of a collage or block, from 1 (default 1)");
    exportCmd.add_option("--count", r.count, "Icons in a block");
    exportCmd.add_option("--rows", r.rows, "Rows of a block");
    exportCmd.add_option("--cols", r.cols, "Columns of a block (default: as many as the rows need)");
    exportCmd.add_option("--cell", r.cell, "Block cell size WxH (default: the largest icon); for a PNG sheet a cell 1-9");
    exportCmd.add_flag("--lines", r.lines, "Grid lines between the cells of a block");
}

bool HandlesExport(const ExportRequest& r) {
    return !r.entry.empty() || !r.collage.empty() || r.block || r.allEntries || !ChoseSomething(r) ||
           (!r.cell.empty() && IsPngPath(r.file));
}

bool RunImageSetExport(const ExportRequest& request, Services& services) {
    Messages& messages = services.messages;
    if (request.allEntries) return ExportAllEntries(request, services);
    const bool sheetCell = !request.cell.empty() && !request.block;
    if (!ChoseSomething(request) && !sheetCell)
        throw CLI::RequiredError("One of --icon, --all, --collage, --block or --all-entries");
    IconSource source;
    if (!OpenSource(request.file, request.entry, source, services)) return false;
    if (!request.palette.empty() && source.shp && !ReadPalette(source.shp->Colours(), request.palette, messages))
        return false;
    if (!request.collage.empty()) return ExportCollage(source, request, services);
    if (request.block) return ExportBlock(source, request, services);
    if (request.all) return ExportAll(source, request, services);
    if (source.png) {
        // A PNG is one picture: --icon does not pick anything in it.
        if (sheetCell) return ExportSheetCell(source, request, services);
        return source.set->SaveIcon(PicturePath(request, services), messages);
    }
    if (!SelectIconNumber(source, request.icon, request.file, messages)) return false;
    const std::string output = PicturePath(request, services);
    return source.shp ? source.shp->SaveIcon(output, messages) : source.set->SaveIcon(output, messages);
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
    IconSource source;
    if (!OpenSource(args.source, args.entry, source, services)) return false;
    if (source.shp) source.shp->SetMirror(args.mirror);
    else source.set->SetMirror(args.mirror);
    if (!source.png && (args.icon < 1 || args.icon > source.IconCount())) {
        services.messages.Error(
            Format("Icon %d is not in %s (icons 1..%d)", args.icon, args.source.c_str(), source.IconCount()));
        return false;
    }
    BitmapCanvas canvas(width, height);
    const Rect area = Rect::OfSize(width, height);
    bool done = false;
    if (source.dat) {
        source.dat->SelectIcon(args.icon);
        if (args.collage) source.dat->DrawCollage(canvas, area, args.icon, done);
        else source.dat->DrawIcon(canvas, area, args.zoom);
    } else if (source.shp) {
        source.shp->SelectIcon(args.icon);
        if (args.collage) source.shp->DrawCollage(canvas, area, args.icon, done);
        else source.shp->DrawIcon(canvas, area, args.zoom);
    } else {
        source.set->SelectIcon(args.icon);
        if (args.collage && !source.png) source.set->DrawCollage(canvas, area, args.icon, done);
        else source.set->DrawIcon(canvas, area, args.collage ? 0 : args.zoom);
    }
    return canvas.Surface().Save(args.output, services.messages);
}

// ---- check ----

struct CheckArgs {
    std::string archive;
    bool json = false;
};

std::string CheckJson(const CheckArgs& args, const CheckResult& result) {
    std::string json = "{\"archive\":" + JsonString(args.archive) +
                       Format(",\"entries\":%d,\"icons\":%d,\"problems\":[", result.entries, result.icons);
    bool comma = false;
    for (const CheckProblem& p : result.problems) {
        json += Format("%s{\"entry\":%s,\"icon\":%d,\"reason\":%s}", comma ? "," : "", JsonString(p.entry).c_str(),
                       p.icon, JsonString(p.reason).c_str());
        comma = true;
    }
    return json + "]}\n";
}

std::string CheckText(const CheckResult& result) {
    std::string text;
    for (const CheckProblem& p : result.problems) {
        if (p.icon > 0) text += Format("%s icon %d: %s\n", p.entry.c_str(), p.icon, p.reason.c_str());
        else text += Format("%s: %s\n", p.entry.c_str(), p.reason.c_str());
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
    Print(args.json ? CheckJson(args, result) : CheckText(result));
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
