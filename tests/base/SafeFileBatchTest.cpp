#include <gtest/gtest.h>

#include <functional>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/DiskSync.h"
#include "base/SafeFile.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

// Runs body in a child process that may not read every folder, so it cannot name a file by its descriptor
// alone; the child's exit code, -1 when it did not exit.
int WithoutReadAnyFolder(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
        ::syscall(SYS_capget, &header, data);
        data[0].effective &= ~(1u << CAP_DAC_READ_SEARCH);
        if (::syscall(SYS_capset, &header, data) != 0) ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A batch renames a new file into place without a flush of its own; a file that exists, or that appears while
// the new one is written, is still replaced the careful way, keeping its permissions. Nothing is left behind.
TEST(SafeFile, ABatchWritesNewFilesWholeAndReplacesExistingOnesAsAlways) {
    test::TempDir dir;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    auto commit = [](const fs::path& path, const std::string& text) {
        SafeFile file(path, SafeFile::Durability::kBatch);
        return file.Write(text.data(), text.size()) && file.Commit();
    };

    EXPECT_TRUE(commit(dir / "new.png", "fresh"));
    EXPECT_EQ(test::ReadText(dir / "new.png"), "fresh");
    EXPECT_EQ(ModeOf(dir / "new.png"), 0666 & ~mask);

    test::WriteText(dir / "old.png", "old");
    ::chmod((dir / "old.png").c_str(), 0604);
    EXPECT_TRUE(commit(dir / "old.png", "replaced"));
    EXPECT_EQ(test::ReadText(dir / "old.png"), "replaced");
    EXPECT_EQ(ModeOf(dir / "old.png"), mode_t(0604));

    {
        SafeFile late(dir / "late.png", SafeFile::Durability::kBatch);
        ASSERT_TRUE(late.Write("mine", 4));
        test::WriteText(dir / "late.png", "someone else's");
        EXPECT_TRUE(late.Commit());
    }
    EXPECT_EQ(test::ReadText(dir / "late.png"), "mine");

    // Named through /proc by a process without the right to name it by its descriptor.
    EXPECT_EQ(WithoutReadAnyFolder([&] { return commit(dir / "plain.png", "plain") ? 0 : 1; }), 0);
    EXPECT_EQ(test::ReadText(dir / "plain.png"), "plain");

    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 4);
    EXPECT_TRUE(SyncFileSystem(dir.Path()));
    EXPECT_FALSE(SyncFileSystem(dir / "missing"));
}

}  // namespace
}  // namespace pixmond
