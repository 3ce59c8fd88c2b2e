#include "base/SafeFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "base/DiskSync.h"
#include "base/KillPoint.h"
#include "base/UnnamedFile.h"

namespace pixmond {

namespace fs = std::filesystem;

namespace {
constexpr size_t kBufferSize = 1 << 20;
// Blocks this big go straight to the file: copying them through the stream's buffer first only costs time.
constexpr size_t kDirectWrite = 128 << 10;

// The process's file-creation mask, read once: asking umask() means setting it for a moment, which files
// created by other threads at that moment would see.
mode_t CreationMask() {
    static const mode_t mask = [] {
        if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            unsigned value = 0;
            bool found = false;
            while (!found && std::fgets(line, sizeof line, status)) found = std::sscanf(line, "Umask: %o", &value) == 1;
            std::fclose(status);
            if (found) return mode_t(value);
        }
        const mode_t old = ::umask(0);
        ::umask(old);
        return old;
    }();
    return mask;
}

// Renames only when nothing has the target's name yet.
bool RenameIfNew(const fs::path& from, const fs::path& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

}  // namespace

SafeFile::SafeFile(fs::path target, Durability durability) : target_(std::move(target)), durability_(durability) {
    // A new file of a batch starts without a name and takes the target's only when it is complete.
    int fd = durability_ == Durability::kBatch ? OpenUnnamed(target_.parent_path()) : -1;
    unnamed_ = fd >= 0;
    if (!unnamed_) {
        std::string pattern = target_.string() + ".tmp-XXXXXX";
        fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            failed_ = true;
            return;
        }
        temp_ = pattern;
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        if (!temp_.empty()) ::unlink(temp_.c_str());
        temp_.clear();
        failed_ = true;
        return;
    }
    // glibc ignores the size unless it is given the buffer itself.
    buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
    std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
}

SafeFile::~SafeFile() {
    if (!committed_) Discard();
}

bool SafeFile::Write(std::span<const std::uint8_t> bytes) { return Write(bytes.data(), bytes.size()); }

bool SafeFile::Write(const void* data, size_t size) {
    if (!file_ || failed_) return false;
    KillPoint();
    const bool written = size >= kDirectWrite ? WriteDirect(data, size) : std::fwrite(data, 1, size, file_) == size;
    if (!written) {
        failed_ = true;
        return false;
    }
    written_ += size;
    return true;
}

bool SafeFile::WriteDirect(const void* data, size_t size) {
    if (std::fflush(file_) != 0) return false;
    const int fd = ::fileno(file_);
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = ::write(fd, bytes, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        size -= size_t(put);
    }
    return true;
}

bool SafeFile::WriteU32(std::uint32_t value) {
    const std::uint8_t bytes[4] = {std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
                                   std::uint8_t(value >> 24)};
    return Write(bytes, 4);
}

bool SafeFile::Patch(std::uint64_t at, const void* data, size_t size) {
    if (!file_ || failed_ || at + size > written_) return false;
    if (std::fseek(file_, long(at), SEEK_SET) != 0 || std::fwrite(data, 1, size, file_) != size ||
        std::fseek(file_, 0, SEEK_END) != 0) {
        failed_ = true;
        return false;
    }
    return true;
}

bool SafeFile::Commit() {
    if (!file_ || failed_) {
        Discard();
        return false;
    }
    KillPoint();
    bool ok = std::fflush(file_) == 0;
    if (ok && durability_ == Durability::kBatch && CommitNew()) return true;
    // The target is replaced: the new file is flushed, named beside it and renamed over it.
    ok = ok && ::fsync(::fileno(file_)) == 0 && (!unnamed_ || NameBeside());
    ok = (std::fclose(file_) == 0) && ok;
    KillPoint();
    file_ = nullptr;
    if (ok) {
        // Keep the permissions an existing target had; a new file gets the usual 0644 under the umask.
        std::error_code ec;
        const auto status = fs::status(target_, ec);
        if (!ec && fs::exists(status)) fs::permissions(temp_, status.permissions(), ec);
        else ::chmod(temp_.c_str(), 0666 & ~CreationMask());
        ok = std::rename(temp_.c_str(), target_.c_str()) == 0;
        KillPoint();
    }
    if (!ok) {
        Discard();
        return false;
    }
    temp_.clear();
    SyncFolder(target_.parent_path());
    committed_ = true;
    return true;
}

bool SafeFile::CommitNew() {
    if (unnamed_) {
        if (!GiveName(::fileno(file_), target_)) return false;
    } else {
        ::fchmod(::fileno(file_), 0666 & ~CreationMask());
        if (!RenameIfNew(temp_, target_)) return false;
        temp_.clear();
    }
    // The data is in the system's hands and the name in place; the batch flushes both with its file system.
    std::fclose(file_);
    file_ = nullptr;
    committed_ = true;
    return true;
}

bool SafeFile::NameBeside() {
    temp_ = GiveNameBeside(::fileno(file_), target_);
    return !temp_.empty();
}

void SafeFile::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    failed_ = true;
}

}  // namespace pixmond
