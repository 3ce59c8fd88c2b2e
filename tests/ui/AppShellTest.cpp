#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "ui/AppSettings.h"
#include "base/DisplayText.h"
#include "ui/FileSettings.h"
#include "ui/LocalFileSystem.h"
#include "ui/MemorySettings.h"
#include "ui/RecentFiles.h"
#include "support/RecordingMessages.h"
#include "support/RecordingShell.h"
#include "ui/ShellRules.h"

namespace pixmond {
namespace {

TEST(AppSettings, MissingValuesFollowTheLastArchive) {
    MemorySettings store;
    AppSettings empty(store);
    EXPECT_EQ(empty.Last(), "");
    EXPECT_EQ(empty.S16Folder(), "");
    EXPECT_EQ(empty.BmpFolder(), "");
    EXPECT_EQ(empty.PalFolder(), "");
    EXPECT_EQ(empty.IconsText(), "VARNEK2_V2.txt");
    EXPECT_EQ(empty.OutputImage(), 0);
    EXPECT_FALSE(empty.UseHistory());

    store.SetString("Settings", "Last", "/games/orvel/varnek2.dat");
    store.SetString("Settings", "BMP folder", "/pictures/");
    store.SetString("Settings", "PAL folder", "");
    store.SetInt("Settings", "Output image", 2);
    AppSettings loaded(store);
    EXPECT_EQ(loaded.LastFolder(), "/games/orvel/");
    EXPECT_EQ(loaded.S16Folder(), "/games/orvel/");
    EXPECT_EQ(loaded.BmpFolder(), "/pictures/");
    EXPECT_EQ(loaded.PalFolder(), "/games/orvel/");
    EXPECT_EQ(loaded.IconsText(), "/games/orvel/VARNEK2_V2.txt");
    EXPECT_STREQ(loaded.OutputExtension(), ".JPG");
}

TEST(AppSettings, SavedValuesSurviveARestartOfTheFileStore) {
    test::TempDir dir;
    const auto file = dir / "settings.ini";
    {
        FileSettings store(file);
        AppSettings settings(store);
        settings.SetLast("C:\\Orvel\\varnek2.dat");
        settings.SetS16Folder("/icons/");
        settings.SetIconsText("/icons/list.txt");
        settings.SetOutputImage(1);
        settings.SetUseHistory(true);
        ASSERT_TRUE(store.Flush());
    }
    FileSettings again(file);
    AppSettings read(again);
    EXPECT_EQ(read.Last(), "C:\\Orvel\\varnek2.dat");
    EXPECT_EQ(read.LastFolder(), "C:\\Orvel\\");
    EXPECT_EQ(read.S16Folder(), "/icons/");
    EXPECT_EQ(read.BmpFolder(), "C:\\Orvel\\");
    EXPECT_EQ(read.IconsText(), "/icons/list.txt");
    EXPECT_EQ(read.OutputImage(), 1);
    EXPECT_TRUE(read.UseHistory());
    EXPECT_STREQ(read.OutputExtension(), ".PNG");
}

TEST(FrameTitle, FolderBrowserShowsVersionArchiveBrowserThePathCutToFit) {
    EXPECT_EQ(FrameTitle(1, "3.51.2", "/any/thing.dat"), "Pixmond 3.51.2");
    EXPECT_EQ(FrameTitle(0, "3.51.2", "D:\\game\\data.dat"), "Pixmond 3.51.2 * D:\\game\\data.dat");

    const std::string longPath = "D:\\Program Files\\Games\\Orvel Gold Edition\\Data\\Icons\\varnek2.dat";
    const std::string cut = ShortenPath(longPath, 50);
    EXPECT_LE(cut.size(), 50u);
    EXPECT_EQ(cut.substr(0, 4), "D:..");
    EXPECT_EQ(cut, "D:..\\Orvel Gold Edition\\Data\\Icons\\varnek2.dat");
    EXPECT_EQ(ShortenPath("/home/user/a/very/long/folder/name/that/goes/on/and/on/varnek2.dat", 50),
              "/home../name/that/goes/on/and/on/varnek2.dat");
    // A name too long for the room is kept whole rather than cut in the middle.
    const std::string hugeName = "/x/" + std::string(60, 'n') + ".dat";
    EXPECT_EQ(ShortenPath(hugeName, 50), "/x.." + hugeName.substr(2));
}

TEST(Help, FirstExistingFileWinsThenTheReadmeAtItsDesktopSectionAndFailuresNameTheFile) {
    test::TempDir archiveDir, install;
    const std::filesystem::path programDir = install / "bin";
    std::filesystem::create_directories(programDir);
    LocalFileSystem files;
    RecordingShell shell;
    RecordingMessages messages;
    const std::string archive = archiveDir.File("varnek2.dat");

    // No help anywhere: said, with the places looked at; no address is made up.
    EXPECT_FALSE(OpenHelp(shell, messages, files, archive, programDir));
    EXPECT_TRUE(shell.urls.empty());
    ASSERT_EQ(messages.Errors().size(), 1u);
    EXPECT_NE(messages.Errors()[0].find((install / "share/doc/pixmond/README.md").string()), std::string::npos);

    // The README installed with the program, then the one beside a program in its build folder.
    test::WriteText(programDir / "README.md", "# Pixmond");
    ASSERT_TRUE(OpenHelp(shell, messages, files, archive, programDir));
    std::filesystem::create_directories(install / "share/doc/pixmond");
    test::WriteText(install / "share/doc/pixmond/README.md", "# Pixmond");
    ASSERT_TRUE(OpenHelp(shell, messages, files, archive, programDir));
    const std::string section = "#the-desktop-program-pixmond";
    const std::string installed = install.File("share/doc/pixmond/README.md");
    EXPECT_EQ(shell.urls, (std::vector<std::string>{"file://" + (programDir / "README.md").string() + section,
                                                    "file://" + installed + section}));
    EXPECT_EQ(FileUrl("/a b/K\xC3\xB6nig#1.md"), "file:///a%20b/K%C3%B6nig%231.md");

    test::WriteText(programDir / "orvel_shp_readme.htm", "x");
    OpenHelp(shell, messages, files, archive, programDir);
    test::WriteText(archiveDir / "orvel_shp_readme.htm", "x");
    OpenHelp(shell, messages, files, archive, programDir);
    test::WriteText(programDir / "orvel_shp_tool.chm", "x");
    OpenHelp(shell, messages, files, archive, programDir);
    test::WriteText(archiveDir / "orvel_shp_tool.chm", "x");
    OpenHelp(shell, messages, files, archive, programDir);
    EXPECT_EQ(shell.opened, (std::vector<std::filesystem::path>{programDir / "orvel_shp_readme.htm",
                                                                archiveDir / "orvel_shp_readme.htm",
                                                                programDir / "orvel_shp_tool.chm",
                                                                archiveDir / "orvel_shp_tool.chm"}));
    EXPECT_EQ(shell.urls.size(), 2u);

    // A viewer that cannot be started: the file is named with its folder.
    shell.noViewer = true;
    std::filesystem::remove(archiveDir / "orvel_shp_tool.chm");
    std::filesystem::remove(archiveDir / "orvel_shp_readme.htm");
    std::filesystem::remove(programDir / "orvel_shp_tool.chm");
    std::filesystem::remove(programDir / "orvel_shp_readme.htm");
    EXPECT_FALSE(OpenHelp(shell, messages, files, archive, programDir));
    EXPECT_EQ(messages.Errors().back(), "No program could be started to show the help file README.md.\nIt is in " +
                                            install.File("share/doc/pixmond"));
}

TEST(RecentFiles, KeepsSixNewestFirstWithoutDuplicates) {
    MemorySettings store;
    RecentFiles recent;
    for (int i = 1; i <= 8; ++i) recent.Add("/a/" + std::to_string(i) + ".dat");
    recent.Add("/A/5.DAT");
    ASSERT_EQ(recent.Paths().size(), 6u);
    EXPECT_EQ(recent.Paths()[0], "/A/5.DAT");
    EXPECT_EQ(recent.Paths()[1], "/a/8.dat");
    EXPECT_EQ(recent.Paths()[5], "/a/3.dat");
    recent.Save(store);
    RecentFiles read;
    read.Load(store);
    EXPECT_EQ(read.Paths(), recent.Paths());
    recent.Remove("/a/8.dat");
    recent.Save(store);
    EXPECT_FALSE(store.Has("Recent File List", "File6"));
}

TEST(DisplayText, Utf8StaysAndOtherBytesReadAsWindows1252) {
    EXPECT_EQ(DisplayText("plain.shp"), "plain.shp");
    EXPECT_EQ(DisplayText("K\xC3\xB6nig.shp"), "K\xC3\xB6nig.shp");
    EXPECT_EQ(DisplayText("K\xF6nig.shp"), "K\xC3\xB6nig.shp");
    EXPECT_EQ(DisplayText("\x80uro"), "\xE2\x82\xAC" "uro");
    EXPECT_FALSE(IsValidUtf8("\xC3"));              // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));   // outside the basic plane
}

}  // namespace
}  // namespace pixmond
