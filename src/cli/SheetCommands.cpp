#include <memory>
#include <string>

#include "archive/CDatFile.h"
#include "browser/DatListModel.h"
#include "cli/CliRegistry.h"
#include "tools/SheetExporter.h"
#include "tools/SheetImporter.h"

namespace pixmond::cli {
namespace {

struct ExportArgs {
    std::string archive;
    SheetExportOptions options;
};

bool RunExport(const ExportArgs& args, ConsoleServices& console) {
    CDatFile dat(console.Get());
    if (!dat.LoadForReading(args.archive, false)) return false;
    SheetExportResult result;
    const bool ok = SheetExporter(dat, console.Get()).Export(args.options, result);
    for (const std::string& line : result.skipped) console.messages.Error("skipped " + line);
    if (ok || result.Sheets() > 0) Print(result.Summary(args.options.folder) + "\n");
    return ok;
}

struct ImportArgs {
    std::string archive;
    SheetImportOptions options;
};

bool RunImport(const ImportArgs& args, ConsoleServices& console) {
    CDatFile dat(console.Get());
    const bool inPlace = args.options.output.empty() && !args.options.dryRun;
    if (!dat.Load(args.archive, false, inPlace ? CDatFile::Access::ReadWrite : CDatFile::Access::ReadOnly))
        return false;
    SheetImportReport report;
    const bool ok = SheetImporter(dat, console.Get()).Import(args.options, report);
    for (const std::string& line : report.Lines()) Print(line + "\n");
    if (!ok && report.Count(SheetImportEntry::State::Bad) > 0 && !args.options.forcePartial) {
        console.messages.Error("Mend the sheets named above, or give --force-partial to import the sound ones only.");
        return false;
    }
    if (ok) Print(report.Summary() + "\n");
    return ok;
}

void Add(CLI::App& app, CliContext& ctx) {
    auto* sheets =
        app.add_subcommand("sheets", "Edit icons in any image editor: export them as sheets, import the edits");
    sheets->require_subcommand(1);

    auto* exportCmd = sheets->add_subcommand(
        "export", "Write every SHP entry as an editable PNG sheet (PNG entries as they are, S16 entries to look at)");
    auto exportArgs = std::make_shared<ExportArgs>();
    exportCmd->add_option("ARCHIVE", exportArgs->archive, "Archive file (.dat)")->required();
    exportCmd->add_option("DIR", exportArgs->options.folder, "Folder for the sheets (created when missing)")
        ->required();
    exportCmd->add_option("--name", exportArgs->options.nameFilter,
                          "Names containing TEXT; ^TEXT: names beginning with it");
    exportCmd
        ->add_option("--mode", exportArgs->options.listMode,
                     "List mode of the browser: 0 all, 1 unit icons (9), 2 interface files, 3 SHP, 4 S16, 5 PNG")
        ->check(CLI::Range(0, DatListModel::kListModeCount - 1));
    exportCmd->add_option("--palette", exportArgs->options.paletteFile,
                          "Palette file (binary or text) for the sheets' colours; the default palette otherwise");
    exportCmd->add_flag("--force", exportArgs->options.force, "Write over sheets edited since the last export");
    exportCmd->callback([&ctx, exportArgs] { ctx.exitCode = RunExport(*exportArgs, ctx.services) ? 0 : 1; });

    auto* importCmd = sheets->add_subcommand(
        "import", "Bring edited sheets back: changed icons are encoded again, everything else stays as it was");
    auto importArgs = std::make_shared<ImportArgs>();
    importCmd->add_option("DIR", importArgs->options.folder, "Folder of the exported sheets")->required();
    importCmd->add_option("ARCHIVE", importArgs->archive, "The archive they were exported from")->required();
    importCmd->add_option("-o,--output", importArgs->options.output,
                          "Write the result to this archive; without it the archive is rewritten and the former one "
                          "kept as NAME_back.dat");
    importCmd->add_flag("--dry-run", importArgs->options.dryRun, "Only report what would change");
    importCmd->add_flag("--force-partial", importArgs->options.forcePartial,
                        "Import the sound sheets even when others are bad");
    importCmd->callback([&ctx, importArgs] { ctx.exitCode = RunImport(*importArgs, ctx.services) ? 0 : 1; });
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
