#pragma once
#include <string>

namespace pixmond {

class CDatViewModel;
class Pickers;

// The archive browser's text reports and its round trip through editable sheets. The questions the reports
// depend on are asked here and handed to the archive's reports as their choices; every report opens through the
// shell once written.
class DatReportCommands {
public:
    DatReportCommands(CDatViewModel& view, Pickers& pickers) : view_(view), pickers_(pickers) {}

    // "Report items and #icons" (withIcons) and "Report Items only".
    void ReportItems(bool withIcons);
    // The difference report against a second archive, and the check of two archive-plus-fakes sets; both end
    // with the current entry selected again.
    void CompareReport();
    void CompatibilityReport();

    // Every entry of the archive into a folder as pictures an image editor opens, with their manifest.
    void ExportSheets();
    // The edited sheets of a folder back into the archive, which is written once and shown at the same row.
    void ImportSheets();

    // Enabling: the item reports want an entry, the comparisons and the export a real one.
    bool ReportsEnabled() const;
    bool CompareEnabled() const;
    bool ImportEnabled() const;

    static constexpr const char* kReportTitle = "Select file to report";
    static constexpr const char* kReportFilter = "Text files |*.txt";
    static constexpr const char* kPartialQuestion =
        "Some sheets cannot be imported (see above).\nImport the other sheets and leave those entries as they are?";

private:
    // The report file, its folder made when the picker proposed one that is not there yet; "" on cancel.
    std::string PickReport(const std::string& proposed);
    // The second archive of a comparison; "" on cancel or when it cannot be read.
    std::string PickOther();
    std::string SheetsStart() const;
    // The icons of the entry the browser shows; 0 when it shows none.
    int CurrentIcons() const;

    CDatViewModel& view_;
    Pickers& pickers_;
    std::string sheetsFolder_;  // the folder of the last export or import
};

}  // namespace pixmond
