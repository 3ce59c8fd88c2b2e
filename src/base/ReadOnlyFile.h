#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace pixmond {

// A file opened for reading at any offset (pread), with its length taken once at open. The SHP and S16
// readers of an archive share the archive's one open file and read each entry at its base offset.
// Bytes already in memory can stand in for a file, so a reader can be handed them without a disk.
class ReadOnlyFile {
public:
    static std::shared_ptr<ReadOnlyFile> Open(const std::filesystem::path& path);
    // The bytes read as a file of their length; path is only the name it answers Path() with.
    static std::shared_ptr<ReadOnlyFile> FromBytes(std::vector<std::uint8_t> bytes, std::filesystem::path path = {});
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::uint64_t Size() const { return size_; }
    const std::filesystem::path& Path() const { return path_; }
    // Reads up to count bytes at offset; returns the number read (short at the end of the file).
    size_t ReadAt(std::uint64_t offset, void* buffer, size_t count) const;
    // Reads exactly count bytes; false when the file ends first.
    bool ReadExact(std::uint64_t offset, void* buffer, size_t count) const {
        return ReadAt(offset, buffer, count) == count;
    }
    // Reads up to count bytes into a vector sized to what was read.
    std::vector<std::uint8_t> ReadBlock(std::uint64_t offset, size_t count) const;

private:
    ReadOnlyFile(int fd, std::uint64_t size, std::filesystem::path path) : fd_(fd), size_(size), path_(std::move(path)) {}
    int fd_;  // -1 for bytes in memory
    std::uint64_t size_;
    std::filesystem::path path_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace pixmond
