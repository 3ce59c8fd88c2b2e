#pragma once
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "archive/CDatFile.h"
#include "archive/CFakefile.h"
#include "ui/Services.h"

namespace pixmond {

class SafeFile;

// The text reports on the open archive: its entry list, and its comparison with a second archive with or
// without their fake entries. The caller picks the files; the questions go through the message service, so
// the window and the command line share every line of it.
class CDatReports {
public:
    CDatReports(CDatFile& dat, Services& services) : dat_(dat), services_(services) {}

    bool ReportItems(const std::filesystem::path& reportPath, bool withIcons);
    bool DiffReport(const std::filesystem::path& other, const std::filesystem::path& reportPath);
    bool CompatibilityReport(const std::filesystem::path& other, const std::filesystem::path& reportPath);

    // Both comparisons start only from an entry that shows icons.
    static bool CheckIconsToCompare(int currentIcons, Messages& messages);
    // The names the report pickers propose.
    static std::filesystem::path ProposedItemsReport(const std::string& archive, bool withIcons);
    static std::filesystem::path ProposedDiffReport(const std::string& archive, const std::string& other);
    static std::filesystem::path ProposedCompatibilityReport(const std::string& archive, const std::string& other);

    // A second archive read by its directory only: the titles of its entries and how many it lists.
    struct Directory {
        std::vector<std::string> titles;  // upper case, in directory order
        int count = 0;
    };
    static std::optional<Directory> ReadDirectory(const std::filesystem::path& archive);

    // One name of a dat+keep set: a real entry, or a fake one with the icon it stands for.
    struct CStrCmpNode {
        std::string title;
        std::string real;
        bool fake = false;
    };
    using CmpMap = std::map<std::string, CStrCmpNode>;

private:
    // The ".keep" beside an archive, whatever its case; Count() is 0 when there is none.
    bool LoadFakes(const std::string& archive, CFakefile& fakes) const;
    std::optional<Directory> ReadOther(const std::filesystem::path& other) const;
    bool Finish(SafeFile& file, const std::string& text, const std::filesystem::path& path);
    bool OpenReport(SafeFile& file, const std::filesystem::path& path);

    CDatFile& dat_;
    Services& services_;
};

}  // namespace pixmond
