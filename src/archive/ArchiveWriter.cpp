#include "archive/ArchiveWriter.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "archive/DatDirectory.h"
#include "base/Format.h"
#include "base/KillPoint.h"
#include "base/OrderedWork.h"

namespace pixmond {

namespace {
constexpr size_t kCopyBuffer = 1 << 20;
constexpr std::uint64_t kWritebackStep = 8 << 20;
constexpr const char* kWriteFailed = "Writing the new archive failed (is the disk full?)";
// Entries are read and written in groups of about this many bytes: one write per group instead of one per entry,
// and few enough groups in flight that memory stays small whatever the archive holds.
constexpr std::uint64_t kGroupBytes = 256 << 10;

// Consecutive entries read together by one worker. An entry from memory or larger than a group is a group of its
// own that the writing thread streams itself.
struct EntryGroup {
    size_t first = 0;
    size_t end = 0;
    std::uint64_t bytes = 0;
    bool streamed = false;
};

// What a worker read for a group: its bytes, or why they could not be read.
struct GroupBytes {
    std::unique_ptr<std::uint8_t[]> bytes;  // kGroupBytes long, filled as far as the group's entries go
    std::string failure;
};

// Group buffers handed back after writing and taken again by the readers: no page is faulted in twice.
class BufferShelf {
public:
    std::unique_ptr<std::uint8_t[]> Take() {
        std::lock_guard lock(mutex_);
        if (spare_.empty()) return std::make_unique_for_overwrite<std::uint8_t[]>(kGroupBytes);
        auto buffer = std::move(spare_.back());
        spare_.pop_back();
        return buffer;
    }
    void Put(std::unique_ptr<std::uint8_t[]> buffer) {
        if (!buffer) return;
        std::lock_guard lock(mutex_);
        spare_.push_back(std::move(buffer));
    }

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<std::uint8_t[]>> spare_;
};

// The open file behind a source, checked to hold size bytes from its offset; null (with a reason) otherwise.
std::shared_ptr<ReadOnlyFile> OpenSource(const ArchiveSource& source, std::uint64_t size, const std::string& name,
                                         std::string& failure) {
    std::shared_ptr<ReadOnlyFile> file = source.file;
    if (!file) {
        file = ReadOnlyFile::Open(source.path);
        if (!file) {
            failure = Format("[%s] cannot be read.", source.path.c_str());
            return nullptr;
        }
        // The directory already promised this size; a file that changed since cannot keep that promise.
        if (file->Size() != size + source.offset) {
            failure = Format("[%s] changed while it was being packed.", source.path.c_str());
            return nullptr;
        }
    }
    if (source.offset > file->Size() || file->Size() - source.offset < size) {
        failure = Format("The data of %s lies outside [%s].", name.c_str(), file->Path().c_str());
        return nullptr;
    }
    return file;
}

std::vector<EntryGroup> GroupEntries(const std::vector<ArchivePlanEntry>& entries) {
    std::vector<EntryGroup> groups;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::uint64_t size = entries[i].size;
        const bool alone = entries[i].source.bytes != nullptr || size > kGroupBytes;
        if (!alone && !groups.empty() && !groups.back().streamed && groups.back().bytes + size <= kGroupBytes) {
            groups.back().end = i + 1;
            groups.back().bytes += size;
        } else {
            groups.push_back({i, i + 1, size, alone});
        }
    }
    return groups;
}

GroupBytes ReadGroup(const std::vector<ArchivePlanEntry>& entries, const EntryGroup& group, BufferShelf& shelf) {
    GroupBytes got;
    if (group.streamed) return got;
    got.bytes = shelf.Take();
    std::uint8_t* at = got.bytes.get();
    for (size_t i = group.first; i < group.end; ++i) {
        const ArchivePlanEntry& e = entries[i];
        const auto file = OpenSource(e.source, e.size, e.name, got.failure);
        if (!file) return got;
        if (!file->ReadExact(e.source.offset, at, e.size)) {
            got.failure = Format("[%s] cannot be read.", file->Path().c_str());
            return got;
        }
        at += e.size;
    }
    return got;
}
}  // namespace

bool ArchiveWriter::WriteDirectory(const std::vector<ArchivePlanEntry>& entries) {
    std::vector<std::uint8_t> directory;
    const std::uint64_t end = DatDirectory::Encode(
        entries.size(), [&entries](size_t i) { return DatDirectory::Shape{entries[i].name, entries[i].size}; }, directory);
    // Offsets are 32-bit: an archive that outgrows them cannot be written at all.
    if (end > DatDirectory::kMaxEnd) {
        failure_ = Format("The new archive would hold %llu bytes, more than an archive can address.",
                          (unsigned long long)end);
        return false;
    }
    return WriteBytes(directory.data(), directory.size());
}

