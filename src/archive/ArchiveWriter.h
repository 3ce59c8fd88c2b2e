#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "base/SafeFile.h"

namespace pixmond {

// Where the bytes of one entry come from: a range of an open file (an archive), a loose file opened when
// its turn comes, or bytes made in memory (an entry built anew).
struct ArchiveSource {
    std::shared_ptr<ReadOnlyFile> file;
    std::filesystem::path path;
    std::uint64_t offset = 0;
    std::shared_ptr<const std::vector<std::uint8_t>> bytes = nullptr;  // when set, the entry's bytes from offset on
};

struct ArchivePlanEntry {
    std::string name;  // written as 13 bytes: at most 12 characters and a zero
    std::uint32_t size = 0;
    ArchiveSource source;
};

// Writes an archive: the entry count plus one, the directory with the offsets the sizes give, the
// terminator, then every entry's bytes in the same order. Entries are read ahead on a small pool of threads;
// the calling thread writes, reports progress and answers for cancel.
class ArchiveWriter {
public:
    enum class Result { Ok, Cancelled, Failed };
    // Called after each entry with the number written so far; false stops the writing (cancel).
    using AfterEntry = std::function<bool(size_t done)>;

    explicit ArchiveWriter(SafeFile& out) : out_(out) {}
    Result Write(const std::vector<ArchivePlanEntry>& entries, const AfterEntry& afterEntry = {});
    // Why the last Write failed, for the user.
    const std::string& Failure() const { return failure_; }

    // Copies size bytes of a source into out; false (with a reason) when the source cannot give them all.
    static bool CopySource(const ArchiveSource& source, std::uint64_t size, const std::string& name,
                           const std::function<bool(const std::uint8_t*, size_t)>& sink, std::vector<std::uint8_t>& buffer,
                           std::string& failure);

private:
    bool WriteDirectory(const std::vector<ArchivePlanEntry>& entries);
    bool WriteBytes(const std::uint8_t* data, size_t size);
    bool StreamEntry(const ArchivePlanEntry& entry, std::vector<std::uint8_t>& buffer);
    SafeFile& out_;
    std::string failure_;
    std::uint64_t kicked_ = 0;  // bytes already handed to the disk's writeback
};

}  // namespace pixmond
