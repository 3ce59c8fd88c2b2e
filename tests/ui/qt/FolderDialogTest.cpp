#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <QTreeView>

#include "support/TestFiles.h"
#include "ui/LocalFileSystem.h"
#include "ui/MemorySettings.h"
#include "support/RecordingMessages.h"
#include "ui/qt/CHistoryCombo.h"
#include "ui/qt/CXFolderDialog.h"

namespace pixmond {
namespace {

TEST(FolderDialog, RefusesEmptyAndMissingFoldersAndRemembersTheChosenOne) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "icons");
    MemorySettings store;
    store.SetString("FolderHistory", "Folder0000", "/earlier/");
    LocalFileSystem files;
    RecordingMessages messages;
    CXFolderDialog dialog({}, "Select new folder", true, store, files, messages);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select new folder"));
    ASSERT_EQ(dialog.Combo()->count(), 1);
    EXPECT_EQ(dialog.Combo()->itemText(0), QStringLiteral("/earlier/"));

    dialog.Combo()->SetText("");
    dialog.Tree()->setCurrentIndex({});
    dialog.Combo()->SetText("");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    const std::string missing = dir.File("missing");
    dialog.Combo()->SetText(missing);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(messages.Notices(), (std::vector<std::string>{"Please select a folder.",
                                                           "The folder '" + missing + "' isn't accessible."}));

    const std::string icons = dir.File("icons");
    dialog.Combo()->SetText(icons);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen(), icons + "/");
    EXPECT_EQ(store.GetString("FolderHistory", "Folder0000"), icons);
    EXPECT_EQ(store.GetString("FolderHistory", "Folder0001"), "/earlier/");
    EXPECT_EQ(store.GetString("FolderHistory", "Folder"), icons);
}

TEST(FolderDialog, WithoutHistoryNothingIsReadOrWritten) {
    test::TempDir dir;
    MemorySettings store;
    store.SetString("FolderHistory", "Folder0000", "/earlier/");
    LocalFileSystem files;
    RecordingMessages messages;
    CXFolderDialog dialog(dir.Path().string(), "", false, store, files, messages);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Folder"));
    EXPECT_EQ(dialog.Combo()->count(), 0);
    dialog.Combo()->SetText(dir.Path().string());
    dialog.accept();
    EXPECT_EQ(dialog.Chosen(), dir.Path().string() + "/");
    EXPECT_FALSE(store.Has("FolderHistory", "Folder0001"));
}

// The picker opens at the folder it is given, with the history on or off, not at the root.
TEST(FolderDialog, OpensAtTheFolderItIsGiven) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "icons" / "deeper");
    MemorySettings store;
    store.SetString("FolderHistory", "Folder0000", "/earlier/");
    LocalFileSystem files;
    RecordingMessages messages;
    // Given as the browsers keep it (a trailing separator), or relative to the working folder (--folder icons).
    const std::string relative = std::filesystem::relative(dir / "icons").string();
    for (const bool history : {false, true}) {
        CXFolderDialog dialog(history ? dir.File("icons") + "/" : relative, "Select new folder", history, store, files,
                              messages);
        dialog.show();
        // The folder is in sight once the tree has read the folders above it, not the root at the top.
        QTreeView* tree = dialog.Tree();
        EXPECT_TRUE(QTest::qWaitFor([tree] {
            return tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex()));
        }, 3000)) << history;
        EXPECT_EQ(dialog.Combo()->Text(), dir.File("icons")) << history;
        dialog.accept();
        EXPECT_EQ(dialog.Chosen(), dir.File("icons") + "/") << history;
    }
    // Given no folder: the working folder, or with the history the folder chosen last.
    CXFolderDialog fresh({}, "Select folder", false, store, files, messages);
    EXPECT_EQ(fresh.Combo()->Text(), std::filesystem::current_path().string());
    CXFolderDialog again({}, "Select folder", true, store, files, messages);
    EXPECT_EQ(again.Combo()->Text(), dir.File("icons"));
}

}  // namespace
}  // namespace pixmond
