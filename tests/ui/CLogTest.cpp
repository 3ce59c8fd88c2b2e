#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "ui/CLog.h"
#include "support/RecordingMessages.h"
#include "support/RecordingShell.h"

namespace pixmond {
namespace {

TEST(CLog, CreatesTheFileOnTheFirstLineAndShowsItOnClose) {
    test::TempDir dir;
    RecordingMessages messages;
    RecordingShell shell;
    CLog log(messages, shell);
    log.OpenForArchive(dir.File("data.dat"));
    EXPECT_EQ(log.Name(), dir.File("Err_data.log"));
    log.Close(true);
    EXPECT_FALSE(std::filesystem::exists(dir / "Err_data.log"));
    EXPECT_TRUE(shell.opened.empty());

    log.OpenForArchive(dir.File("data.dat"));
    log.Printf("%s excluded", "a_b.png");
    log.Append("tail %d", 7);
    log.Write("after");
    log.Close(true);
    EXPECT_EQ(test::ReadText(dir / "Err_data.log"), "a_b.png excluded\ntail 7after\n");
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], dir / "Err_data.log");
    EXPECT_FALSE(log.Enabled());

    // Without a viewer the log is still named, with its folder.
    shell.noViewer = true;
    log.OpenForArchive(dir.File("data.dat"));
    log.Write("line");
    log.Close(true);
    const std::string said = "No program could be started to show Err_data.log.\nIt is in " + dir.Path().string();
    EXPECT_EQ(messages.Errors(), std::vector<std::string>{said});
}

TEST(CLog, MakesMissingFoldersAndFallsBackToMessageBoxes) {
    test::TempDir dir;
    RecordingMessages messages;
    RecordingShell shell;
    CLog log(messages, shell);
    EXPECT_EQ(CLog::NameForArchive("data.dat"), "Err_data.log");
    log.SetName(dir.File("deep/er/x.log"));
    log.Write("line");
    log.Close(false);
    EXPECT_EQ(test::ReadText(dir / "deep/er/x.log"), "line\n");
    EXPECT_TRUE(shell.opened.empty());

    log.SetName("");
    log.Write("shown instead");
    EXPECT_EQ(messages.Errors(), std::vector<std::string>{"shown instead"});

    test::WriteText(dir / "file", "x");
    log.SetName(dir.File("file/x.log"));
    log.Write("lost");
    EXPECT_EQ(messages.Errors().back(), "Error on creating [" + dir.File("file/x.log") + "]");
}

}  // namespace
}  // namespace pixmond
