#pragma once
#include <filesystem>

namespace pixmond {

// New files written without a name in their folder: if the program stops before the file is complete it leaves
// nothing behind, and the name appears in one step when it is given.

// Opens a file without a name in the folder for writing; -1 where the file system cannot make one, or the file
// could not be given a name later.
int OpenUnnamed(const std::filesystem::path& folder);
// Gives the open file without a name the path; fails (errno EEXIST) when something has that name already.
bool GiveName(int fd, const std::filesystem::path& path);
// Gives it a temporary name beside the target ("<target>.tmp-xxxxxx"), for a rename over the target; empty when
// none could be given.
std::filesystem::path GiveNameBeside(int fd, const std::filesystem::path& target);

}  // namespace pixmond
