#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pixmond {

struct FileEntry {
    std::string name;     // name with extension, as stored on disk
    std::uint64_t size = 0;
};

// The file operations the archive and image work relies on. Tests replace it to inject faults.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool Exists(const std::filesystem::path& path) const = 0;
    // Length in bytes; -1 when the file does not exist or is not a regular file.
    virtual std::int64_t Length(const std::filesystem::path& path) const = 0;
    // Regular files of folder whose names match a wildcard pattern ('*', '?'), without regard to case, sorted by name.
    virtual std::vector<FileEntry> List(const std::filesystem::path& folder, const std::string& pattern) const = 0;
    // Moves from over to, replacing to; the move is on disk when this returns true.
    virtual bool MoveReplace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Copies from over to; to is replaced in one step by a complete copy, or left as it was.
    virtual bool Copy(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Makes to a complete copy of from, replaced in one step like Copy, but as a second name of the same file
    // where the disk allows it (no bytes copied). Only for files nobody changes in place: rewrites go by rename.
    virtual bool KeepCopy(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual bool Remove(const std::filesystem::path& path) = 0;
    virtual bool CreateFolder(const std::filesystem::path& folder) = 0;
    // The path of the file in folder whose name equals name without regard to case; the exact name wins.
    virtual std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder,
                                                                  const std::string& name) const = 0;
};

// Wildcard match ('*' any run, '?' one character), without regard to ASCII case.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace pixmond
