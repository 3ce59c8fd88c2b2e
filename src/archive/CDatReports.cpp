#include "archive/CDatReports.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "archive/DatDirectory.h"
#include "base/ReadOnlyFile.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "base/SafeFile.h"
#include "base/TextCase.h"
#include "ui/ShellRules.h"

namespace pixmond {

namespace {

std::string TitleOf(const std::string& path) { return PathParts::Of(path).title; }

std::string EntryTitle(std::string_view name) { return ToUpper(PathParts::Of(std::string(name)).title); }

// Lines of a miss list come out sorted and once each.
class SortedLines {
public:
    void Add(std::string line) { lines_.insert(std::move(line)); }
    int Count() const { return int(lines_.size()); }
    void AppendTo(std::string& out) const {
        for (const auto& line : lines_) out += line;
    }

private:
    std::set<std::string> lines_;
};

std::string SetHeading(const std::string& title, int reals, const CFakefile& fakes) {
    if (fakes.Count() > 0)
        return Format("*   %s (%d items: %d real, %d fake) \n", title.c_str(), reals + fakes.Count(), reals, fakes.Count());
    return Format("*   %s (%d items) \n", title.c_str(), reals);
}

// The keys of one dat+keep set missing from the other.
void ScanInto(const CDatReports::CmpMap& from, const CDatReports::CmpMap& into, const std::string& fromTitle,
              const std::string& intoTitle, std::string& out) {
    out += Format("\n* Scanning %s (dat+keep) into %s (dat+keep) ...\n", fromTitle.c_str(), intoTitle.c_str());
    SortedLines misses;
    for (const auto& [key, node] : from) {
        if (into.count(key)) continue;
        misses.Add(Format("%-7s (%s in %s) ... not in %s (dat+keep) \n", key.c_str(), node.fake ? "fake" : "real",
                          fromTitle.c_str(), intoTitle.c_str()));
    }
    misses.AppendTo(out);
    if (misses.Count() > 0) out += Format("------- %d icons not found in %s\n", misses.Count(), intoTitle.c_str());
}

// Fake lines whose replacement is itself a fake, or no real entry of their own archive.
void CheckKeep(const CFakefile& fakes, const CDatReports::CmpMap& reals, const std::string& title, std::string& out) {
    out += Format("\n* Checking %s.keep entries ...\n", title.c_str());
    SortedLines errors;
    for (const auto& [fake, node] : fakes) {
        const char* f = node.fake.c_str();
        const char* r = node.real.c_str();
        auto chained = fakes.Entries().find(node.real);
        if (chained != fakes.Entries().end()) {
            errors.Add(Format("%-7s;%s -> %s is both fake (%s;%s) and replacement in %s.keep \n", f, r, r,
                              chained->second.fake.c_str(), chained->second.real.c_str(), title.c_str()));
        }
        if (!reals.count(node.real)) {
            errors.Add(Format("%-7s;%s -> %s is not real in %s.dat \n", f, r, r, title.c_str()));
        }
    }
    errors.AppendTo(out);
    if (errors.Count() > 0) out += Format("------- %d fake icons have errors in %s\n", errors.Count(), title.c_str());
}

}  // namespace

bool CDatReports::CheckIconsToCompare(int currentIcons, Messages& messages) {
    if (currentIcons >= 1) return true;
    messages.Notice("There are no icons to compare");
    return false;
}

std::filesystem::path CDatReports::ProposedDiffReport(const std::string& archive, const std::string& other) {
    const PathParts parts = PathParts::Of(archive);
    return std::filesystem::path(parts.folder) / "OPENLOG" / (parts.title + "_" + TitleOf(other) + "_diff.txt");
}

std::filesystem::path CDatReports::ProposedCompatibilityReport(const std::string& archive, const std::string& other) {
    const PathParts parts = PathParts::Of(archive);
    return std::filesystem::path(parts.folder) / "OPENLOG" / (parts.title + "_" + TitleOf(other) + "_compare2.txt");
}

std::optional<CDatReports::Directory> CDatReports::ReadDirectory(const std::filesystem::path& archive) {
    const auto file = ReadOnlyFile::Open(archive);
    if (!file) return std::nullopt;
    const DatDirectory directory = DatDirectory::Read(*file);
    Directory dir;
    dir.count = int(std::min<size_t>(directory.Count(), 0x7fffffff));
    dir.titles.reserve(size_t(dir.count));
    for (size_t i = 0; i < size_t(dir.count); ++i) dir.titles.push_back(EntryTitle(directory.Name(i)));
    return dir;
}

std::optional<CDatReports::Directory> CDatReports::ReadOther(const std::filesystem::path& other) const {
    auto dir = services_.files.Exists(other) ? ReadDirectory(other) : std::nullopt;
    if (!dir) services_.messages.Error(Format("[%s] Not found", other.string().c_str()));
    return dir;
}

bool CDatReports::CanCompareWith(const std::filesystem::path& other) const { return ReadOther(other).has_value(); }

bool CDatReports::HasFakeFile() const {
    const PathParts parts = PathParts::Of(dat_.Path());
    return services_.files.FindIgnoringCase(parts.folder, parts.title + ".keep").has_value();
}

std::vector<std::string> CDatReports::CompatibilityQuestions(const std::filesystem::path& other) const {
    std::vector<std::string> questions;
    CFakefile fakes;
    if (!LoadFakes(other.string(), fakes)) {
        questions.push_back(Format("Do you want to continue without fake-icons for second datfile %s ?",
                                   TitleOf(other.string()).c_str()));
    }
    if (!LoadFakes(dat_.Path(), fakes)) {
        questions.push_back(Format("Do you want to continue without fake-icons for primary datfile %s ?",
                                   TitleOf(dat_.Path()).c_str()));
    }
    return questions;
}

bool CDatReports::LoadFakes(const std::string& archive, CFakefile& fakes) const {
    const PathParts parts = PathParts::Of(archive);
    const auto keep = services_.files.FindIgnoringCase(parts.folder, parts.title + ".keep");
    return keep && fakes.Load(*keep);
}

bool CDatReports::OpenReport(SafeFile& file, const std::filesystem::path& path) {
    if (!file.IsOpen()) {
        services_.messages.Error(Format("Error on creating [%s]", path.string().c_str()));
        return false;
    }
    return true;
}

bool CDatReports::Finish(SafeFile& file, const std::string& text, const std::filesystem::path& path) {
    if (!file.Write(text.data(), text.size()) || !file.Commit()) {
        services_.messages.Error(Format("Error on creating [%s]", path.string().c_str()));
        return false;
    }
    ShowFile(services_.shell, services_.messages, path);
    return true;
}

namespace {

// The proposed OPENLOG folder may not be there yet.
std::filesystem::path Prepared(const std::filesystem::path& path, FileSystem& files) {
    const auto folder = path.parent_path();
    if (!folder.empty() && !files.Exists(folder)) files.CreateFolder(folder);
    return path;
}

}  // namespace

bool CDatReports::ReportItems(const std::filesystem::path& reportPath, bool withIcons, bool withFakesWanted) {
    SafeFile file(Prepared(reportPath, services_.files));
    if (!OpenReport(file, reportPath)) return false;
    const std::string& path = dat_.Path();
    CFakefile fakes;
    const PathParts parts = PathParts::Of(path);
    if (withFakesWanted) LoadFakes(path, fakes);
    const bool withFakes = fakes.Count() > 0;
    const int reals = dat_.RealCount();

    std::string out = Format("*** %s.dat\n", parts.title.c_str());
    if (withFakes) out += Format("*** %d (%d real, %d fake) \n", reals + fakes.Count(), reals, fakes.Count());
    else out += Format("*** %d items\n", reals);
    out += "//////////////\n";
    for (const TDatItem& item : dat_.Items()) {
        const std::string name(item.Name());
        if (item.fake) {
            if (!withFakes) continue;
            const std::string real(item.RealName());
            out += withIcons ? Format("%-8s >> %-8s %d icons\n", name.c_str(), real.c_str(), int(item.icons))
                             : Format("%-8s >> %-8s\n", name.c_str(), real.c_str());
        } else {
            out += withIcons ? Format("%-16s %d icons\n", name.c_str(), int(item.icons)) : name + "\n";
        }
    }
    return Finish(file, out, reportPath);
}

bool CDatReports::DiffReport(const std::filesystem::path& other, const std::filesystem::path& reportPath,
                             bool withFakesWanted, bool onlyDifferences) {
    const auto dir = ReadOther(other);
    if (!dir) return false;
    // 0 not yet seen, 1 found in both, 2 reported missing.
    std::map<std::string, int> status;
    for (const auto& title : dir->titles) status.emplace(title, 0);

    SafeFile file(Prepared(reportPath, services_.files));
    if (!OpenReport(file, reportPath)) return false;

    const std::string& path = dat_.Path();
    const PathParts parts = PathParts::Of(path);
    CFakefile fakes;
    if (withFakesWanted) LoadFakes(path, fakes);
    const bool withFakes = fakes.Count() > 0;

    const std::string openTitle = parts.title;
    const std::string otherTitle = TitleOf(other.string());
    const char* ot = otherTitle.c_str();
    const int reals = dat_.RealCount();
    std::string out = "*** Comparing:\n";
    out += SetHeading(openTitle, reals, fakes);
    out += Format("*   %s (%d items) \n", ot, dir->count);
    out += "///////////////\n";

    int inBoth = 0, openMissing = 0;
    // Real entries count each time they are met; a fake line only names a title not counted yet. A missing
    // title is reported each time it is met.
    auto compare = [&](const std::string& title, const std::string& same, const std::string& missing, bool again) {
        auto it = status.find(title);
        if (it != status.end() && it->second != 2) {
            if (it->second == 0 || again) {
                if (!onlyDifferences) out += same;
                ++inBoth;
                it->second = 1;
            }
        } else {
            out += missing;
            status[title] = 2;
            ++openMissing;
        }
    };
    for (const TDatItem& item : dat_.Items()) {
        if (item.fake) continue;
        const std::string title = EntryTitle(item.Name());
        const char* t = title.c_str();
        compare(title, Format("%-15s ... = \n", t), Format("%15s ... not in %s \n", t, ot), true);
    }

    if (withFakes) {
        out += Format("fake replacements in %s\n", openTitle.c_str());
        for (const auto& [key, node] : fakes) {
            const char* f = node.fake.c_str();
            const char* r = node.real.c_str();
            compare(node.real, Format("%-7s -> %-7s ... = \n", f, r), Format("(%s->) %s ... not in %s \n", f, r, ot),
                    false);
            compare(node.fake, Format("fake %s (->%s) ... = \n", f, r), Format("Fake: %s (->%s) ... not in %s \n", f, r, ot), false);
        }
    }

    out += "///////////////\n";
    SortedLines otherMissing;
    for (const auto& [title, state] : status) {
        if (state != 0 || (withFakes && fakes.IsFake(title))) continue;
        otherMissing.Add(Format("%15s ... not in %s \n", title.c_str(), openTitle.c_str()));
    }
    otherMissing.AppendTo(out);

    out += "\n*** SUMMARY ***\n";
    out += Format("*** %d items in both files\n", inBoth);
    if (withFakes) {
        out += Format("*** %d/%d (%d real, %d fake)items in %s not found in %s \n", openMissing, reals + fakes.Count(),
                      reals, fakes.Count(), openTitle.c_str(), ot);
    } else {
        out += Format("*** %d/%d items in %s not found in %s \n", openMissing, reals, openTitle.c_str(), ot);
    }
    out += Format("*** %d/%d items in %s not found in %s \n", otherMissing.Count(), dir->count, ot, openTitle.c_str());
    return Finish(file, out, reportPath);
}

bool CDatReports::CompatibilityReport(const std::filesystem::path& other, const std::filesystem::path& reportPath) {
    const auto dir = ReadOther(other);
    if (!dir) return false;
    const std::string otherTitle = TitleOf(other.string());
    const std::string openTitle = TitleOf(dat_.Path());

    CFakefile otherFakes;
    LoadFakes(other.string(), otherFakes);
    CFakefile openFakes;
    LoadFakes(dat_.Path(), openFakes);

    CmpMap otherAll, otherReal, openAll, openReal;
    for (const auto& title : dir->titles) {
        otherAll[title] = otherReal[title] = CStrCmpNode{title, title, false};
    }
    for (const auto& [key, node] : otherFakes) otherAll[node.fake] = CStrCmpNode{node.fake, node.real, true};
    for (const TDatItem& item : dat_.Items()) {
        const std::string title = EntryTitle(item.Name());
        if (item.fake) {
            openAll[title] = CStrCmpNode{title, EntryTitle(item.RealName()), true};
        } else {
            openAll[title] = openReal[title] = CStrCmpNode{title, title, false};
        }
    }

    SafeFile file(Prepared(reportPath, services_.files));
    if (!OpenReport(file, reportPath)) return false;

    std::string out = "*** Comparing:\n";
    out += SetHeading(openTitle, dat_.RealCount(), openFakes);
    out += SetHeading(otherTitle, dir->count, otherFakes);
    out += "***\n";
    // The scan's leading line end makes the blank line that closes the heading.
    ScanInto(openAll, otherAll, openTitle, otherTitle, out);
    CheckKeep(openFakes, openReal, openTitle, out);
    ScanInto(otherAll, openAll, otherTitle, openTitle, out);
    CheckKeep(otherFakes, otherReal, otherTitle, out);
    out += "\n***\n";
    return Finish(file, out, reportPath);
}

}  // namespace pixmond
