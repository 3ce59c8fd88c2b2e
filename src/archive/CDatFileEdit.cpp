// Replace, remove and add: single-entry edits that rewrite the open archive beside it and swap it in.
#include <algorithm>
#include <filesystem>

#include "archive/CDatFile.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {

void SortPlan(std::vector<ArchivePlanEntry>& plan) {
    std::stable_sort(plan.begin(), plan.end(), [](const ArchivePlanEntry& a, const ArchivePlanEntry& b) {
        return CompareIgnoringCase(std::string_view(a.name).substr(0, 13), std::string_view(b.name).substr(0, 13)) < 0;
    });
}

}  // namespace

std::string CDatFile::NewArchivePath() const {
    return Format("%s_new.dat", PathParts::Of(path_).withoutExtension.c_str());
}

std::string CDatFile::BackupPath() const {
    return Format("%s_back.dat", PathParts::Of(path_).withoutExtension.c_str());
}

std::vector<ArchivePlanEntry> CDatFile::PlanOfRealEntries(int leaveOut, std::vector<int>* indexes) const {
    const auto names = StoredNames();
    std::vector<ArchivePlanEntry> plan;
    plan.reserve(size_t(realCount_) + 1);
    for (int i = 0; i < total_; ++i) {
        const TDatItem& item = table_[i];
        if (item.fake || i == leaveOut) continue;
        plan.push_back({names[size_t(i)], item.size, ArchiveSource{file_, {}, item.offset}});
        if (indexes) indexes->push_back(i);
    }
    return plan;
}

CDatFile::Rewrite CDatFile::WritePlan(const std::vector<ArchivePlanEntry>& plan, const std::string& target,
                                      const std::string& caption, const std::string& text, int range) {
    SafeFile out{std::filesystem::path(target)};
    if (!out.IsOpen()) {
        services_.messages.Error(Format("Error on creating [%s]", target.c_str()));
        return Rewrite::Failed;
    }
    auto progress = services_.progress.OpenWindow(caption);
    progress->SetRange(0, range, 1);
    progress->SetText(text);
    ArchiveWriter writer(out);
    const auto result = writer.Write(plan, [&progress](size_t) {
        progress->StepIt();
        progress->PeekAndPump(true);
        return !progress->Cancelled();
    });
    if (result == ArchiveWriter::Result::Cancelled) {
        ++cancels_;
        services_.messages.Notice("Progress Cancelled");
        return Rewrite::Cancelled;
    }
    if (result == ArchiveWriter::Result::Failed) {
        services_.messages.Error(Format("%s\n%s was left as it was.", writer.Failure().c_str(), path_.c_str()));
        return Rewrite::Failed;
    }
    progress->Hide();
    if (!out.Commit()) {
        services_.messages.Error(Format("Error on creating [%s]", target.c_str()));
        return Rewrite::Failed;
    }
    return Rewrite::Ok;
}

bool CDatFile::SwapInNewArchive() {
    const std::string archive = path_, backup = BackupPath(), fresh = NewArchivePath();
    CloseFile();
    auto& files = services_.files;
    // The archive's path holds a complete archive at every moment: the backup becomes a second name of the
    // archive first, then the new archive replaces it in one rename.
    if (!files.KeepCopy(archive, backup)) {
        files.Remove(fresh);
        services_.messages.Error(Format("Could not create %s\n%s was left as it was.", backup.c_str(), archive.c_str()));
        Load(archive, true);
        return false;
    }
    if (!files.MoveReplace(fresh, archive)) {
        files.Remove(fresh);
        services_.messages.Error(Format("Could not rename %s to %s.\n%s was left as it was.", fresh.c_str(),
                                        archive.c_str(), archive.c_str()));
        Load(archive, true);
        return false;
    }
    return Load(archive, true);
}

bool CDatFile::PlaceFile(const std::string& from, const std::string& to) {
    auto& files = services_.files;
    if (files.MoveReplace(from, to)) return true;
    // Another disk: a copy renamed into place.
    if (!files.Copy(from, to)) return false;
    files.Remove(from);
    return true;
}

