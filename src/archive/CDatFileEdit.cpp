// Replace, remove and add: single-entry edits that rewrite the open archive beside it and swap it in.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "archive/CDatFile.h"
#include "base/ByteReader.h"
#include "base/DisplayText.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "base/TextCase.h"
#include "ui/AppSettings.h"

namespace pixmond {

namespace {

void SortPlan(std::vector<ArchivePlanEntry>& plan) {
    std::stable_sort(plan.begin(), plan.end(), [](const ArchivePlanEntry& a, const ArchivePlanEntry& b) {
        return CompareIgnoringCase(std::string_view(a.name).substr(0, 13), std::string_view(b.name).substr(0, 13)) < 0;
    });
}

}  // namespace

std::string CDatFile::EntryNameFor(const std::string& fileName, std::string& why) {
    // Names on disk are UTF-8 here; an archive keeps single Windows-1252 bytes. Bytes that are no UTF-8 are
    // taken to be Windows-1252 already (a name copied from a Windows disk).
    std::string stored = fileName;
    if (IsValidUtf8(fileName) && !Utf8ToWindows1252(fileName, stored)) {
        why = "its name holds characters an archive cannot keep (Windows-1252 letters only)";
        return {};
    }
    if (stored.size() > size_t(kDatNameBytes - 1)) {
        why = Format("an archive keeps names of at most %d characters", kDatNameBytes - 1);
        return {};
    }
    return stored;
}

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

std::vector<int> CDatFile::DirectoryPositions() const {
    // The table is sorted by name; the directory record of an entry is the one of its offset and name, taken in
    // turn when several match.
    struct Record {
        std::uint32_t offset;
        std::string upper;
        int position;
        bool operator<(const Record& o) const {
            return std::tie(offset, upper, position) < std::tie(o.offset, o.upper, o.position);
        }
    };
    std::vector<Record> records;
    const auto directory = file_ ? file_->ReadBlock(4, size_t(realCount_) * 17) : std::vector<std::uint8_t>();
    for (size_t at = 0; at + 17 <= directory.size(); at += 17) {
        const char* name = reinterpret_cast<const char*>(directory.data() + at + 4);
        const std::uint32_t offset = ByteReader(std::span<const std::uint8_t>(directory.data() + at, 4)).U32(0);
        records.push_back({offset, ToUpper(std::string_view(name, ::strnlen(name, kDatNameBytes))), int(at / 17)});
    }
    std::sort(records.begin(), records.end());
    std::vector<bool> used(records.size(), false);
    std::vector<int> positions(size_t(total_), -1);
    for (int i = 0; i < total_; ++i) {
        const TDatItem& item = table_[i];
        if (item.fake) continue;
        auto it = std::lower_bound(records.begin(), records.end(), Record{item.offset, std::string(item.Name()), -1});
        auto matches = [&](auto at) {
            return at != records.end() && at->offset == item.offset && at->upper == item.Name();
        };
        while (matches(it) && used[size_t(it - records.begin())]) ++it;
        if (matches(it)) {
            used[size_t(it - records.begin())] = true;
            positions[size_t(i)] = it->position;
        } else {
            positions[size_t(i)] = int(records.size()) + i;  // not found: behind the others, in table order
        }
    }
    return positions;
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

bool CDatFile::RewriteEntries(const EntryData& replacements, const std::string& target, const std::string& caption) {
    if (!ArchiveOpen() || !file_) return false;
    for (const auto& [index, bytes] : replacements) {
        if (!InRange(index) || table_[index].fake || !bytes || bytes->size() > 0xffffffffull) return false;
    }
    std::vector<int> indexes;
    auto plan = PlanOfRealEntries(-1, &indexes);
    for (size_t k = 0; k < plan.size(); ++k) {
        const auto found = replacements.find(indexes[k]);
        if (found == replacements.end()) continue;
        plan[k].size = std::uint32_t(found->second->size());
        plan[k].source = ArchiveSource{nullptr, {}, 0, found->second};
    }
    // The entries keep the order of the archive's directory, so that all but the replaced data stays as it was.
    const std::vector<int> positions = DirectoryPositions();
    std::vector<size_t> order(plan.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return positions[size_t(indexes[a])] < positions[size_t(indexes[b])]; });
    std::vector<ArchivePlanEntry> ordered;
    ordered.reserve(plan.size());
    for (const size_t k : order) ordered.push_back(std::move(plan[k]));
    plan = std::move(ordered);
    std::error_code ec;
    const bool inPlace = target.empty() || std::filesystem::equivalent(target, path_, ec);
    const std::string written = inPlace ? NewArchivePath() : target;
    const std::string text =
        Format("Writing %s...\n\nHit Cancel or ESC to abort.", PathParts::Of(written).name.c_str());
    if (WritePlan(plan, written, caption, text, realCount_) != Rewrite::Ok) return false;
    return !inPlace || SwapInNewArchive();
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
        std::string why;
        const std::string entryName = EntryNameFor(PathParts::Of(sourcePath).name, why);
        if (entryName.empty()) {
            services_.messages.Error(Format("%s was not added: %s.", sourcePath.c_str(), why.c_str()));
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
        plan.push_back({entryName, size, ArchiveSource{source, {}, 0}});
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
        AppSettings(services_.settings).SetS16Folder(PathParts::Of(list.back()).folder);
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
