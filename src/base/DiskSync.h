#pragma once
#include <filesystem>

namespace pixmond {

// Flushes a file's data to the disk; false when it cannot be opened or flushed.
bool SyncFile(const std::filesystem::path& path);
// Flushes the folder's directory entry so a rename in it survives a crash.
void SyncFolder(const std::filesystem::path& folder);
// Flushes everything written to the file system that holds the folder (the end of a batch of new files);
// false when the folder cannot be opened or the flush fails.
bool SyncFileSystem(const std::filesystem::path& folder);

}  // namespace pixmond
