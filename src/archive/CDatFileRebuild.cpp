// Repack, unpack and extract: moving whole files between an archive and the file system.
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "archive/CDatFile.h"
#include "base/Format.h"
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
        const auto directory = file_->ReadBlock(4, size_t(realCount_) * 17);
        records.reserve(directory.size() / 17);
        for (size_t at = 0; at + 17 <= directory.size(); at += 17) {
            const auto* p = directory.data() + at;
            const char* name = reinterpret_cast<const char*>(p + 4);
            Record r;
            r.offset = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
            r.stored.assign(name, ::strnlen(name, kDatNameBytes));
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
    auto isOutput = [&](const std::string& name) { return sameFolder && EqualIgnoringCase(name, outParts.name); };

    SafeFile out{fs::path(newArchivePath)};
    if (!out.IsOpen()) {
        services_.messages.Notice(cannotCreate);
        return false;
    }

    int count = 0;
    for (const auto& f : listed) {
        const bool underscoreOk = f.name.find('_') == std::string::npos || f.name.rfind("BR_", 0) == 0;
        if (underscoreOk && !isOutput(f.name) && ToLower(f.name).find("varnek2") == std::string::npos &&
            UpperExtension(f.name) != ".EXE" && f.name.size() <= 12 && f.name[0] != '.') {
            ++count;
        }
    }
    if (count > MAX_DAT_ITEMS) {
        log_.Printf("Only %d / %d files will be included", count, MAX_DAT_ITEMS);
        count = MAX_DAT_ITEMS;
    }

    auto progress = services_.progress.OpenWindow("Repacking");
    progress->SetRange(0, count, 1);
    progress->SetText(Format("Repacking %d files...\n\nHit Cancel or ESC to abort.", count));

    // The work list is kept apart from the entry table, so the open archive stays listed whatever happens.
    std::vector<ArchivePlanEntry> plan;
    for (const auto& f : listed) {
        if (int(plan.size()) >= count) break;
        const std::string ext = UpperExtension(f.name);
        if (isOutput(f.name) || f.name[0] == '.') continue;
        if (imagesOnly && !IsImageExtension(ext)) continue;
        if (ext == ".EXE" || ToLower(f.name).find("varnek") != std::string::npos || f.name.size() > 12) continue;
        if (HasUnderscoreNotBr(f.name)) {
            log_.Printf("%s excluded because no underscore are allowed", f.name.c_str());
            continue;
        }
        if (f.size > 0xffffffffull) {
            services_.messages.Error(Format("[%s] is too large for an archive.\n%s was not written.", f.name.c_str(),
                                            newArchivePath.c_str()));
            return false;
        }
        plan.push_back({f.name, std::uint32_t(f.size), ArchiveSource{nullptr, dir / f.name, 0}});
    }
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
    return true;
}

bool CDatFile::WriteEntryFiles(const std::string& folder, const std::vector<int>& indexes, const std::string& caption,
                               const std::string& text, bool askBeforeReplacing, int& written) {
    written = 0;
    const fs::path dir = FolderOf(folder);
    const auto names = StoredNames();
    std::unique_ptr<Progress> progress;
    if (!caption.empty()) {
        progress = services_.progress.OpenWindow(caption);
        progress->SetRange(0, int(indexes.size()), 1);
        progress->SetText(text);
    }
    std::string refused, failed;
    std::vector<std::uint8_t> buffer(1 << 20);
    for (const int i : indexes) {
        const TDatItem& item = table_[i];
        const std::string& name = names[size_t(i)];
        if (!IsSafeFileName(name)) {
            refused += "\n" + Latin1ToUtf8(name);
        } else {
            const fs::path target = dir / name;
            const bool skip = askBeforeReplacing && services_.files.Exists(target) &&
                              !services_.messages.Question(Format("%s aready exist, do you want to replace ?", target.c_str()));
            std::string failure;
            if (!skip) {
                if (ArchiveWriter::WriteLooseFile(ArchiveSource{file_, {}, item.offset}, item.size, target, buffer, failure))
                    ++written;
                else
                    failed += "\n" + failure;
            }
        }
        if (progress) {
            progress->StepIt();
            progress->PeekAndPump(false);
        }
    }
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
    if (!ArchiveWriter::WriteLooseFile(ArchiveSource{file_, {}, item.offset}, item.size, target, buffer, failure)) {
        services_.messages.Error(failure);
        return {};
    }
    return target;
}

}  // namespace pixmond
