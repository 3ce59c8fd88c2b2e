#include "base/UnnamedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace pixmond {

namespace fs = std::filesystem;

int OpenUnnamed(const fs::path& folder) {
    // The name is given through the process's descriptor folder; without it the file could never be named.
    static const bool canName = ::access("/proc/self/fd", X_OK) == 0;
    if (!canName) return -1;
    return ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

bool GiveName(int fd, const fs::path& path) {
    // Named by its descriptor where the system allows it (recent kernels for a file the process opened itself,
    // older ones only for a process that may read any folder); else through /proc, a path walk dearer per file.
    if (::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno != ENOENT) return false;
    char link[40];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, link, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

fs::path GiveNameBeside(int fd, const fs::path& target) {
    const auto seed = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    for (std::uint64_t attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".tmp-%06llx", (unsigned long long)((seed + attempt * 7919) & 0xFFFFFF));
        fs::path name = target.string() + suffix;
        if (GiveName(fd, name)) return name;
        if (errno != EEXIST) break;
    }
    return {};
}

}  // namespace pixmond
