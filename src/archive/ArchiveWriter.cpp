#include "archive/ArchiveWriter.h"

#include <fcntl.h>

#include <algorithm>
#include <cstdio>
#include <cerrno>
#include <cstring>

#include "archive/DatDirectory.h"
#include "base/Format.h"

namespace pixmond {

namespace {
constexpr size_t kCopyBuffer = 1 << 20;
constexpr std::uint64_t kWritebackStep = 8 << 20;
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
    if (!out_.Write(directory.data(), directory.size())) {
        failure_ = "Writing the new archive failed (is the disk full?)";
        return false;
    }
    return true;
}

ArchiveWriter::Result ArchiveWriter::Write(const std::vector<ArchivePlanEntry>& entries, const AfterEntry& afterEntry) {
    failure_.clear();
    if (!out_.IsOpen() || !WriteDirectory(entries)) {
        if (failure_.empty()) failure_ = "The new archive cannot be created.";
        return Result::Failed;
    }
    std::vector<std::uint8_t> buffer(kCopyBuffer);
    bool writeFailed = false;
    auto sink = [this, &writeFailed](const std::uint8_t* data, size_t size) {
        writeFailed = !out_.Write(data, size);
        return !writeFailed;
    };
    std::uint64_t kicked = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        if (!CopySource(e.source, e.size, e.name, sink, buffer, failure_)) {
            if (writeFailed) failure_ = "Writing the new archive failed (is the disk full?)";
            return Result::Failed;
        }
        // Starts the disk writing while the copy goes on, so the flush at the end has little left to wait for.
        if (out_.Position() - kicked >= kWritebackStep && out_.Stream() && std::fflush(out_.Stream()) == 0) {
            ::sync_file_range(::fileno(out_.Stream()), off64_t(kicked), off64_t(out_.Position() - kicked),
                              SYNC_FILE_RANGE_WRITE);
            kicked = out_.Position();
        }
        if (afterEntry && !afterEntry(i + 1)) return Result::Cancelled;
    }
    return Result::Ok;
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
    std::shared_ptr<ReadOnlyFile> file = source.file;
    if (!file) {
        file = ReadOnlyFile::Open(source.path);
        if (!file) {
            failure = Format("[%s] cannot be read.", source.path.c_str());
            return false;
        }
        // The directory already promised this size; a file that changed since cannot keep that promise.
        if (file->Size() != size + source.offset) {
            failure = Format("[%s] changed while it was being packed.", source.path.c_str());
            return false;
        }
    }
    if (source.offset > file->Size() || file->Size() - source.offset < size) {
        failure = Format("The data of %s lies outside [%s].", name.c_str(), file->Path().c_str());
        return false;
    }
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
