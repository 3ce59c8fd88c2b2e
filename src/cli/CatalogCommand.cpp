// catalog: the view icon of every unit file of an archive or a folder, drawn into numbered pictures.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "archive/CDatFile.h"
#include "cli/CliRegistry.h"
#include "tools/CShpCatLogic.h"
#include "tools/CatalogFileReader.h"
#include "ui/AppSettings.h"
#include "base/Format.h"
#include "base/TextCase.h"

namespace pixmond::cli {
namespace {

struct CatalogArgs {
    std::string input;
    std::string output;
    int viewIcon = 4;
    int columns = 10;
    int rows = 60;
    std::string box = "90x60";
    bool noNames = false;
    bool namesInLog = false;
    std::string type;
    std::string name;
};

// "WxH" with W at least 90 and H at least 50; sizes past 1000 hold nothing more.
std::string CheckBox(const std::string& text) {
    int width = 0, height = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &tail) != 2)
        return "expected WIDTHxHEIGHT, for example 90x60";
    if (width < CShpCatLogic::kMinBoxX || height < CShpCatLogic::kMinBoxY || width > 1000 || height > 1000)
        return "the icon box is at least 90x50 and at most 1000x1000";
    return "";
}

int TypeIndex(const std::string& type, Settings& settings) {
    const std::string t = ToLower(type);
    if (t == "bmp") return 0;
    if (t == "png") return 1;
    if (t == "jpg") return 2;
    return AppSettings(settings).OutputImage();
}

void ApplyChoices(const CatalogArgs& args, Services& services, CatalogSettings& s) {
    s.viewIcon = args.viewIcon;
    s.columns = args.columns;
    s.rows = args.rows;
    std::sscanf(args.box.c_str(), "%dx%d", &s.boxX, &s.boxY);
    s.includeName = !args.noNames;
    s.namesInLog = args.namesInLog;
    s.fileType = TypeIndex(args.type, services.settings);
    s.outputFolder = args.output;
}

bool RunCatalog(const CatalogArgs& args, ConsoleServices& console) {
    Services& services = console.Get();
    std::error_code ec;
    const bool folder = std::filesystem::is_directory(args.input, ec);
    if (!folder && !std::filesystem::is_regular_file(args.input, ec)) {
        services.messages.Error(Format("%s not found", args.input.c_str()));
        return false;
    }
    CDatFile dat(services);
    std::vector<CatalogIcon> candidates;
    std::unique_ptr<CatalogFileReader> reader;
    int rows = 0;
    if (folder) {
        std::vector<std::string> names;
        for (const FileEntry& entry : services.files.List(args.input, "*")) names.push_back(entry.name);
        rows = int(names.size());
        candidates = CShpCatLogic::FolderCandidates(names);
        reader = std::make_unique<CatalogFileReader>(args.input);
    } else {
        if (!dat.LoadForReading(args.input, true)) return false;
        std::vector<int> list(size_t(dat.Total()));
        for (int i = 0; i < dat.Total(); ++i) list[size_t(i)] = i;
        rows = dat.Total();
        candidates = CShpCatLogic::ArchiveCandidates(dat, list);
        reader = std::make_unique<CatalogFileReader>(dat);
    }

    CShpCatLogic catalog(services, console.text);
    ApplyChoices(args, services, catalog.Settings());
    if (!catalog.Start(folder ? CatalogSource::Folder : CatalogSource::Archive, args.input, rows)) return false;
    if (!args.name.empty()) {
        catalog.Settings().catalogName = args.name;
        catalog.NameLog();
    }
    catalog.Collect(candidates, *reader);
    Print(Format("%s\n%d icons fit the %d x %d box, %d are big, %d files could not be read\n",
                 catalog.InputLabel().c_str(), int(catalog.Fitting().size()), catalog.Settings().boxX,
                 catalog.Settings().boxY, int(catalog.Big().size()), int(catalog.Unreadable().size())));
    Print(catalog.Estimate() + "\n");
    if (catalog.FilesNeeded() < 1) {
        services.messages.Error("No icons found");
        return false;
    }
    const int written = catalog.Go(*reader);
    for (const std::string& path : catalog.Written()) Print(path + "\n");
    if (written < 1) {
        services.messages.Error(Format("No catalog picture was written; see %s", catalog.LogName().c_str()));
        return false;
    }
    return true;
}

void Add(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand("catalog", "Draw one icon of every unit file into numbered catalog pictures");
    auto args = std::make_shared<CatalogArgs>();
    cmd->add_option("INPUT", args->input, "Archive (.dat) or folder of SHP, S16 and PNG files")->required();
    cmd->add_option("-o,--output", args->output, "Folder for the pictures and the log (created when missing)")
        ->required();
    cmd->add_option("--view-icon", args->viewIcon, "Which of the nine icons to show, 1 to 9")
        ->check(CLI::Range(1, 9))
        ->capture_default_str();
    cmd->add_option("--columns", args->columns, "Icons per row, 8 to 20")
        ->check(CLI::Range(CShpCatLogic::kMinColumns, CShpCatLogic::kMaxColumns))
        ->capture_default_str();
    cmd->add_option("--rows", args->rows, "Rows per picture, 20 to 150 in steps of 10")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                int n = 0;
                char tail = 0;
                using Catalog = CShpCatLogic;
                if (std::sscanf(text.c_str(), "%d%c", &n, &tail) != 1 || n < Catalog::kMinRows ||
                    n > Catalog::kMaxRows || (n - Catalog::kMinRows) % Catalog::kRowStep != 0)
                    return "rows are 20, 30, ... 150";
                return "";
            },
            "20..150 step 10"))
        ->capture_default_str();
    cmd->add_option("--box", args->box, "Icon box WIDTHxHEIGHT, at least 90x50")
        ->check(CLI::Validator([](std::string& text) { return CheckBox(text); }, "WxH"))
        ->capture_default_str();
    cmd->add_flag("--no-names", args->noNames, "Leave the names out from under the icons");
    cmd->add_flag("--names-in-log", args->namesInLog, "List every icon in the log");
    cmd->add_option("--type", args->type, "Picture type (default: the \"Output image\" setting)")
        ->check(CLI::IsMember({"bmp", "png", "jpg"}, CLI::ignore_case));
    cmd->add_option("--name", args->name, "Catalog name (default: ARCHIVE_Catalog or FolderCatalog)");
    cmd->callback([&ctx, args] { ctx.exitCode = RunCatalog(*args, ctx.services) ? 0 : 1; });
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
