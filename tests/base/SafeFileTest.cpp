#include <gtest/gtest.h>

#include "base/SafeFile.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;

// Every way the new file can fail to arrive leaves the old target byte for byte and no temporary file beside it.
TEST(SafeFile, AFailedWriteOrRenameLeavesTheTargetAsItWas) {
    test::TempDir dir;
    const fs::path target = dir / "kept.bin";
    const std::vector<std::uint8_t> old(100, 7);
    const std::vector<std::uint8_t> big(3 << 20, 1);  // more than the writer's buffer, in one call
    // The child's exit code: 0 when every call answered as it must.
    struct Case {
        const char* what;
        std::function<int()> write;
    };
    const Case fullDisk[] = {
        {"one write larger than the buffer", [&] {
             SafeFile file(target);
             const bool wrote = file.Write(big);
             return wrote ? 1 : file.Commit() ? 2 : 0;
         }},
        {"small writes that fail only at the flush", [&] {
             SafeFile file(target);
             for (int i = 0; i < 200; ++i)
                 if (!file.Write(big.data(), 1000)) return 3;
             return file.Commit() ? 2 : 0;
         }},
        {"a failed write ignored by its caller", [&] {
             SafeFile file(target);
             file.Write(big);
             file.Write(big.data(), 10);
             return file.Commit() ? 2 : 0;
         }},
    };
    for (const Case& c : fullDisk) {
        SCOPED_TRACE(c.what);
        test::WriteBytes(target, old);
        EXPECT_EQ(test::RunWithFileSizeLimit(64 * 1024, c.write), 0);
        EXPECT_EQ(test::ReadBytes(target), old);
        EXPECT_EQ(test::FilesUnder(dir.Path()), std::vector<std::string>{"kept.bin"});
    }

    // The final rename fails: the target is a folder.
    fs::create_directories(dir / "folder" / "inside");
    SafeFile onFolder(dir / "folder");
    EXPECT_TRUE(onFolder.Write(old));
    EXPECT_FALSE(onFolder.Commit());
    EXPECT_TRUE(fs::is_directory(dir / "folder" / "inside"));
    EXPECT_EQ(test::FilesUnder(dir.Path()), std::vector<std::string>{"kept.bin"});

    // Nothing is written through a writer that could not open its temporary file.
    SafeFile nowhere(dir / "no" / "such" / "folder.bin");
    EXPECT_FALSE(nowhere.IsOpen());
    EXPECT_FALSE(nowhere.Write(old));
    EXPECT_FALSE(nowhere.Commit());
}

}  // namespace
}  // namespace pixmond
