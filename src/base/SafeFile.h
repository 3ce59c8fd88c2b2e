#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>

namespace pixmond {

// Writes beside the target, flushes, then renames over it; the target is untouched on any failure.
// Buffered through stdio with a large buffer: big archives stream without a flush per entry.
class SafeFile {
public:
    // How Commit makes the file durable. kBatch is for the many new files of one batch: a file that did not
    // exist is renamed into place without a flush of its own (complete or absent after a crash of the
    // program), and the batch ends with SyncFileSystem; a file that existed is still flushed before it is
    // replaced.
    enum class Durability { kEachFile, kBatch };

    explicit SafeFile(std::filesystem::path target, Durability durability = Durability::kEachFile);
    ~SafeFile();  // not committed: the temporary file is removed
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    bool Write(std::span<const std::uint8_t> bytes);
    bool Write(const void* data, size_t size);
    bool WriteU32(std::uint32_t value);
    // Position of the next byte written, counted from the start of the new file.
    std::uint64_t Position() const { return written_; }
    // Rewrites bytes already written (a directory filled in after the data); the position stays.
    bool Patch(std::uint64_t at, const void* data, size_t size);
    bool Failed() const { return failed_; }
    // fflush, fsync, rename; false leaves the target as it was.
    bool Commit();
    void Discard();
    const std::filesystem::path& TempPath() const { return temp_; }
    const std::filesystem::path& Target() const { return target_; }
    // The stream, for writers (libpng, libjpeg) that want a FILE*.
    std::FILE* Stream() { return file_; }

private:
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::unique_ptr<char[]> buffer_;  // the stream's buffer; the destructor closes the stream first
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;
    Durability durability_ = Durability::kEachFile;
    bool failed_ = false;
    bool committed_ = false;
};

}  // namespace pixmond
