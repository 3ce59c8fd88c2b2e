#include "archive/CDatFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "archive/CFakefile.h"
#include "archive/DatDirectory.h"
#include "base/ByteReader.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "base/TextCase.h"
#include "image/Palette.h"

namespace pixmond {

namespace {

// A file the user may change: it opens for writing and is not marked read-only. The mode bits are checked
// as well because the owner of every file (root) could open a read-only file for writing anyway.
bool CanWrite(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) != 0;
    ::close(fd);
    return ok;
}

std::uint32_t LoadU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

CDatFile::CDatFile(Services& services)
    : services_(services), table_(new TDatItem[kDatTableSlots]), log_(services.messages, services.shell) {
    ClearTable();
    drawingPalette_ = DefaultColourTable();
}

CDatFile::~CDatFile() = default;

void CDatFile::ClearTable() { std::memset(static_cast<void*>(table_.get()), 0, sizeof(TDatItem) * kDatTableSlots); }

void CDatFile::CloseFile() { file_.reset(); }

bool CDatFile::Load(const std::string& path, bool interactive, Access access) {
    if (!services_.files.Exists(path)) {
        services_.messages.Notice(Format("%s not found", path.c_str()));
        return false;
    }
    std::shared_ptr<ReadOnlyFile> file;
    if (access == Access::ReadOnly || CanWrite(path)) file = ReadOnlyFile::Open(path);
    if (file && !IsIconArchive(*file)) {
        // The archive shown before stays open and listed.
        services_.messages.Notice(Format("%s\nis not an icon archive.", path.c_str()));
        return false;
    }
    CloseFile();
    if (!file) {
        services_.messages.Notice(Format("%s\nMain data file not found.", path.c_str()));
        // Nothing may be addressed in a table whose file is gone.
        realCount_ = fakeCount_ = total_ = 0;
        loaded_ = false;
        return false;
    }
    file_ = std::move(file);
    path_ = path;
    archiveOpen_ = 1;
    current_ = selected_ = 0;

    ReadDirectory(interactive);
    total_ = realCount_;
    fakeCount_ = 0;
    if (interactive) {
        const PathParts parts = PathParts::Of(path);
        const auto keep = services_.files.FindIgnoringCase(parts.folder, parts.title + ".keep");
        if (keep) MergeFakes(keep->string());
        else SortTable();
    } else {
        SortTable();
    }
    return true;
}

bool CDatFile::IsIconArchive(const ReadOnlyFile& file) {
    // There is no magic number. What every archive has: a count of at least one record (the terminator), and a
    // first entry whose data starts right after the directory, inside the file. A count that promises more
    // records than that (a damaged archive) still passes; the loader lists what is there and says so.
    std::uint8_t head[8];
    if (!file.ReadExact(0, head, sizeof head)) return false;
    const std::uint64_t records = LoadU32(head), firstData = LoadU32(head + 4);
    constexpr std::uint64_t kHead = DatDirectory::kCountBytes, kRecord = DatDirectory::kRecordBytes;
    return records >= 1 && firstData >= kHead + kRecord && (firstData - kHead) % kRecord == 0 &&
           firstData <= file.Size() && kHead + kRecord * records >= firstData;
}

void CDatFile::ReadDirectory(bool interactive) {
    ClearTable();
    const DatDirectory directory = DatDirectory::Read(*file_, MAX_DAT_ITEMS);
    realCount_ = int(directory.Count());
    damaged_ = directory.Damaged();
    if (directory.Held() > std::uint64_t(MAX_DAT_ITEMS)) {
        const int shown = int(std::min<std::uint64_t>(directory.Held(), 0x7fffffff));
        services_.messages.Error(Format("Only %d / %d icons will be loaded...", MAX_DAT_ITEMS, shown));
    }

    auto progress = services_.progress.OpenStatusBar("", 80, realCount_);
    if (interactive) progress->SetText(Format("Loading %s ", PathParts::Of(path_).name.c_str()));
    loaded_ = true;

    std::vector<HeaderWord> words;
    words.reserve(size_t(realCount_));
    for (int i = 0; i < realCount_; ++i) {
        ReadEntry(i, directory, words);
        if (interactive) progress->StepIt();
    }
    ReadHeaderWords(words);

    std::string damage;
    if (directory.Promised() > directory.Held()) {
        damage += Format("\nIts directory lists %llu entries, but the file holds only %d of them.",
                         (unsigned long long)directory.Promised(), realCount_);
    }
    if (damaged_ > 0) {
        damage += Format("\n%d entries point outside the file; they are listed but cannot be shown.", damaged_);
    }
    if (!damage.empty()) services_.messages.Error(Format("%s\nThe archive is damaged.%s", path_.c_str(), damage.c_str()));
}

void CDatFile::ReadEntry(int i, const DatDirectory& directory, std::vector<HeaderWord>& words) {
    TDatItem& item = table_[i];
    const std::string_view stored = directory.Name(size_t(i));
    for (size_t k = 0; k < stored.size(); ++k) item.name[k] = ToUpperAscii(stored[k]);
    const std::uint32_t offset = directory.Offset(size_t(i));
    item.offset = offset;
    item.size = directory.Size(size_t(i));
    const bool inside = directory.Inside(size_t(i));

    const IconKind kind = IconKindOfEntryName(item.Name());
    item.type = std::uint8_t(kind);
    if (kind == IconKind::Other) return;
    item.loadable = inside ? 1 : 0;
    if (kind == IconKind::Png) {
        item.icons = 9;
        return;
    }
    // The count word must lie inside the entry's own data; a shorter entry simply has no icons.
    const std::uint32_t at = kind == IconKind::Shp ? 4 : 0;
    if (inside && item.size >= at + 4) words.push_back({std::uint64_t(offset) + at, i});
}

void CDatFile::ReadHeaderWords(std::vector<HeaderWord>& words) {
    // A read costs about as much as copying a few kilobytes: words that lie close together (entries back to back,
    // as every writer lays them out) come from one read of the stretch that holds them.
    constexpr std::uint64_t kMostPerRead = 256 << 10;
    constexpr std::uint64_t kGapWorthReading = 4096;
    auto before = [](const HeaderWord& a, const HeaderWord& b) { return a.at < b.at; };
    if (!std::is_sorted(words.begin(), words.end(), before)) std::sort(words.begin(), words.end(), before);
    std::vector<std::uint8_t> block;
    for (size_t first = 0; first < words.size();) {
        size_t last = first;
        while (last + 1 < words.size() && words[last + 1].at + 4 - words[first].at <= kMostPerRead &&
               words[last + 1].at <= words[last].at + 4 + kGapWorthReading) {
            ++last;
        }
        const std::uint64_t begin = words[first].at;
        block.resize(size_t(words[last].at + 4 - begin));
        const size_t got = file_->ReadAt(begin, block.data(), block.size());
        for (size_t k = first; k <= last; ++k) {
            const size_t at = size_t(words[k].at - begin);
            if (at + 4 > got) continue;
            const std::int32_t count = std::int32_t(LoadU32(block.data() + at));
            if (count > 0) table_[words[k].index].icons = count;
        }
        first = last + 1;
    }
}

void CDatFile::MergeFakes(const std::string& keepPath) {
    CFakefile fakes;
    if (!fakes.Load(keepPath)) {
        SortTable();
        return;
    }
    if (total_ + fakes.Count() > MAX_DAT_ITEMS) {
        services_.messages.Error(Format("cannot add %d fake icons ...", fakes.Count()));
        return;
    }
    // Titles of the real entries; a later entry of the same title wins. The views point into the table,
    // whose real slots stay put until the sort below.
    std::unordered_map<std::string_view, int> byTitle;
    byTitle.reserve(size_t(realCount_) * 2);
    for (int i = 0; i < realCount_; ++i) byTitle[table_[i].Title()] = i;

    for (const auto& [fakeName, node] : fakes) {
        TDatItem& item = table_[total_];
        std::memset(static_cast<void*>(&item), 0, sizeof item);
        item.SetRealName(node.real);
        item.fake = 1;
        const auto found = byTitle.find(std::string_view(node.real));
        if (found != byTitle.end()) {
            const TDatItem& real = table_[found->second];
            item.SetName(fakeName + std::string(real.Extension()), 12);
            item.offset = real.offset;
            item.size = real.size;
            item.icons = real.icons;
            item.loadable = real.loadable;
            item.type = real.type;
        } else {
            item.SetName(fakeName + ".PNG", 12);
            item.icons = 9;
            item.type = std::uint8_t(IconKind::Png);
        }
        ++total_;
        ++fakeCount_;
    }
    SortTable();
}

void CDatFile::SortTable() {
    // Stable, so that entries of equal names keep their directory order. The real entries of an archive written
    // by any writer are sorted already: only what follows them (the fakes) is sorted, then merged in.
    TDatItem* begin = table_.get();
    TDatItem* end = begin + total_;
    TDatItem* sorted = std::is_sorted_until(begin, end, DatNameLess);
    std::stable_sort(sorted, end, DatNameLess);
    std::inplace_merge(begin, sorted, end, DatNameLess);
}

}  // namespace pixmond
