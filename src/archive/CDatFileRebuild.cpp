// Repack, unpack and extract: moving whole files between an archive and the file system.
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "archive/CDatFile.h"
#include "archive/DatDirectory.h"
#include "archive/LooseFile.h"
#include "base/DiskSync.h"
#include "base/Format.h"
#include "base/OrderedWork.h"
#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond {

namespace fs = std::filesystem;

namespace {

bool HasUnderscoreNotBr(const std::string& name) {
    return name.find('_') != std::string::npos && name.rfind("BR_", 0) != 0;
}

std::string UpperExtension(const std::string& name) { return ToUpper(PathParts::Of(name).extension); }

bool IsImageExtension(const std::string& ext) {
    return ext == ".PNG" || ext == ".JPG" || ext == ".SHP" || ext == ".S16";
}

fs::path FolderOf(const std::string& folder) { return folder.empty() ? fs::path(".") : fs::path(folder); }

constexpr const char* kUnderscoreRule = "no underscore are allowed";

// Why a file of the packed folder stays out of the new archive; empty when it goes in, as entryName.
std::string LeftOutBecause(const std::string& name, std::string& entryName) {
    if (name[0] == '.') return "hidden files are not packed";
    if (UpperExtension(name) == ".EXE") return "programs are not packed";
    if (ToLower(name).find("varnek") != std::string::npos) return "the game's own files are not packed";
    if (HasUnderscoreNotBr(name)) return kUnderscoreRule;
    std::string why;
    entryName = CDatFile::EntryNameFor(name, why);
    return why;
}

}  // namespace

bool CDatFile::IsSafeFileName(const std::string& name) {
    if (name.empty() || name.find("..") != std::string::npos) return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == ':') return false;
    }
    return true;
}

std::vector<std::string> CDatFile::StoredNames() const {
    std::vector<std::string> out(static_cast<size_t>(total_));
    struct Record {
        std::uint32_t offset;
        std::string upper, stored;
        bool used = false;
    };
    std::vector<Record> records;
    if (file_) {
        const DatDirectory directory = DatDirectory::Read(*file_, std::uint64_t(realCount_));
        records.reserve(directory.Count());
        for (size_t i = 0; i < directory.Count(); ++i) {
            Record r;
            r.offset = directory.Offset(i);
            r.stored = std::string(directory.Name(i));
            r.upper = ToUpper(r.stored);
            records.push_back(std::move(r));
        }
    }
    auto key = [](const Record& r) { return std::tie(r.offset, r.upper); };
    std::sort(records.begin(), records.end(), [&key](const Record& a, const Record& b) { return key(a) < key(b); });
    for (int i = 0; i < total_; ++i) {
        const TDatItem& item = table_[i];
        if (item.fake) continue;
        Record probe{item.offset, std::string(item.Name()), {}};
        auto it = std::lower_bound(records.begin(), records.end(), probe,
                                   [&key](const Record& a, const Record& b) { return key(a) < key(b); });
        while (it != records.end() && it->used && key(*it) == key(probe)) ++it;
        if (it != records.end() && key(*it) == key(probe)) {
            it->used = true;
            out[size_t(i)] = it->stored;
        } else {
            out[size_t(i)] = std::string(item.Name());
        }
    }
    return out;
}

bool CDatFile::Repack(const std::string& folder, const std::string& newArchivePath, bool imagesOnly) {
    const fs::path dir = FolderOf(folder);
    const PathParts outParts = PathParts::Of(newArchivePath);
    const auto listed = services_.files.List(dir, "*");
    const std::string cannotCreate = Format("\nCannot create new file ... \n\t%s \n", newArchivePath.c_str());
    if (listed.empty()) {
        services_.messages.Notice(cannotCreate);
        return false;
    }
    std::error_code ec;
    // The new archive is left out of its own folder only; packing another folder keeps a file of the same name.
    const bool sameFolder = fs::equivalent(dir, FolderOf(outParts.folder), ec);
    // Its log, beside it, is this program's own note and no file of the user's.
    const std::string logName = log_.Enabled() ? PathParts::Of(log_.Name()).name : std::string();
    auto isOutput = [&](const std::string& name) {
        return sameFolder && (EqualIgnoringCase(name, outParts.name) || EqualIgnoringCase(name, logName));
    };

    SafeFile out{fs::path(newArchivePath)};
    if (!out.IsOpen()) {
        services_.messages.Notice(cannotCreate);
        return false;
    }

    // The work list is kept apart from the entry table, so the open archive stays listed whatever happens.
    // Every file the rules leave out is logged once; only the new archive itself and, in a pictures-only
    // archive, files that are no pictures are left out without a word, since the user asked for that.
    std::vector<ArchivePlanEntry> plan;
    int leftOut = 0;
    for (const auto& f : listed) {
        if (isOutput(f.name) || (imagesOnly && !IsImageExtension(UpperExtension(f.name)))) continue;
        std::string entryName;
        const std::string why = LeftOutBecause(f.name, entryName);
        if (!why.empty()) {
            if (why == kUnderscoreRule) log_.Printf("%s excluded because no underscore are allowed", f.name.c_str());
            else log_.Printf("%s excluded because %s", f.name.c_str(), why.c_str());
            ++leftOut;
            continue;
        }
        if (f.size > 0xffffffffull) {
            services_.messages.Error(Format("[%s] is too large for an archive.\n%s was not written.", f.name.c_str(),
                                            newArchivePath.c_str()));
            return false;
        }
        plan.push_back({entryName, std::uint32_t(f.size), ArchiveSource{nullptr, dir / f.name, 0}});
    }
    if (plan.size() > size_t(MAX_DAT_ITEMS)) {
        log_.Printf("Only %d / %d files will be included", int(plan.size()), MAX_DAT_ITEMS);
        for (size_t k = MAX_DAT_ITEMS; k < plan.size(); ++k)
            log_.Printf("%s excluded because an archive holds at most %d files", plan[k].name.c_str(), MAX_DAT_ITEMS);
        leftOut += int(plan.size()) - MAX_DAT_ITEMS;
        plan.resize(MAX_DAT_ITEMS);
    }
    const int count = int(plan.size());

    auto progress = services_.progress.OpenWindow("Repacking");
    progress->SetRange(0, count, 1);
    progress->SetText(Format("Repacking %d files...\n\nHit Cancel or ESC to abort.", count));
    std::stable_sort(plan.begin(), plan.end(), [](const ArchivePlanEntry& a, const ArchivePlanEntry& b) {
        return CompareIgnoringCase(std::string_view(a.name).substr(0, 13), std::string_view(b.name).substr(0, 13)) < 0;
    });

    ArchiveWriter writer(out);
    const auto result = writer.Write(plan, [&progress](size_t) {
        progress->StepIt();
        progress->PeekAndPump(true);
        return !progress->Cancelled();
    });
    if (result == ArchiveWriter::Result::Cancelled) {
        services_.messages.Notice("Progress Cancelled");
        return false;
    }
    if (result == ArchiveWriter::Result::Failed) {
        services_.messages.Error(Format("%s\n%s was not written.", writer.Failure().c_str(), newArchivePath.c_str()));
        return false;
    }
    progress->Hide();
    if (!out.Commit()) {
        services_.messages.Error(Format("Error on creating [%s]", newArchivePath.c_str()));
        return false;
    }
    if (leftOut > 0) {
        const std::string where = log_.Enabled() ? Format("They are listed in %s", log_.Name().c_str())
                                                 : std::string("They were named above.");
        services_.messages.Notice(Format("%s holds %d files; %d file%s of %s %s left out.\n%s", newArchivePath.c_str(),
                                        count, leftOut, leftOut == 1 ? "" : "s", dir.c_str(),
                                        leftOut == 1 ? "was" : "were", where.c_str()));
    }
    return true;
}

