#include "browser/DatReportCommands.h"

#include <filesystem>

#include "archive/CDatFile.h"
#include "archive/CDatReports.h"
#include "base/PathParts.h"
#include "browser/CDatViewModel.h"
#include "browser/DatArchiveCommands.h"
#include "tools/ProposedNames.h"
#include "tools/SheetExporter.h"
#include "tools/SheetImporter.h"
#include "ui/Pickers.h"

namespace pixmond {

bool DatReportCommands::ReportsEnabled() const { return view_.Dat().Total() >= 1; }

bool DatReportCommands::CompareEnabled() const { return view_.Dat().RealCount() >= 1; }

bool DatReportCommands::ImportEnabled() const { return view_.Dat().RealCount() >= 1 && view_.Dat().ArchiveOpen(); }

int DatReportCommands::CurrentIcons() const {
    // An entry that could not be made current (not loadable, no icon file) leaves the count of the one before.
    const CDatFile& dat = view_.Dat();
    return view_.HasCurrentEntry() && dat.HasCurrentEntry() && dat.Current() == view_.CurrentEntry()
               ? dat.CurrentIcons()
               : 0;
}

std::string DatReportCommands::PickReport(const std::string& proposed) {
    const std::string path = pickers_.PickFile(proposed, kReportTitle, kReportFilter, ".txt", false);
    if (path.empty()) return path;
    // The comparisons propose a folder of reports beside the archive; it is made when first written into.
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return path;
}

void DatReportCommands::ReportItems(bool withIcons) {
    CDatFile& dat = view_.Dat();
    if (!ReportsEnabled()) return;
    const std::string path =
        PickReport(ProposeName(withIcons ? ProposedName::ItemsReport : ProposedName::ItemsOnlyReport, "", dat.Path()));
    if (path.empty()) return;
    CDatReports reports(dat, dat.GetServices());
    const bool fakes = reports.HasFakeFile() && dat.GetServices().messages.Question(CDatReports::kListFakesQuestion);
    reports.ReportItems(path, withIcons, fakes);
}

std::string DatReportCommands::PickOther() {
    CDatFile& dat = view_.Dat();
    const std::string other = pickers_.PickFile(PathParts::Of(dat.Path()).folder + "*.dat",
                                                "Select DAT file to compare", DatArchiveCommands::kDatFilter, ".dat",
                                                true);
    if (other.empty() || !CDatReports(dat, dat.GetServices()).CanCompareWith(other)) return {};
    return other;
}

void DatReportCommands::CompareReport() {
    CDatFile& dat = view_.Dat();
    Messages& messages = dat.GetServices().messages;
    if (!CompareEnabled() || !CDatReports::CheckIconsToCompare(CurrentIcons(), messages)) return;
    const std::string other = PickOther();
    if (other.empty()) return;
    const std::string path = PickReport(CDatReports::ProposedDiffReport(dat.Path(), other).string());
    if (path.empty()) return;
    CDatReports reports(dat, dat.GetServices());
    const bool fakes = reports.HasFakeFile() && messages.Question(CDatReports::kDiffFakesQuestion);
    const bool onlyDifferences = messages.Question(CDatReports::kOnlyDifferencesQuestion);
    reports.DiffReport(other, path, fakes, onlyDifferences);
    view_.SelectEntry();
}

void DatReportCommands::CompatibilityReport() {
    CDatFile& dat = view_.Dat();
    Messages& messages = dat.GetServices().messages;
    if (!CompareEnabled() || !CDatReports::CheckIconsToCompare(CurrentIcons(), messages)) return;
    const std::string other = PickOther();
    if (other.empty()) return;
    CDatReports reports(dat, dat.GetServices());
    for (const std::string& question : reports.CompatibilityQuestions(other))
        if (!messages.Question(question)) return;
    const std::string path = PickReport(CDatReports::ProposedCompatibilityReport(dat.Path(), other).string());
    if (path.empty()) return;
    reports.CompatibilityReport(other, path);
    view_.SelectEntry();
}

std::string DatReportCommands::SheetsStart() const {
    return sheetsFolder_.empty() ? PathParts::Of(view_.Dat().Path()).folder : sheetsFolder_;
}

void DatReportCommands::ExportSheets() {
    CDatFile& dat = view_.Dat();
    if (!CompareEnabled() || !dat.File()) return;
    const std::string folder = pickers_.PickFolder(SheetsStart(), "Select folder for the icon sheets");
    if (folder.empty()) return;
    sheetsFolder_ = folder;
    SheetExportOptions options;
    options.folder = folder;
    options.overwriteHint = "export into another folder";
    SheetExportResult result;
    const bool exported = SheetExporter(dat, dat.GetServices()).Export(options, result);
    if (!exported && result.Sheets() == 0) return;
    std::string text = result.Summary(folder);
    for (const std::string& line : result.skipped) text += "\nskipped " + line;
    dat.GetServices().messages.Notice(text);
}

void DatReportCommands::ImportSheets() {
    CDatFile& dat = view_.Dat();
    if (!ImportEnabled()) return;
    const std::string folder = pickers_.PickFolder(SheetsStart(), "Select folder of the edited icon sheets");
    if (folder.empty()) return;
    sheetsFolder_ = folder;
    Messages& messages = dat.GetServices().messages;
    const int row = view_.ListSelection();
    SheetImportOptions options;
    options.folder = folder;
    SheetImportReport report;
    bool imported = SheetImporter(dat, dat.GetServices()).Import(options, report);
    // Each bad sheet has been named; the user may still bring in the sound ones.
    if (!imported && report.Count(SheetImportEntry::State::Bad) > 0 && messages.Question(kPartialQuestion)) {
        options.forcePartial = true;
        report = {};
        imported = SheetImporter(dat, dat.GetServices()).Import(options, report);
    }
    // A rewrite has loaded the archive again: its rows are decided afresh at the row the user was on.
    view_.RebuildList(row);
    if (!imported) return;
    std::string text;
    for (const std::string& line : report.Lines()) text += line + "\n";
    messages.Notice(text + report.Summary());
}

}  // namespace pixmond
