#include "archive/CDatFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "archive/CFakefile.h"
#include "base/ByteReader.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {

constexpr std::uint64_t kRecordBytes = 17;

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
}

CDatFile::~CDatFile() = default;

void CDatFile::ClearTable() { std::memset(static_cast<void*>(table_.get()), 0, sizeof(TDatItem) * kDatTableSlots); }

void CDatFile::CloseFile() { file_.reset(); }

bool CDatFile::Load(const std::string& path, bool interactive, Access access) {
    if (!services_.files.Exists(path)) {
        services_.messages.Notice(Format("%s not found", path.c_str()));
        return false;
    }
    CloseFile();
    std::shared_ptr<ReadOnlyFile> file;
    if (access == Access::ReadOnly || CanWrite(path)) file = ReadOnlyFile::Open(path);
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

void CDatFile::ReadDirectory(bool interactive) {
    ClearTable();
    damaged_ = 0;
    const std::uint64_t fileSize = file_->Size();
    std::uint8_t countBytes[4] = {};
    const std::uint64_t claimed = file_->ReadExact(0, countBytes, 4) ? LoadU32(countBytes) : 0;
    // Only records the file really holds are read; a directory that promises more is cut to them.
    const std::uint64_t held = fileSize >= 4 ? (fileSize - 4) / kRecordBytes : 0;
    const std::uint64_t records = std::min(claimed, held);
    const std::uint64_t entries = records > 0 ? records - 1 : 0;
    realCount_ = int(std::min<std::uint64_t>(entries, MAX_DAT_ITEMS));
    if (entries > std::uint64_t(MAX_DAT_ITEMS)) {
        const int shown = int(std::min<std::uint64_t>(entries, 0x7fffffff));
        services_.messages.Error(Format("Only %d / %d icons will be loaded...", MAX_DAT_ITEMS, shown));
    }

    auto progress = services_.progress.OpenStatusBar("", 80, realCount_);
    if (interactive) progress->SetText(Format("Loading %s ", PathParts::Of(path_).name.c_str()));
    loaded_ = true;

    const auto directory = file_->ReadBlock(4, size_t(realCount_ + 1) * kRecordBytes);
    const size_t usable = directory.size() / kRecordBytes;
    if (usable < size_t(realCount_ + 1)) realCount_ = usable > 0 ? int(usable - 1) : 0;
    for (int i = 0; i < realCount_; ++i) {
        const std::uint8_t* record = directory.data() + size_t(i) * kRecordBytes;
        ReadEntry(i, record, LoadU32(record + kRecordBytes));
        if (interactive) progress->StepIt();
    }

    std::string damage;
    if (claimed > held && claimed > 1) {
        damage += Format("\nIts directory lists %llu entries, but the file holds only %d of them.",
                         (unsigned long long)(claimed - 1), realCount_);
    }
    if (damaged_ > 0) {
        damage += Format("\n%d entries point outside the file; they are listed but cannot be shown.", damaged_);
    }
    if (!damage.empty()) services_.messages.Error(Format("%s\nThe archive is damaged.%s", path_.c_str(), damage.c_str()));
}

void CDatFile::ReadEntry(int i, const std::uint8_t* record, std::uint32_t nextOffset) {
    TDatItem& item = table_[i];
    const std::uint32_t offset = LoadU32(record);
    char upper[kDatNameBytes];
    for (int k = 0; k < kDatNameBytes; ++k) upper[k] = ToUpperAscii(char(record[4 + k]));
    std::memcpy(item.name, upper, kDatNameBytes);
    // Bytes after the terminating zero are not part of the name.
    const size_t length = ::strnlen(upper, kDatNameBytes);
    std::memset(item.name + length, 0, kDatNameBytes - length);
    item.offset = offset;
    item.size = nextOffset >= offset ? nextOffset - offset : 0;
    const bool inside = nextOffset >= offset && nextOffset <= file_->Size();
    if (!inside) ++damaged_;

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
    std::uint8_t word[4];
    if (inside && item.size >= at + 4 && file_->ReadExact(std::uint64_t(offset) + at, word, 4)) {
        const std::int32_t count = std::int32_t(LoadU32(word));
        if (count > 0) item.icons = count;
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
    // Stable, so that entries of equal names keep their directory order.
    std::stable_sort(table_.get(), table_.get() + total_, DatNameLess);
}

}  // namespace pixmond
