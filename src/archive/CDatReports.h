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
// without their fake entries. The caller picks the files and makes the choices; the questions below are how the
// window asks for them, and the command line answers them from its flags.
class CDatReports {
public:
    CDatReports(CDatFile& dat, Services& services) : dat_(dat), services_(services) {}

    // Asked for withFakes of the item list and of the difference, when the open archive has a fake-entry file.
    static constexpr const char* kListFakesQuestion = "Do you want to add fake icons to list ?";
    static constexpr const char* kDiffFakesQuestion = "Do you want to add fake icons to current datfile ?";
    // Asked for onlyDifferences.
    static constexpr const char* kOnlyDifferencesQuestion =
        "\n Do you want to include ONLY items \n not included on both files ? \n";

    // The open archive has a fake-entry (.keep) file beside it, whatever its case: only then is there a choice.
    bool HasFakeFile() const;
    // The second archive can be compared with: false, with an error, when it cannot be read.
    bool CanCompareWith(const std::filesystem::path& other) const;
    // The questions to answer Yes before a compatibility report goes on: one for each of the two archives that
    // has no fake entries, the second archive first.
    std::vector<std::string> CompatibilityQuestions(const std::filesystem::path& other) const;

    bool ReportItems(const std::filesystem::path& reportPath, bool withIcons, bool withFakes);
    // withFakes: the fake entries of the open archive are compared too; onlyDifferences: entries found in both
    // are counted but not listed.
    bool DiffReport(const std::filesystem::path& other, const std::filesystem::path& reportPath, bool withFakes,
                    bool onlyDifferences);
    // An archive without fake entries is compared by its real entries.
    bool CompatibilityReport(const std::filesystem::path& other, const std::filesystem::path& reportPath);

    // Both comparisons start only from an entry that shows icons.
    static bool CheckIconsToCompare(int currentIcons, Messages& messages);
    // The names the comparison pickers propose (the item reports' names are proposed with the other commands').
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
