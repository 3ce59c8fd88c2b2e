// SHP editing and the SHP builders: shp remove/insert/append, shp-make, convert-folder, nation-pics,
// png-to-shp and crop-sheets. Each command hands its arguments to the core and reports the outcome.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliRegistry.h"
#include "image/CShpEditor.h"
#include "image/CShpFile.h"
#include "tools/CShpMakerLogic.h"
#include "tools/PngBatch.h"
#include "tools/ShpToBmpConverter.h"
#include "base/Format.h"
#include "ui/Pickers.h"
#include "base/TextCase.h"

namespace pixmond::cli {
namespace {

struct EditArgs {
    std::string file;
    std::string bmp;
    int icon = 0;
};

struct MakeArgs {
    std::vector<std::string> bitmaps;
    bool nineByOne = false;
    std::string output;
};

struct FolderArgs {
    std::string input;
    std::string output;
    std::string type;
};

struct PngArgs {
    std::vector<std::string> files;
    std::string output;
};

bool OpenForEdit(const std::string& path, CShpFile& shp, Messages& messages) {
    if (!shp.OpenFile(path, 1)) {
        messages.Error(Format("%s not found", path.c_str()));
        return false;
    }
    return true;
}

int IconsIn(const std::string& path) {
    CShpFile shp;
    return shp.OpenFile(path, 1) ? shp.IconCount() : 0;
}

bool RunRemove(const EditArgs& args, CliContext& ctx) {
    CShpFile shp;
    if (!OpenForEdit(args.file, shp, ctx.services.messages)) return false;
    if (!CShpEditor(ctx.services.Get()).RemoveIcon(shp, args.icon)) return false;
    ctx.services.messages.Notice(Format("%s: icon %d removed, %d icons left (former file kept as %s)",
                                        args.file.c_str(), args.icon, IconsIn(args.file),
                                        CShpEditor::BackupPath(args.file).c_str()));
    return true;
}

bool RunInsert(const EditArgs& args, CliContext& ctx) {
    CShpFile shp;
    if (!OpenForEdit(args.file, shp, ctx.services.messages)) return false;
    const int count = shp.IconCount();
    if (!CShpEditor(ctx.services.Get()).InsertBmp(shp, args.bmp, args.icon)) return false;
    ctx.services.messages.Notice(Format("%s: %s inserted as icon %d of %d (former file kept as %s)", args.file.c_str(),
                                        args.bmp.c_str(), args.icon > 0 ? args.icon : count + 1, count + 1,
                                        CShpEditor::BackupPath(args.file).c_str()));
    return true;
}

bool RunClones(const MakeArgs& args, CliContext& ctx) {
    CShpMakerLogic maker(ctx.services.Get());
    return maker.MakeClones(args.bitmaps) == int(args.bitmaps.size());
}

bool RunSheets(const MakeArgs& args, CliContext& ctx) {
    CShpMakerLogic maker(ctx.services.Get());
    return maker.MakeFromNineIconBitmaps(args.bitmaps, !args.nineByOne) == int(args.bitmaps.size());
}

bool RunList(const MakeArgs& args, CliContext& ctx) {
    CShpMakerLogic maker(ctx.services.Get());
    return maker.MakeFromBitmaps(args.output, args.bitmaps);
}

bool RunConvertFolder(const FolderArgs& args, CliContext& ctx) {
    Messages& messages = ctx.services.messages;
    if (!std::filesystem::is_directory(args.input)) {
        messages.Error(Format("%s is not a folder", args.input.c_str()));
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(args.output, ec);
    ShpToBmpConverter converter(ctx.services.Get());
    converter.Load();
    converter.inputFolder = WithTrailingSeparator(args.input);
    converter.outputFolder = WithTrailingSeparator(args.output);
    if (!args.type.empty()) converter.outputType = EqualIgnoringCase(args.type, "png") ? 1 : 0;
    const std::vector<std::string> files = converter.ListFiles();
    messages.Notice(ShpToBmpConverter::CountLine(int(files.size())));
    converter.Convert();
    return true;
}

bool RunNationPictures(const EditArgs& args, CliContext& ctx) {
    Messages& messages = ctx.services.messages;
    CShpFile shp;
    if (!OpenForEdit(args.file, shp, messages)) return false;
    if (!CShpEditor::IsNationPicturesCount(shp.IconCount())) {
        messages.Error(Format("cannot create, Shp file has %d icons, (neither 220, nor 129)", shp.IconCount()));
        return false;
    }
    if (!CShpEditor::IsNationPicturesName(args.file)) {
        messages.Error(Format("%s: the name holds neither \"dossier\" nor \"flag\"", args.file.c_str()));
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(args.bmp, ec);
    return CShpEditor(ctx.services.Get()).SaveNationPictures(shp, args.bmp);
}

bool RunPngToShp(const PngArgs& args, CliContext& ctx) {
    PngBatch batch("", args.files);
    if (!args.output.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(args.output, ec);
        batch.SetShpFolder(WithTrailingSeparator(args.output));
    }
    const int errors = ctx.services.messages.ErrorCount();
    const int converted = batch.ConvertToShp(ctx.services.messages);
    const int total = int(args.files.size());
    // The batch passes over files that are no pictures; a command that fails says so on stderr.
    if (converted < total && ctx.services.messages.ErrorCount() == errors)
        ctx.services.messages.Error(Format("%d of %d files are not readable PNG pictures", total - converted, total));
    return converted == total;
}

bool RunCropSheets(const PngArgs& args, CliContext& ctx) {
    PngBatch("", args.files).CropSheets(ctx.services.messages);
    return true;
}

void AddShp(CLI::App& app, CliContext& ctx) {
    auto* shp = app.add_subcommand("shp", "Edit an SHP file icon by icon (the former file is kept as TITLE.back)");
    shp->require_subcommand(1);

    auto remove = std::make_shared<EditArgs>();
    auto* removeCmd = shp->add_subcommand("remove", "Remove icon N");
    removeCmd->add_option("FILE", remove->file, "SHP file")->required();
    removeCmd->add_option("N", remove->icon, "Icon number, from 1")->required();
    removeCmd->callback([&ctx, remove] { ctx.exitCode = RunRemove(*remove, ctx) ? 0 : 1; });

    auto insert = std::make_shared<EditArgs>();
    auto* insertCmd = shp->add_subcommand("insert", "Insert a bitmap as icon N (N = count + 1 appends)");
    insertCmd->add_option("FILE", insert->file, "SHP file")->required();
    insertCmd->add_option("BMP", insert->bmp, "Bitmap (8-bit indices kept; other depths take the default palette)")
        ->required();
    insertCmd->add_option("N", insert->icon, "Position, from 1")->required()->check(CLI::PositiveNumber);
    insertCmd->callback([&ctx, insert] { ctx.exitCode = RunInsert(*insert, ctx) ? 0 : 1; });

    auto append = std::make_shared<EditArgs>();
    auto* appendCmd = shp->add_subcommand("append", "Append a bitmap as the last icon");
    appendCmd->add_option("FILE", append->file, "SHP file")->required();
    appendCmd->add_option("BMP", append->bmp, "Bitmap")->required();
    appendCmd->callback([&ctx, append] { ctx.exitCode = RunInsert(*append, ctx) ? 0 : 1; });
}

void AddMake(CLI::App& app, CliContext& ctx) {
    auto* make = app.add_subcommand("shp-make", "Build SHP files from bitmaps");
    make->require_subcommand(1);

    auto clones = std::make_shared<MakeArgs>();
    auto* clonesCmd = make->add_subcommand("clones", "For each bitmap, an SHP beside it with 9 copies of it");
    clonesCmd->add_option("BMP", clones->bitmaps, "Bitmaps")->required();
    clonesCmd->callback([&ctx, clones] { ctx.exitCode = RunClones(*clones, ctx) ? 0 : 1; });

    auto sheet = std::make_shared<MakeArgs>();
    auto* sheetCmd = make->add_subcommand("sheet", "For each bitmap of 9 icons (3 x 3), an SHP beside it");
    sheetCmd->add_option("BMP", sheet->bitmaps, "Bitmaps")->required();
    sheetCmd->add_flag("--9x1", sheet->nineByOne, "The icons are side by side in one row");
    sheetCmd->callback([&ctx, sheet] { ctx.exitCode = RunSheets(*sheet, ctx) ? 0 : 1; });

    auto list = std::make_shared<MakeArgs>();
    auto* listCmd = make->add_subcommand("list", "One SHP with an icon per bitmap, in order");
    listCmd->add_option("BMP", list->bitmaps, "Bitmaps")->required();
    listCmd->add_option("-o,--output", list->output, "SHP file to write")->required();
    listCmd->callback([&ctx, list] { ctx.exitCode = RunList(*list, ctx) ? 0 : 1; });
}

void AddBatches(CLI::App& app, CliContext& ctx) {
    auto folder = std::make_shared<FolderArgs>();
    auto* convertCmd =
        app.add_subcommand("convert-folder", "Write each 9-icon SHP and S16 file of a folder as one 3 x 3 picture");
    convertCmd->add_option("IN_DIR", folder->input, "Folder of SHP and S16 files")->required();
    convertCmd->add_option("OUT_DIR", folder->output, "Folder for the pictures")->required();
    convertCmd->add_option("--type", folder->type, "Picture type (default: the \"Output image\" setting)")
        ->check(CLI::IsMember({"bmp", "png"}, CLI::ignore_case));
    convertCmd->callback([&ctx, folder] { ctx.exitCode = RunConvertFolder(*folder, ctx) ? 0 : 1; });

    auto nation = std::make_shared<EditArgs>();
    auto* nationCmd = app.add_subcommand("nation-pics", "Split a flag or dossier SHP file (220 or 129 icons) into pictures");
    nationCmd->add_option("SHP", nation->file, "SHP file")->required();
    nationCmd->add_option("DIR", nation->bmp, "Folder for the pictures")->required();
    nationCmd->callback([&ctx, nation] { ctx.exitCode = RunNationPictures(*nation, ctx) ? 0 : 1; });

    auto png = std::make_shared<PngArgs>();
    auto* pngCmd = app.add_subcommand("png-to-shp", "Convert PNG files to SHP (3 x 3 sheets give 9 icons)");
    pngCmd->add_option("PNG", png->files, "PNG files")->required();
    pngCmd->add_option("-o,--output", png->output, "Folder for the SHP files (default: beside each PNG)");
    pngCmd->callback([&ctx, png] { ctx.exitCode = RunPngToShp(*png, ctx) ? 0 : 1; });

    auto crop = std::make_shared<PngArgs>();
    auto* cropCmd = app.add_subcommand("crop-sheets", "Crop 3 x 3 PNG sheets to the size their icons need");
    cropCmd->add_option("PNG", crop->files, "PNG sheets; each is written beside it as TITLE_Cropped.png")->required();
    cropCmd->callback([&ctx, crop] { ctx.exitCode = RunCropSheets(*crop, ctx) ? 0 : 1; });
}

void Add(CLI::App& app, CliContext& ctx) {
    AddShp(app, ctx);
    AddMake(app, ctx);
    AddBatches(app, ctx);
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
