#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "ui/FolderHistory.h"
#include "base/Format.h"
#include "ui/LocalFileSystem.h"
#include "ui/MemorySettings.h"
#include "ui/Pickers.h"
#include "support/RecordingMessages.h"
#include "support/ScriptedPickers.h"

namespace pixmond {
namespace {

constexpr const char* kSection = "FolderHistory";

std::string Name(int index) { return Format("Folder%04d", index); }

void StoreEntries(MemorySettings& store, int count) {
    for (int i = 0; i < count; ++i) store.SetString(kSection, Name(i), Format("/f/%d/", i));
}

TEST(FolderHistory, SavingSixtyEntriesWithMaximumFiftyWritesFiftyOneAndDropsTheRest) {
    MemorySettings store;
    StoreEntries(store, 60);
    FolderHistory history(kSection, "Folder", 100);
    history.Load(store);
    ASSERT_EQ(history.Entries().size(), 60u);
    history.SetMaximum(50);
    history.SetCurrent("");
    history.Save(store);
    for (int i = 0; i <= 50; ++i) EXPECT_TRUE(store.Has(kSection, Name(i))) << i;
    EXPECT_EQ(store.GetString(kSection, "Folder0050"), "/f/50/");
    for (int i = 51; i < 60; ++i) EXPECT_FALSE(store.Has(kSection, Name(i))) << i;
}

TEST(FolderHistory, LoadStopsAtTheMaximumAndTheFirstGapAndRestoresTheLastEntry) {
    MemorySettings store;
    StoreEntries(store, 5);
    store.Remove(kSection, "Folder0003");
    store.SetString(kSection, "Folder", "/f/1/");
    FolderHistory history(kSection, "Folder", 100);
    history.Load(store);
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"/f/0/", "/f/1/", "/f/2/"}));
    EXPECT_EQ(history.Selection(), 1);

    store.SetString(kSection, "Folder", "/typed/");
    FolderHistory small(kSection, "Folder", 2);
    small.Load(store);
    EXPECT_EQ(small.Entries().size(), 2u);
    EXPECT_EQ(small.Selection(), -1);
    EXPECT_EQ(small.Current(), "/typed/");

    FolderHistory checked(kSection, "Folder", 100);
    checked.SetExistenceCheck([](const std::string& path) { return path != "/f/1/"; });
    checked.Load(store);
    EXPECT_EQ(checked.Entries(), (std::vector<std::string>{"/f/0/", "/f/2/"}));
}

TEST(FolderHistory, AddTrimsMovesToTheTopAndKeepsTheMaximum) {
    FolderHistory history(kSection, "Folder", 3);
    EXPECT_EQ(history.Add("/a/"), 0);
    EXPECT_EQ(history.Add("/b/"), 0);
    EXPECT_EQ(history.Add("   /a/  "), 0);
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"/a/", "/b/"}));
    EXPECT_EQ(history.Add("    "), -1);
    history.Add("/c/");
    history.Add("/d/");
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"/d/", "/c/", "/a/"}));
    EXPECT_EQ(history.Selection(), 0);
    EXPECT_EQ(history.Current(), "/d/");

    FolderHistory plain;
    EXPECT_EQ(plain.Add(" x "), 0);
    EXPECT_EQ(plain.Add(" x "), 1);
    EXPECT_EQ(plain.Entries()[1], " x ");
}

TEST(FolderHistory, SaveAddsTheTypedTextAndClearEmptiesTheStore) {
    MemorySettings store;
    FolderHistory history(kSection, "Folder", 50);
    history.Add("/a/");
    history.SetCurrent("  /typed/ ");
    history.Save(store);
    EXPECT_EQ(store.GetString(kSection, "Folder0000"), "/typed/");
    EXPECT_EQ(store.GetString(kSection, "Folder0001"), "/a/");
    EXPECT_EQ(store.GetString(kSection, "Folder"), "/typed/");

    FolderHistory keep(kSection, "Folder", 50);
    keep.Load(store);
    keep.Clear(nullptr);
    EXPECT_TRUE(keep.Entries().empty());
    EXPECT_TRUE(store.Has(kSection, "Folder0000"));
    keep.Clear(&store);
    EXPECT_FALSE(store.Has(kSection, "Folder0000"));
    EXPECT_FALSE(store.Has(kSection, "Folder0001"));
    EXPECT_FALSE(store.Has(kSection, "Folder"));
}

TEST(FolderPicker, ResultEndsInOneSeparatorAndBadChoicesAreRefused) {
    EXPECT_EQ(WithTrailingSeparator("/home/icons"), "/home/icons/");
    EXPECT_EQ(WithTrailingSeparator("/home/icons/"), "/home/icons/");
    EXPECT_EQ(WithTrailingSeparator("/"), "/");
    EXPECT_EQ(WithTrailingSeparator("C:\\"), "C:\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\Games"), "C:\\Games\\");
    EXPECT_EQ(WithTrailingSeparator(""), "");

    test::TempDir dir;
    LocalFileSystem files;
    RecordingMessages messages;
    EXPECT_FALSE(AcceptChosenFolder("", files, messages));
    EXPECT_FALSE(AcceptChosenFolder(dir.File("gone"), files, messages));
    EXPECT_TRUE(AcceptChosenFolder(dir.Path().string(), files, messages));
    EXPECT_EQ(messages.Notices(), (std::vector<std::string>{"Please select a folder.",
                                                           "The folder '" + dir.File("gone") + "' isn't accessible."}));
}

TEST(FilePicker, FiltersParseIntoDescriptionsAndPatterns) {
    const auto entries = ParseFilter("Pictures (*.bmp;*.png)|*.bmp;*.png|All files (*.*)|*.*||");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description, "Pictures (*.bmp;*.png)");
    EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.bmp", "*.png"}));
    EXPECT_EQ(entries[1].patterns, (std::vector<std::string>{"*.*"}));
    EXPECT_TRUE(ParseFilter("Broken|").empty());

    ScriptedPickers pickers;
    pickers.QueueFolder("/x");
    EXPECT_EQ(pickers.PickFolder("/start/", ""), "/x/");
    EXPECT_EQ(pickers.PickFolder("/start/", "Select new folder"), "");
    EXPECT_EQ(pickers.PickFile("/a/b.bmp", "", "", ".bmp", false), "");
    ASSERT_EQ(pickers.requests.size(), 3u);
    EXPECT_EQ(pickers.requests[0].title, "Select Folder");
    EXPECT_EQ(pickers.requests[2].kind, "save");
    EXPECT_EQ(pickers.requests[2].title, "Select File");
    EXPECT_EQ(pickers.requests[2].filter, "All files (*.*)|*.*|");
}

}  // namespace
}  // namespace pixmond
