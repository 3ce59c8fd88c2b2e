#include "base/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "base/DiskSync.h"
#include "base/KillPoint.h"

namespace pixmond {

namespace fs = std::filesystem;

namespace {
constexpr size_t kBufferSize = 1 << 20;
}

SafeFile::SafeFile(fs::path target) : target_(std::move(target)) {
    std::string pattern = target_.string() + ".tmp-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        failed_ = true;
        return;
    }
    temp_ = pattern;
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        ::unlink(temp_.c_str());
        failed_ = true;
        return;
    }
    // glibc ignores the size unless it is given the buffer itself.
    buffer_ = std::make_unique<char[]>(kBufferSize);
    std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
}

SafeFile::~SafeFile() {
    if (!committed_) Discard();
}

bool SafeFile::Write(std::span<const std::uint8_t> bytes) { return Write(bytes.data(), bytes.size()); }

bool SafeFile::Write(const void* data, size_t size) {
    if (!file_ || failed_) return false;
    KillPoint();
    if (size && std::fwrite(data, 1, size, file_) != size) {
        failed_ = true;
        return false;
    }
    written_ += size;
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
    bool ok = std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
    ok = (std::fclose(file_) == 0) && ok;
    KillPoint();
    file_ = nullptr;
    if (ok) {
        // Keep the permissions an existing target had; a new file gets the usual 0644 under the umask.
        std::error_code ec;
        const auto status = fs::status(target_, ec);
        if (!ec && fs::exists(status)) {
            fs::permissions(temp_, status.permissions(), ec);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::chmod(temp_.c_str(), 0666 & ~mask);
        }
        ok = std::rename(temp_.c_str(), target_.c_str()) == 0;
        KillPoint();
    }
    if (!ok) {
        Discard();
        return false;
    }
    SyncFolder(target_.parent_path());
    committed_ = true;
    return true;
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
