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
    // exist takes its name when it is complete, without a flush of its own (so a crash of the program leaves it
    // complete or absent), and the batch ends with SyncFileSystem; a file that existed is still flushed before
    // it is replaced. Where it can, a batch writes its files without a name until then, leaving no temporary.
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
    // A new file of a batch takes the target's name without a flush; false when something has the name already.
    bool CommitNew();
    // Gives the file without a name a temporary one beside the target.
    bool NameBeside();
    // Writes a big block past the stream's buffer, after what the buffer holds. The stream's cached offset
    // goes stale by the block: fseek (as Patch does) sets it right, ftell on Stream() would not.
    bool WriteDirect(const void* data, size_t size);

    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::unique_ptr<char[]> buffer_;  // the stream's buffer; the destructor closes the stream first
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;
    Durability durability_ = Durability::kEachFile;
    bool unnamed_ = false;  // the file has no name in the folder yet
    bool failed_ = false;
    bool committed_ = false;
};

}  // namespace pixmond
