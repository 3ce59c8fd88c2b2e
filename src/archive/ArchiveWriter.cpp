#include "archive/ArchiveWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cerrno>
#include <cstring>

#include "archive/DatDirectory.h"
#include "base/Format.h"
#include "base/KillPoint.h"
#include "base/UnnamedFile.h"

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

namespace {

enum class RangeCopy { Done, Unsupported, Failed };

// Copies size bytes of file from offset into out inside the kernel, without passing them through a buffer of ours.
// Unsupported when the kernel cannot do it for these two files; nothing was written then.
RangeCopy CopyRange(const ReadOnlyFile& file, std::uint64_t offset, std::uint64_t size, int out) {
    loff_t from = loff_t(offset);
    std::uint64_t done = 0;
    while (done < size) {
        KillPoint();
        const size_t chunk = size_t(std::min<std::uint64_t>(kCopyBuffer, size - done));
        const ssize_t put = ::copy_file_range(file.Descriptor(), &from, out, nullptr, chunk, 0);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && done == 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP))
            return RangeCopy::Unsupported;
        if (put <= 0) return RangeCopy::Failed;
        done += std::uint64_t(put);
    }
    return RangeCopy::Done;
}

}  // namespace

bool ArchiveWriter::WriteLooseFile(const ArchiveSource& source, std::uint64_t size, const std::filesystem::path& target,
                                   std::vector<std::uint8_t>& buffer, std::string& failure, bool flushNew) {
    // Written without a name (or beside the target under a temporary one) and named when complete, so that a
    // failure or a crash leaves the target complete or as it was. A file the user had is flushed before it is
    // replaced; a new one only when asked, a batch flushes its new files once at its end.
    static std::atomic<unsigned> serial{0};
    std::string temp;
    int fd = OpenUnnamed(target.parent_path());
    const bool unnamed = fd >= 0;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = Format("%s.tmp-%d-%u", target.c_str(), int(::getpid()), serial++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        failure = Format("Error on creating [%s]", target.c_str());
        return false;
    }
    bool ok = true;
    auto sink = [fd, &ok](const std::uint8_t* data, size_t count) {
        KillPoint();
        while (ok && count > 0) {
            const ssize_t put = ::write(fd, data, count);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) {
                ok = false;
            } else {
                data += put;
                count -= size_t(put);
            }
        }
        return ok;
    };
    const std::string name = target.filename().string();
    bool copied = false;
    const bool inRange =
        source.file && source.offset <= source.file->Size() && source.file->Size() - source.offset >= size;
    const RangeCopy inKernel = inRange ? CopyRange(*source.file, source.offset, size, fd) : RangeCopy::Unsupported;
    if (inKernel == RangeCopy::Failed) failure = Format("Writing %s failed (is the disk full?)", name.c_str());
    else copied = inKernel == RangeCopy::Done || CopySource(source, size, name, sink, buffer, failure);

    if (copied && ok) {
        if (flushNew && ::fsync(fd) != 0) ok = false;
        KillPoint();
        // Naming refuses to replace a file, so a new name costs no look of its own.
        int refused = 0;
        if (ok && !(unnamed ? GiveName(fd, target)
                            : ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0))
            refused = errno;
        if (refused == EEXIST || refused == EINVAL || refused == ENOSYS) {
            // A file of that name is there (or the disk cannot tell): it is replaced only by a copy on the disk,
            // with the permissions it had.
            if (unnamed) {
                temp = GiveNameBeside(fd, target).string();
                ok = !temp.empty();
            }
            struct stat info {};
            if (::stat(target.c_str(), &info) == 0) ::fchmod(fd, info.st_mode & 07777);
            ok = ok && (flushNew || ::fsync(fd) == 0) && std::rename(temp.c_str(), target.c_str()) == 0;
        } else if (refused != 0) {
            ok = false;
        }
        KillPoint();
    }
    if (::close(fd) != 0) ok = false;
    if (copied && ok) return true;
    if (copied) failure = Format("Error on creating [%s]", target.c_str());
    if (!temp.empty()) ::unlink(temp.c_str());
    return false;
}

}  // namespace pixmond
