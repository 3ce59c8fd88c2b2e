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
    AppSettings empty;
    empty.Load(store);
    EXPECT_EQ(empty.last, "");
    EXPECT_EQ(empty.s16Folder, "");
    EXPECT_EQ(empty.bmpFolder, "");
    EXPECT_EQ(empty.palFolder, "");
    EXPECT_EQ(empty.iconsText, "VARNEK2_V2.txt");
    EXPECT_EQ(empty.outputImage, 0);
    EXPECT_EQ(empty.useHistory, 0);

    store.SetString("Settings", "Last", "/games/orvel/varnek2.dat");
    store.SetString("Settings", "BMP folder", "/pictures/");
    store.SetString("Settings", "PAL folder", "");
    store.SetInt("Settings", "Output image", 2);
    AppSettings loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.lastFolder, "/games/orvel/");
    EXPECT_EQ(loaded.s16Folder, "/games/orvel/");
    EXPECT_EQ(loaded.bmpFolder, "/pictures/");
    EXPECT_EQ(loaded.palFolder, "/games/orvel/");
    EXPECT_EQ(loaded.iconsText, "/games/orvel/VARNEK2_V2.txt");
    EXPECT_STREQ(loaded.OutputExtension(), ".JPG");
}

TEST(AppSettings, SavedValuesSurviveARestartOfTheFileStore) {
    test::TempDir dir;
    const auto file = dir / "settings.ini";
    {
        FileSettings store(file);
        AppSettings settings;
        settings.Load(store);
        settings.last = "C:\\Orvel\\varnek2.dat";
        settings.s16Folder = "/icons/";
        settings.iconsText = "/icons/list.txt";
        settings.outputImage = 1;
        settings.useHistory = 1;
        settings.Save(store);
        ASSERT_TRUE(store.Flush());
    }
    FileSettings again(file);
    AppSettings read;
    read.Load(again);
    EXPECT_EQ(read.last, "C:\\Orvel\\varnek2.dat");
    EXPECT_EQ(read.lastFolder, "C:\\Orvel\\");
    EXPECT_EQ(read.s16Folder, "/icons/");
    EXPECT_EQ(read.bmpFolder, "C:\\Orvel\\");
    EXPECT_EQ(read.iconsText, "/icons/list.txt");
    EXPECT_EQ(read.outputImage, 1);
    EXPECT_EQ(read.useHistory, 1);
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
    EXPECT_EQ(shell.urls, (std::vector<std::string>{
                              "file://" + (programDir / "README.md").string() + "#the-desktop-program-pixmond",
                              "file://" + install.File("share/doc/pixmond/README.md") + "#the-desktop-program-pixmond"}));
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
