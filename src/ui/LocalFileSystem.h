#pragma once
#include "ui/FileSystem.h"

namespace pixmond {

// The real disk.
class LocalFileSystem : public FileSystem {
public:
    bool Exists(const std::filesystem::path& path) const override;
    std::int64_t Length(const std::filesystem::path& path) const override;
    std::vector<FileEntry> List(const std::filesystem::path& folder, const std::string& pattern) const override;
    bool MoveReplace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool Copy(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool KeepCopy(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool Remove(const std::filesystem::path& path) override;
    bool CreateFolder(const std::filesystem::path& folder) override;
    std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder,
                                                          const std::string& name) const override;
};

}  // namespace pixmond