bool CDatFile::WriteEntryFiles(const std::string& folder, const std::vector<int>& indexes, const std::string& caption,
                               const std::string& text, bool askBeforeReplacing, int& written) {
    written = 0;
    const fs::path dir = FolderOf(folder);
    const auto names = StoredNames();
    // What there is to ask is asked first, in entry order; then the files are written on every core and named
    // on this thread in entry order (a folder takes one new name at a time, so naming in parallel only waits).
    std::string refused, failed;
    std::vector<int> chosen;
    for (const int i : indexes) {
        const std::string& name = names[size_t(i)];
        if (!IsSafeFileName(name)) {
            refused.append("\n").append(Latin1ToUtf8(name));
            continue;
        }
        const fs::path target = dir / name;
        if (askBeforeReplacing && services_.files.Exists(target) &&
            !services_.messages.Question(Format("%s aready exist, do you want to replace ?", target.c_str())))
            continue;
        chosen.push_back(i);
    }
    std::unique_ptr<Progress> progress;
    if (!caption.empty()) {
        progress = services_.progress.OpenWindow(caption);
        progress->SetRange(0, int(chosen.size()), 1);
        progress->SetText(text);
    }
    const int workers = OrderedWork::DefaultWorkers();
    std::vector<std::vector<std::uint8_t>> buffers{size_t(workers)};
    OrderedWork::Run<LooseFile>(
        int(chosen.size()), workers,
        [&](int job, int worker) {
            const int i = chosen[size_t(job)];
            return LooseFile(ArchiveSource{file_, {}, table_[i].offset}, table_[i].size, dir / names[size_t(i)],
                             buffers[size_t(worker)]);
        },
        [&](int, LooseFile& file) {
            if (file.Name(false)) ++written;
            else failed.append("\n").append(file.Failure());
            if (progress) {
                progress->StepIt();
                progress->PeekAndPump(false);
            }
            return true;
        });
    // The new files reach the disk in one pass; each one that replaced a file was flushed before its rename.
    if (written > 0) SyncFileSystem(dir);
    if (progress) progress->Hide();
    if (!refused.empty()) {
        services_.messages.Error(Format("These entries were not written, their names would not stay inside %s:%s",
                                        dir.c_str(), refused.c_str()));
    }
    if (!failed.empty()) services_.messages.Error("These files could not be written:" + failed);
    return refused.empty() && failed.empty();
}

bool CDatFile::Unpack(const std::string& folder) {
    if (!ArchiveOpen() || !file_) return false;
    if (!services_.files.Exists(FolderOf(folder)) && !services_.files.CreateFolder(FolderOf(folder))) {
        services_.messages.Error(Format("Error on creating [%s]", folder.c_str()));
        return false;
    }
    std::vector<int> reals;
    for (int i = 0; i < total_; ++i)
        if (!table_[i].fake) reals.push_back(i);
    int written = 0;
    return WriteEntryFiles(folder, reals, "Unpacking", Format("\nUnpacking %d files...", realCount_), false, written);
}

std::string CDatFile::Extract(int index, const std::string& target) {
    if (!ArchiveOpen() || !file_ || !InRange(index)) return {};
    const TDatItem& item = table_[index];
    if (item.fake) {
        services_.messages.Notice("Cannot extract from fake entry, seek real icon and extract from that entry");
        return {};
    }
    std::vector<std::uint8_t> buffer(1 << 20);
    std::string failure;
    if (!LooseFile::Write(ArchiveSource{file_, {}, item.offset}, item.size, target, buffer, failure, true)) {
        services_.messages.Error(failure);
        return {};
    }
    SyncFolder(fs::path(target).parent_path());
    return target;
}

}  // namespace pixmond
