#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "ui/FileSettings.h"
#include "base/Format.h"
#include "ui/LocalFileSystem.h"
#include "base/PathParts.h"
#include "support/RecordingMessages.h"
#include "support/RecordingProgress.h"
#include "base/SafeFile.h"
#include "base/TextCase.h"

namespace pixmond {
namespace {

TEST(Wildcard, MatchesWithoutRegardToCase) {
    EXPECT_TRUE(WildcardMatch("*.s??", "TIGER.S16"));
    EXPECT_TRUE(WildcardMatch("*.s??", "tiger.shp"));
    EXPECT_FALSE(WildcardMatch("*.s??", "tiger.png"));
    EXPECT_TRUE(WildcardMatch("*", ""));
    EXPECT_TRUE(WildcardMatch("a*b*c", "AxxBxxC"));
    EXPECT_FALSE(WildcardMatch("a*b*c", "AxxBxx"));
}

TEST(LocalFileSystem, ListsAndFindsWhateverTheCase) {
    test::TempDir dir;
    test::WriteText(dir / "Demo.KEEP", "x");
    test::WriteText(dir / "b.shp", "12");
    LocalFileSystem files;
    auto listed = files.List(dir.Path(), "*.keep");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "Demo.KEEP");
    auto found = files.FindIgnoringCase(dir.Path(), "demo.keep");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->filename(), "Demo.KEEP");
    EXPECT_EQ(files.Length(dir / "b.shp"), 2);
    EXPECT_EQ(files.Length(dir / "none"), -1);
}

// A copy replaces its target in one step and leaves nothing beside it, whichever way it is made.
TEST(LocalFileSystem, CopiesReplaceTheTargetWholeAndLeaveNothingBeside) {
    test::TempDir dir;
    LocalFileSystem files;
    test::WriteText(dir / "a.dat", "archive");
    test::WriteText(dir / "b.dat", "older backup");
    EXPECT_TRUE(files.KeepCopy(dir / "a.dat", dir / "b.dat"));
    EXPECT_EQ(test::ReadText(dir / "b.dat"), "archive");
    // Already a second name of the same file: the rename between them does nothing, the temporary name goes.
    EXPECT_TRUE(files.KeepCopy(dir / "a.dat", dir / "b.dat"));
    test::WriteText(dir / "c.dat", "old");
    EXPECT_TRUE(files.Copy(dir / "a.dat", dir / "c.dat"));
    EXPECT_EQ(test::ReadText(dir / "c.dat"), "archive");
    // A source that is not there leaves the target as it was.
    EXPECT_FALSE(files.Copy(dir / "none.dat", dir / "c.dat"));
    EXPECT_FALSE(files.KeepCopy(dir / "none.dat", dir / "c.dat"));
    EXPECT_EQ(test::ReadText(dir / "c.dat"), "archive");
    EXPECT_EQ(test::FilesUnder(dir.Path()), (std::vector<std::string>{"a.dat", "b.dat", "c.dat"}));
}

TEST(SafeFile, TargetUntouchedUntilCommitAndTempRemovedOnDiscard) {
    test::TempDir dir;
    test::WriteText(dir / "a.dat", "old");
    {
        SafeFile file(dir / "a.dat");
        ASSERT_TRUE(file.Write("new bytes", 9));
        EXPECT_EQ(test::ReadText(dir / "a.dat"), "old");
    }
    EXPECT_EQ(test::ReadText(dir / "a.dat"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    SafeFile file(dir / "a.dat");
    ASSERT_TRUE(file.Write("new", 3));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(test::ReadText(dir / "a.dat"), "new");
}

TEST(FileSettings, ValuesSurviveARestart) {
    test::TempDir dir;
    {
        FileSettings settings(dir / "cfg" / "settings.ini");
        settings.SetString("Settings", "Last", "C:\\game\\varnek2.dat");
        settings.SetInt("Settings", "Output image", 2);
        settings.SetString("FolderHistory", "Folder0000", "line\nbreak");
    }
    FileSettings again(dir / "cfg" / "settings.ini");
    EXPECT_EQ(again.GetString("Settings", "Last"), "C:\\game\\varnek2.dat");
    EXPECT_EQ(again.GetInt("Settings", "Output image", 0), 2);
    EXPECT_EQ(again.GetString("FolderHistory", "Folder0000"), "line\nbreak");
    EXPECT_EQ(again.GetInt("Settings", "Missing", 7), 7);
}

TEST(PathParts, SplitsWindowsAndPosixPaths) {
    auto p = PathParts::Of("D:\\game\\data.dat");
    EXPECT_EQ(p.folder, "D:\\game\\");
    EXPECT_EQ(p.title, "data");
    EXPECT_EQ(p.extension, ".dat");
    auto q = PathParts::Of("data");
    EXPECT_EQ(q.folder, "");
    EXPECT_EQ(q.extension, "");
    EXPECT_EQ(PathParts::Of("/tmp/x/tiger.shp").withoutExtension, "/tmp/x/tiger");
}

TEST(ProgressModel, PercentTextRewrittenOnlyWhenTheWholePercentChanges) {
    RecordingProgress progress;
    progress.SetRange(0, 1000);
    progress.SetText("Repacking 1000 files...");
    const int before = progress.TextRewrites();
    for (int i = 0; i < 1000; ++i) progress.StepIt();
    EXPECT_EQ(progress.TextRewrites() - before, 100);
    EXPECT_EQ(progress.ShownText(), "Repacking 1000 files...    [100%]");
    EXPECT_EQ(progress.Position(), 1000);
}

TEST(ProgressModel, EmptyRangeShowsZeroPercentAndCancelStops) {
    RecordingProgress progress(2);
    progress.SetRange(0, 0);
    progress.SetPos(5);
    EXPECT_EQ(progress.Percent(), 0);
    EXPECT_TRUE(progress.PeekAndPump());
    EXPECT_TRUE(progress.PeekAndPump());
    EXPECT_FALSE(progress.PeekAndPump());
    EXPECT_TRUE(progress.Cancelled());
    progress.Clear();
    EXPECT_FALSE(progress.Cancelled());
}

TEST(TextCase, ComparesInUpperCaseAndShowsWindows1252) {
    EXPECT_TRUE(EqualIgnoringCase("tiger.SHP", "TIGER.shp"));
    EXPECT_LT(CompareIgnoringCase("abc", "ABD"), 0);
    EXPECT_EQ(Latin1ToUtf8("Sd.Kfz\xe9\x80"), "Sd.Kfz\xc3\xa9\xe2\x82\xac");
    EXPECT_EQ(Format("%s_%03d%s", "tiger", 7, ".BMP"), "tiger_007.BMP");
}

}  // namespace
}  // namespace pixmond