std::uint32_t CDatFile::Replace(int index, const std::string& sourcePath) {
    if (!ArchiveOpen() || !file_ || !InRange(index)) return 0;
    if (table_[index].fake) {
        services_.messages.Notice("Cannot replace fake entries, seek real icon and replace that entry");
        return 0;
    }
    const std::int64_t length = services_.files.Length(sourcePath);
    if (length < 0) services_.messages.Error("File not found");
    auto source = length < 0 ? nullptr : ReadOnlyFile::Open(sourcePath);
    if (!source) {
        services_.messages.Error(Format("[%s] Not found", sourcePath.c_str()));
        return 0;
    }
    if (source->Size() > 0xffffffffull) {
        services_.messages.Error(Format("[%s] is too large for an archive.", sourcePath.c_str()));
        return 0;
    }
    const auto size = std::uint32_t(source->Size());
    std::vector<int> indexes;
    auto plan = PlanOfRealEntries(-1, &indexes);
    for (size_t k = 0; k < plan.size(); ++k) {
        if (indexes[k] != index) continue;
        plan[k].size = size;
        plan[k].source = ArchiveSource{source, {}, 0};
    }
    const std::string text =
        Format("Replacing %s...\n\nHit Cancel or ESC to abort.", PathParts::Of(sourcePath).name.c_str());
    if (WritePlan(plan, NewArchivePath(), "Replacing", text, realCount_) != Rewrite::Ok) return 0;
    return SwapInNewArchive() ? size : 0;
}

std::string CDatFile::Remove(int index) {
    if (!ArchiveOpen() || !file_ || !InRange(index)) {
        services_.messages.Notice("Wrong item to remove");
        return {};
    }
    if (table_[index].fake) {
        services_.messages.Notice("Cannot remove fake entries");
        return {};
    }
    const std::string name(table_[index].Name());
    const auto plan = PlanOfRealEntries(index);
    if (WritePlan(plan, NewArchivePath(), "Removing", Format("Removing %s...\n\n", name.c_str()), realCount_) !=
        Rewrite::Ok) {
        return {};
    }
    return SwapInNewArchive() ? name : std::string();
}

std::uint32_t CDatFile::Append(const std::string& sourcePath) {
    if (!ArchiveOpen() || !file_) return 0;
    const Appended appended = AppendFiles({sourcePath});
    return appended.added == 1 ? appended.bytes : 0;
}

CDatFile::Appended CDatFile::AppendFiles(const std::vector<std::string>& list) {
    Appended result;
    auto plan = PlanOfRealEntries(-1);
    int count = realCount_;
    for (const std::string& sourcePath : list) {
        if (count >= MAX_DAT_ITEMS) {
            services_.messages.Error(Format("Cannot append more files, full size reached (%d)", count));
            continue;
        }
        auto source = ReadOnlyFile::Open(sourcePath);
        if (!source) {
            services_.messages.Error(Format("[%s] Not found", sourcePath.c_str()));
            continue;
        }
        if (source->Size() > 0xffffffffull) {
            services_.messages.Error(Format("[%s] is too large for an archive.", sourcePath.c_str()));
            continue;
        }
        const auto size = std::uint32_t(source->Size());
        plan.push_back({PathParts::Of(sourcePath).name.substr(0, 12), size, ArchiveSource{source, {}, 0}});
        ++count;
        ++result.added;
        result.bytes += size;
    }
    if (result.added == 0) return result;
    // Each file goes behind the entries of an equal name, as if it had been added on its own after those before it.
    SortPlan(plan);
    const std::string text = result.added == 1 ? PathParts::Of(list.front()).name : Format("%d files", result.added);
    const Rewrite written =
        WritePlan(plan, NewArchivePath(), "Appending", Format("Appending %s...\n", text.c_str()), realCount_);
    if (written != Rewrite::Ok) {
        result.cancelled = written == Rewrite::Cancelled;
        result.added = 0;
        return result;
    }
    // The new archive stays beside the old one; a second name of it replaces the archive in one rename.
    CloseFile();
    const std::string fresh = NewArchivePath();
    if (!services_.files.KeepCopy(fresh, path_)) {
        services_.messages.Error(Format("Could not complete !\n%s  ..  was not closed yet\nYour updated Dat file can be "
                                        "found as\n%s\n",
                                        path_.c_str(), fresh.c_str()));
        result.added = 0;
    }
    return result;
}

int CDatFile::AddFiles(const std::vector<std::string>& list) {
    if (!ArchiveOpen()) return -1;
    const std::string archive = path_, backup = BackupPath();
    auto& files = services_.files;
    if (!list.empty() && !files.KeepCopy(archive, backup)) {
        services_.messages.Error(Format("Could not create %s\n  ...  aborting\n", backup.c_str()));
        return -1;
    }
    // All files in one rewrite: the archive is written once, however many files are added.
    Appended appended;
    if (!list.empty() && Load(archive, false)) appended = AppendFiles(list);
    if (!list.empty()) {
        services_.settings.SetString(kSettingsSection, "S16 folder", PathParts::Of(list.back()).folder);
    }
    Load(archive, true);
    if (appended.cancelled) return int(list.size());
    if (appended.added > 0) {
        services_.messages.Notice(
            Format("Done!, %s updated !\nFormer datfile saved as %s\n", archive.c_str(), backup.c_str()));
    }
    return int(list.size()) - appended.added;
}

}  // namespace pixmond