ArchiveWriter::Result ArchiveWriter::Write(const std::vector<ArchivePlanEntry>& entries, const AfterEntry& afterEntry) {
    failure_.clear();
    kicked_ = 0;
    if (!out_.IsOpen() || !WriteDirectory(entries)) {
        if (failure_.empty()) failure_ = "The new archive cannot be created.";
        return Result::Failed;
    }
    // The pool's workers read the groups ahead while this thread writes the ones before them: opening and
    // reading thousands of small files costs about as much as writing them, and the two overlap.
    const std::vector<EntryGroup> groups = GroupEntries(entries);
    BufferShelf shelf;
    std::vector<std::uint8_t> streamBuffer;
    bool cancelled = false;
    bool stopped = false;  // the groups read ahead of a failure or a cancel are dropped unwritten
    const std::function<GroupBytes(int, int)> read = [&](int job, int) {
        return ReadGroup(entries, groups[size_t(job)], shelf);
    };
    const std::function<bool(int, GroupBytes&)> write = [&](int job, GroupBytes& got) {
        if (stopped) return false;
        const EntryGroup& group = groups[size_t(job)];
        bool written = got.failure.empty();
        if (!written) failure_ = got.failure;
        else written = group.streamed ? StreamEntry(entries[group.first], streamBuffer)
                                      : WriteBytes(got.bytes.get(), size_t(group.bytes));
        shelf.Put(std::move(got.bytes));
        stopped = !written;
        for (size_t i = group.first; !stopped && i < group.end; ++i) {
            KillPoint();  // each entry handed over is a step of the write, as when entries went one by one
            cancelled = stopped = afterEntry && !afterEntry(i + 1);
        }
        return !stopped;
    };
    if (!OrderedWork::Run<GroupBytes>(int(groups.size()), OrderedWork::DefaultWorkers(), read, write))
        return cancelled ? Result::Cancelled : Result::Failed;
    return Result::Ok;
}

bool ArchiveWriter::WriteBytes(const std::uint8_t* data, size_t size) {
    if (size > 0 && !out_.Write(data, size)) {
        failure_ = kWriteFailed;
        return false;
    }
    // Starts the disk writing while the copy goes on, so the flush at the end has little left to wait for.
    if (out_.Position() - kicked_ >= kWritebackStep && out_.Stream() && std::fflush(out_.Stream()) == 0) {
        ::sync_file_range(::fileno(out_.Stream()), off64_t(kicked_), off64_t(out_.Position() - kicked_),
                          SYNC_FILE_RANGE_WRITE);
        kicked_ = out_.Position();
    }
    return true;
}

bool ArchiveWriter::StreamEntry(const ArchivePlanEntry& e, std::vector<std::uint8_t>& buffer) {
    bool writeFailed = false;
    auto sink = [this, &writeFailed](const std::uint8_t* data, size_t size) {
        writeFailed = !WriteBytes(data, size);
        return !writeFailed;
    };
    if (CopySource(e.source, e.size, e.name, sink, buffer, failure_)) return true;
    if (writeFailed) failure_ = kWriteFailed;
    return false;
}

bool ArchiveWriter::CopySource(const ArchiveSource& source, std::uint64_t size, const std::string& name,
                               const std::function<bool(const std::uint8_t*, size_t)>& sink,
                               std::vector<std::uint8_t>& buffer, std::string& failure) {
    if (source.bytes) {
        if (source.offset > source.bytes->size() || source.bytes->size() - source.offset < size) {
            failure = Format("The new data of %s is shorter than its directory says.", name.c_str());
            return false;
        }
        if (size > 0 && !sink(source.bytes->data() + source.offset, size_t(size))) {
            failure = Format("Writing %s failed (is the disk full?)", name.c_str());
            return false;
        }
        return true;
    }
    const auto file = OpenSource(source, size, name, failure);
    if (!file) return false;
    if (buffer.empty()) buffer.resize(kCopyBuffer);
    std::uint64_t done = 0;
    while (done < size) {
        const size_t chunk = size_t(std::min<std::uint64_t>(buffer.size(), size - done));
        if (!file->ReadExact(source.offset + done, buffer.data(), chunk)) {
            failure = Format("[%s] cannot be read.", file->Path().c_str());
            return false;
        }
        if (!sink(buffer.data(), chunk)) {
            failure = Format("Writing %s failed (is the disk full?)", name.c_str());
            return false;
        }
        done += chunk;
    }
    return true;
}

}  // namespace pixmond
