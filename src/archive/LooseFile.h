#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"

namespace pixmond {

// One entry's bytes written as a file of its own: without a name (or beside the target under a temporary one)
// until complete, then named in one step, so a failure or a crash leaves the target complete or as it was.
// Writing and naming are two steps because they scale differently: files are written side by side on several
// threads, while a folder takes one new name at a time, so a batch names its files on one thread.
class LooseFile {
public:
    // Writes size bytes of the source; Failed() afterwards says whether it could.
    LooseFile(const ArchiveSource& source, std::uint64_t size, std::filesystem::path target,
              std::vector<std::uint8_t>& buffer);
    ~LooseFile();  // a file not named is removed
    LooseFile(LooseFile&& other) noexcept;
    LooseFile& operator=(LooseFile&& other) noexcept;
    LooseFile(const LooseFile&) = delete;
    LooseFile& operator=(const LooseFile&) = delete;

    // Gives the file its target's name. A file the user had there is replaced only by a copy flushed to disk,
    // with the permissions it had; a new file is flushed only with flushNew (a batch flushes all its new files
    // once at its end). False, with Failure() set, when the file was not written whole or could not be named.
    bool Name(bool flushNew);
    const std::string& Failure() const { return failure_; }

    // Both steps on the calling thread.
    static bool Write(const ArchiveSource& source, std::uint64_t size, const std::filesystem::path& target,
                      std::vector<std::uint8_t>& buffer, std::string& failure, bool flushNew);

private:
    bool Open();
    void Fill(const ArchiveSource& source, std::uint64_t size, std::vector<std::uint8_t>& buffer);
    bool Replace(bool flushNew);
    void Drop();  // closes the file and removes it unless it was named

    std::filesystem::path target_;
    std::string temp_;  // the temporary name, where the file has one
    int fd_ = -1;
    bool unnamed_ = false;
    bool filled_ = false;
    bool named_ = false;
    std::string failure_;
};

}  // namespace pixmond
