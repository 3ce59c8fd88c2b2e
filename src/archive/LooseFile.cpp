#include "archive/LooseFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <utility>

#include "base/Format.h"
#include "base/KillPoint.h"
#include "base/UnnamedFile.h"

namespace pixmond {

namespace {

constexpr size_t kCopyStep = 1 << 20;

enum class RangeCopy { Done, Unsupported, Failed };

// Copies size bytes of file from offset into out inside the kernel, without passing them through a buffer of ours.
// Unsupported when the kernel cannot do it for these two files; nothing was written then.
RangeCopy CopyRange(const ReadOnlyFile& file, std::uint64_t offset, std::uint64_t size, int out) {
    loff_t from = loff_t(offset);
    std::uint64_t done = 0;
    while (done < size) {
        KillPoint();
        const size_t chunk = size_t(std::min<std::uint64_t>(kCopyStep, size - done));
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

LooseFile::LooseFile(const ArchiveSource& source, std::uint64_t size, std::filesystem::path target,
                     std::vector<std::uint8_t>& buffer)
    : target_(std::move(target)) {
    if (!Open()) {
        failure_ = Format("Error on creating [%s]", target_.c_str());
        return;
    }
    Fill(source, size, buffer);
}

LooseFile::LooseFile(LooseFile&& other) noexcept { *this = std::move(other); }

LooseFile& LooseFile::operator=(LooseFile&& other) noexcept {
    if (this == &other) return *this;
    Drop();
    target_ = std::move(other.target_);
    temp_ = std::exchange(other.temp_, {});
    fd_ = std::exchange(other.fd_, -1);
    unnamed_ = other.unnamed_;
    filled_ = other.filled_;
    named_ = other.named_;
    failure_ = std::move(other.failure_);
    return *this;
}

LooseFile::~LooseFile() { Drop(); }

bool LooseFile::Open() {
    fd_ = OpenUnnamed(target_.parent_path());
    unnamed_ = fd_ >= 0;
    // Where the file system cannot make a file without a name, a temporary one no other run will pick.
    const auto seed = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    for (std::uint64_t attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
        temp_ = Format("%s.tmp-%d-%llx", target_.c_str(), int(::getpid()),
                       (unsigned long long)((seed + attempt * 7919) & 0xFFFFFFF));
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) temp_.clear();
    return fd_ >= 0;
}

void LooseFile::Fill(const ArchiveSource& source, std::uint64_t size, std::vector<std::uint8_t>& buffer) {
    bool written = true;
    auto sink = [this, &written](const std::uint8_t* data, size_t count) {
        KillPoint();
        while (written && count > 0) {
            const ssize_t put = ::write(fd_, data, count);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) {
                written = false;
            } else {
                data += put;
                count -= size_t(put);
            }
        }
        return written;
    };
    const std::string name = target_.filename().string();
    const bool inRange =
        source.file && source.offset <= source.file->Size() && source.file->Size() - source.offset >= size;
    const RangeCopy inKernel = inRange ? CopyRange(*source.file, source.offset, size, fd_) : RangeCopy::Unsupported;
    if (inKernel == RangeCopy::Failed) failure_ = Format("Writing %s failed (is the disk full?)", name.c_str());
    else filled_ = inKernel == RangeCopy::Done || ArchiveWriter::CopySource(source, size, name, sink, buffer, failure_);
    if (filled_ && !written) {
        filled_ = false;
        failure_ = Format("Error on creating [%s]", target_.c_str());
    }
}

bool LooseFile::Name(bool flushNew) {
    if (!filled_ || named_) return false;
    bool ok = !flushNew || ::fsync(fd_) == 0;
    KillPoint();
    // Naming refuses to replace a file, so a new name costs no look of its own.
    int refused = 0;
    if (ok && !(unnamed_ ? GiveName(fd_, target_)
                         : ::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0))
        refused = errno;
    if (refused == EEXIST || refused == EINVAL || refused == ENOSYS) ok = Replace(flushNew);
    else if (refused != 0) ok = false;
    KillPoint();
    named_ = ok;
    if (ok) temp_.clear();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ok = false;
    if (!ok) failure_ = Format("Error on creating [%s]", target_.c_str());
    return ok;
}

// A file of that name is there (or the disk cannot tell): it is replaced only by a copy on the disk, with the
// permissions it had.
bool LooseFile::Replace(bool flushNew) {
    if (unnamed_) {
        temp_ = GiveNameBeside(fd_, target_).string();
        if (temp_.empty()) return false;
    }
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) ::fchmod(fd_, info.st_mode & 07777);
    return (flushNew || ::fsync(fd_) == 0) && std::rename(temp_.c_str(), target_.c_str()) == 0;
}

void LooseFile::Drop() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!named_ && !temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

bool LooseFile::Write(const ArchiveSource& source, std::uint64_t size, const std::filesystem::path& target,
                      std::vector<std::uint8_t>& buffer, std::string& failure, bool flushNew) {
    LooseFile file(source, size, target, buffer);
    if (file.Name(flushNew)) return true;
    failure = file.Failure();
    return false;
}

}  // namespace pixmond
