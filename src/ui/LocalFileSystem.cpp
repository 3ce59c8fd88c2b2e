#include "ui/LocalFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/DiskSync.h"
#include "base/KillPoint.h"
#include "base/TextCase.h"

namespace pixmond {

namespace fs = std::filesystem;

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    // Iterative match with one backtrack point: linear in practice, no recursion on hostile names.
    size_t p = 0, n = 0, star = std::string::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || ToUpperAscii(pattern[p]) == ToUpperAscii(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool LocalFileSystem::Exists(const fs::path& path) const {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::int64_t LocalFileSystem::Length(const fs::path& path) const {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return -1;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : std::int64_t(size);
}

std::vector<FileEntry> LocalFileSystem::List(const fs::path& folder, const std::string& pattern) const {
    std::vector<FileEntry> out;
    std::error_code ec;
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    // Sizes are asked relative to the open folder: no walk down the whole path for each of thousands of files.
    const int dir = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc)) continue;
        const std::string name = it->path().filename().string();
        if (!WildcardMatch(pattern, name)) continue;
        struct stat st {};
        const bool sized = dir >= 0 && ::fstatat(dir, name.c_str(), &st, 0) == 0;
        out.push_back({name, sized ? std::uint64_t(st.st_size) : std::uint64_t(it->file_size(fileEc))});
    }
    if (dir >= 0) ::close(dir);
    std::sort(out.begin(), out.end(), [](const FileEntry& a, const FileEntry& b) {
        return CompareIgnoringCase(a.name, b.name) < 0;
    });
    return out;
}

bool LocalFileSystem::MoveReplace(const fs::path& from, const fs::path& to) {
    if (!SyncFile(from)) return false;
    KillPoint();
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    KillPoint();
    SyncFolder(to.parent_path());
    return true;
}

namespace {

// A name beside target that nobody else uses: target + ".tmp-XXXXXX", created empty.
std::optional<fs::path> TempBeside(const fs::path& target) {
    std::string pattern = target.string() + ".tmp-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return std::nullopt;
    ::close(fd);
    return fs::path(pattern);
}

}  // namespace

bool LocalFileSystem::Copy(const fs::path& from, const fs::path& to) {
    // Copied beside the target and renamed over it, so a failure or a kill never leaves half a copy in its place.
    const auto temp = TempBeside(to);
    if (!temp) return false;
    std::error_code ec;
    fs::copy_file(from, *temp, fs::copy_options::overwrite_existing, ec);
    KillPoint();
    if (ec || !MoveReplace(*temp, to)) {
        fs::remove(*temp, ec);
        return false;
    }
    return true;
}

bool LocalFileSystem::KeepCopy(const fs::path& from, const fs::path& to) {
    const auto temp = TempBeside(to);
    if (!temp) return false;
    std::error_code ec;
    fs::remove(*temp, ec);
    const bool linked = ::link(from.c_str(), temp->c_str()) == 0;
    KillPoint();
    if (!linked) {
        fs::remove(*temp, ec);
        return Copy(from, to);
    }
    // A rename between two names of one file does nothing: when to already was from, the temporary name stays.
    const bool moved = MoveReplace(*temp, to);
    fs::remove(*temp, ec);
    return moved;
}

bool LocalFileSystem::Remove(const fs::path& path) {
    std::error_code ec;
    return fs::remove(path, ec) && !ec;
}

bool LocalFileSystem::CreateFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

std::optional<fs::path> LocalFileSystem::FindIgnoringCase(const fs::path& folder, const std::string& name) const {
    const fs::path base = folder.empty() ? fs::path(".") : folder;
    std::error_code ec;
    if (fs::is_regular_file(base / name, ec)) return folder / name;
    std::optional<fs::path> found;
    for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (EqualIgnoringCase(candidate, name)) {
            if (!found || candidate < found->filename().string()) found = folder / candidate;
        }
    }
    return found;
}

}  // namespace pixmond
