#include "base/ReadOnlyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pixmond {

std::shared_ptr<ReadOnlyFile> ReadOnlyFile::Open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<ReadOnlyFile>(new ReadOnlyFile(fd, std::uint64_t(info.st_size), path));
}

std::shared_ptr<ReadOnlyFile> ReadOnlyFile::FromBytes(std::vector<std::uint8_t> bytes, std::filesystem::path path) {
    const std::uint64_t size = bytes.size();
    std::shared_ptr<ReadOnlyFile> file(new ReadOnlyFile(-1, size, std::move(path)));
    file->bytes_ = std::move(bytes);
    return file;
}

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
}

size_t ReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, size_t count) const {
    if (offset >= size_) return 0;
    if (count > size_ - offset) count = size_t(size_ - offset);
    if (fd_ < 0) {
        if (count > 0) std::memcpy(buffer, bytes_.data() + offset, count);
        return count;
    }
    size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        const ssize_t got = ::pread(fd_, out + done, count - done, off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += size_t(got);
    }
    return done;
}

std::vector<std::uint8_t> ReadOnlyFile::ReadBlock(std::uint64_t offset, size_t count) const {
    if (offset >= size_) return {};
    if (count > size_ - offset) count = size_t(size_ - offset);
    std::vector<std::uint8_t> out(count);
    out.resize(ReadAt(offset, out.data(), count));
    return out;
}

}  // namespace pixmond
