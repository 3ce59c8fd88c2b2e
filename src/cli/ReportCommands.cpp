#include <memory>
#include <string>

#include "archive/CDatFile.h"
#include "archive/CDatReports.h"
#include "cli/CliRegistry.h"
#include "base/Format.h"

namespace pixmond::cli {
namespace {

struct ReportOpts {
    std::string archive;
    std::string other;
    std::string out;
    bool icons = false;
    bool fakes = false;
    bool onlyDifferences = false;
    bool yes = false;
};

enum class Kind { Items, Diff, Compat };

// The flags answer the questions the window asks; a question is shown with its answer only where the window
// would ask it.
bool RunReport(Kind kind, const ReportOpts& opts, ConsoleServices& console) {
    ConsoleMessages& messages = console.messages;
    CDatFile dat(console.Get());
    if (!dat.LoadForReading(opts.archive, true)) return false;
    CDatReports reports(dat, console.Get());
    switch (kind) {
        case Kind::Items: {
            const bool fakes = reports.HasFakeFile() && messages.Decided(CDatReports::kListFakesQuestion, opts.fakes);
            return reports.ReportItems(opts.out, opts.icons, fakes);
        }
        case Kind::Diff: {
            if (!reports.CanCompareWith(opts.other)) return false;
            const bool fakes = reports.HasFakeFile() && messages.Decided(CDatReports::kDiffFakesQuestion, opts.fakes);
            const bool only = messages.Decided(CDatReports::kOnlyDifferencesQuestion, opts.onlyDifferences);
            return reports.DiffReport(opts.other, opts.out, fakes, only);
        }
        case Kind::Compat: {
            if (!reports.CanCompareWith(opts.other)) return false;
            for (const std::string& question : reports.CompatibilityQuestions(opts.other)) {
                if (!messages.Decided(question, opts.yes)) {
                    // Declined for want of a .keep file: a command that fails says so on stderr.
                    messages.Error(Format("%s was not written; --yes compares without the missing fake icons",
                                          opts.out.c_str()));
                    return false;
                }
            }
            return reports.CompatibilityReport(opts.other, opts.out);
        }
    }
    return false;
}

CLI::App* AddReport(CLI::App* group, const char* name, const char* help, Kind kind, CliContext& ctx,
                    std::shared_ptr<ReportOpts> opts) {
    auto* cmd = group->add_subcommand(name, help);
    cmd->add_option("ARCHIVE", opts->archive, "Archive file (.dat); its .keep file gives the fake entries")->required();
    if (kind != Kind::Items) cmd->add_option("OTHER", opts->other, "Archive to compare with")->required();
    cmd->add_option("-o,--output", opts->out, "Report file to write")->required();
    cmd->callback([&ctx, opts, kind] { ctx.exitCode = RunReport(kind, *opts, ctx.services) ? 0 : 1; });
    return cmd;
}

void Add(CLI::App& app, CliContext& ctx) {
    auto* report = app.add_subcommand("report", "Write text reports on an archive and compare it with another");
    report->require_subcommand(1);

    auto items = std::make_shared<ReportOpts>();
    auto* cmd = AddReport(report, "items", "List the entries of an archive", Kind::Items, ctx, items);
    cmd->add_flag("--icons", items->icons, "Add each entry's icon count");
    cmd->add_flag("--fakes", items->fakes, "Add the fake entries of the .keep file");

    auto diff = std::make_shared<ReportOpts>();
    cmd = AddReport(report, "diff", "Report the entries one archive has and the other lacks", Kind::Diff, ctx, diff);
    cmd->add_flag("--fakes", diff->fakes, "Compare the fake entries of ARCHIVE's .keep file as well");
    cmd->add_flag("--only-differences", diff->onlyDifferences, "Leave out the entries found in both");

    auto compat = std::make_shared<ReportOpts>();
    cmd = AddReport(report, "compat", "Check two archives with their .keep files against each other", Kind::Compat,
                    ctx, compat);
    cmd->add_flag("-y,--yes", compat->yes, "Go on when an archive has no .keep file");
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
