#pragma once
#include <filesystem>

namespace pixmond {

// Flushes a file's data to the disk; false when it cannot be opened or flushed.
bool SyncFile(const std::filesystem::path& path);
// Flushes the folder's directory entry so a rename in it survives a crash.
void SyncFolder(const std::filesystem::path& folder);
// Flushes everything written to the disk that holds folder: one pass at the end of a batch of new files.
void SyncFileSystem(const std::filesystem::path& folder);

}  // namespace pixmond
