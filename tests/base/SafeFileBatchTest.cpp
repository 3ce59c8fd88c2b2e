#include <gtest/gtest.h>

#include <sys/stat.h>

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

    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 3);
    EXPECT_TRUE(SyncFileSystem(dir.Path()));
    EXPECT_FALSE(SyncFileSystem(dir / "missing"));
}

}  // namespace
}  // namespace pixmond
