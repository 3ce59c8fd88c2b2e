// Copy lists: the icons named in a ".tbl" table copied into another archive or written into a folder.
#include <algorithm>
#include <filesystem>

#include "archive/CDatFile.h"
#include "base/DisplayText.h"
#include "archive/DatDirectory.h"
#include "base/TextLines.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string TitleOf(std::string_view name) {
    const size_t dot = name.rfind('.');
    return ToUpper(dot == std::string_view::npos ? name : name.substr(0, dot));
}

// The directory of another archive, every entry checked against the file; false when any is unsound.
bool ReadDirectoryOf(const std::shared_ptr<ReadOnlyFile>& file, std::vector<ArchivePlanEntry>& entries) {
    const DatDirectory directory = DatDirectory::Read(*file);
    if (!directory.Sound()) return false;
    for (size_t i = 0; i < directory.Count(); ++i) {
        entries.push_back(
            {std::string(directory.Name(i)), directory.Size(i), ArchiveSource{file, {}, directory.Offset(i)}});
    }
    return true;
}

}  // namespace

std::string CDatFile::UnmatchedTitles(const std::set<std::string>& titles) const {
    std::set<std::string> real, fake;
    for (int i = 0; i < total_; ++i) (table_[i].fake ? fake : real).insert(std::string(table_[i].Title()));
    std::string missing, fakes;
    for (const std::string& title : titles) {
        if (title.empty() || real.count(title)) continue;
        std::string& to = fake.count(title) ? fakes : missing;
        to += (to.empty() ? " " : ", ") + DisplayText(title);
    }
    std::string text;
    if (!missing.empty()) text += "\nNot in the archive:" + missing;
    if (!fakes.empty()) text += "\nOnly fake entries (name their real icons instead):" + fakes;
    return text;
}

int CDatFile::ReadCopyList(const std::string& tablePath, std::set<std::string>& titles) {
    if (!services_.files.Exists(tablePath)) {
        services_.messages.Notice(Format("\n  %s cannot be find ... \n", tablePath.c_str()));
        return 0;
    }
    titles.clear();
    const auto text = ReadWholeFile(tablePath);
    if (!text) return 0;
    // Lines longer than 1023 characters are read in pieces.
    ForEachTextLine(*text, 1023, [&titles](std::string_view line) {
        while (!line.empty() && IsWhite(line.front())) line.remove_prefix(1);
        if (line.size() > 1 && line.find_first_of("';:/#<>*", 1) != std::string_view::npos) return;
        while (!line.empty() && IsWhite(line.back())) line.remove_suffix(1);
        titles.insert(ToUpper(line));
    });
    return int(titles.size());
}

bool CDatFile::CopyListed(const std::string& tablePath, const std::string& destPath) {
    if (!ArchiveOpen() || !file_ || realCount_ == 0 || tablePath.empty() || destPath.empty() ||
        !services_.files.Exists(tablePath)) {
        return false;
    }
    std::set<std::string> titles;
    if (ReadCopyList(tablePath, titles) == 0) {
        services_.messages.Notice(Format("No icons to copy in %s\n", tablePath.c_str()));
        return false;
    }
    const bool destExists = services_.files.Exists(destPath);
    std::vector<ArchivePlanEntry> plan;
    std::set<std::string> destTitles;
    if (destExists) {
        const auto dest = ReadOnlyFile::Open(destPath);
        if (!dest) {
            services_.messages.Error(Format("[%s] Not found", destPath.c_str()));
            return false;
        }
        if (!ReadDirectoryOf(dest, plan)) {
            services_.messages.Error(Format("%s\nThe archive is damaged; nothing was copied.", destPath.c_str()));
            return false;
        }
        for (const auto& e : plan) destTitles.insert(TitleOf(e.name));
    }
    const auto names = StoredNames();
    int copied = 0;
    for (int i = 0; i < total_; ++i) {
        const TDatItem& item = table_[i];
        if (item.fake) continue;
        const std::string title(item.Title());
        if (destExists && destTitles.count(title)) continue;
        if (titles.count(title)) {
            plan.push_back({names[size_t(i)], item.size, ArchiveSource{file_, {}, item.offset}});
            ++copied;
        }
    }
    if (plan.empty()) {
        services_.messages.Notice(Format("No icons to copy from:\nSource: %s\nTo: %s\n\n%s", path_.c_str(),
                                         destPath.c_str(), UnmatchedTitles(titles).c_str()));
        return false;
    }
    std::stable_sort(plan.begin(), plan.end(), [](const ArchivePlanEntry& a, const ArchivePlanEntry& b) {
        return CompareIgnoringCase(std::string_view(a.name).substr(0, 13), std::string_view(b.name).substr(0, 13)) < 0;
    });
    const std::string work = PathParts::Of(path_).withoutExtension + "_tmp.dat";
    if (WritePlan(plan, work, "Copying", Format("Copying %d files...", int(plan.size())), int(plan.size())) !=
        Rewrite::Ok) {
        return false;
    }
    const std::string backup = Format("%s_back.dat", PathParts::Of(destPath).withoutExtension.c_str());
    // The destination's path holds a complete archive at every moment: its backup becomes a second name of it
    // first, then the new archive replaces it in one rename.
    if (destExists && !services_.files.KeepCopy(destPath, backup)) {
        services_.messages.Error(Format("Could not create %s.\n%s was left as it was; the new archive is %s.",
                                        backup.c_str(), destPath.c_str(), work.c_str()));
        return false;
    }
    if (!PlaceFile(work, destPath)) {
        services_.messages.Error(Format("Could not rename %s to %s.\nThe destination was left as it was.\nThe new "
                                        "archive is %s.",
                                        work.c_str(), destPath.c_str(), work.c_str()));
        return false;
    }
    // Names the archive could not give are said at the end, so a list can be put right.
    const std::string unmatched = UnmatchedTitles(titles);
    if (!unmatched.empty()) {
        services_.messages.Notice(Format("%d icons copied to %s\n%s", copied, destPath.c_str(), unmatched.c_str()));
    }
    return true;
}

int CDatFile::ExtractListed(const std::string& tablePath, const std::string& folder) {
    if (!ArchiveOpen() || !file_ || realCount_ == 0 || !services_.files.Exists(tablePath) ||
        !services_.files.Exists(folder.empty() ? "." : folder)) {
        return -1;
    }
    std::set<std::string> titles;
    if (ReadCopyList(tablePath, titles) == 0) {
        services_.messages.Notice(Format("No icons to extract in %s\n", tablePath.c_str()));
        return -1;
    }
    std::vector<int> listed;
    for (int i = 0; i < total_; ++i) {
        if (!table_[i].fake && titles.count(std::string(table_[i].Title()))) listed.push_back(i);
    }
    int written = 0;
    WriteEntryFiles(folder, listed, "", "", true, written);
    services_.messages.Notice(Format(" Done! ... %d icons extracted\n", written) + UnmatchedTitles(titles));
    return written;
}

}  // namespace pixmond
