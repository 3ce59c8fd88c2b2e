#include <gtest/gtest.h>

#include "archive/CDatFile.h"
#include "browser/CDatViewModel.h"
#include "browser/DatArchiveCommands.h"
#include "browser/FilterLog.h"
#include "support/ArchiveBuilder.h"
#include "support/DatSample.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "ui/AppSettings.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"

namespace pixmond {
namespace {

class DatArchiveCommandsTest : public ::testing::Test {
protected:
    DatArchiveCommandsTest() {
        archive_ = test::WriteDatSample(dir_.Path());
        settings_.SetS16Folder((dir_ / "in").string() + "/");
        std::filesystem::create_directories(dir_ / "in");
        EXPECT_TRUE(view_.ArchiveOpened(archive_.string()));
    }
    void Select(const std::string& text) {
        for (int r = 0; r < view_.Listed(); ++r) {
            if (view_.RowText(r) != text) continue;
            view_.SelectRow(r);
            return;
        }
        FAIL() << text;
    }
    std::vector<std::uint8_t> Bytes(const std::filesystem::path& archive, const std::string& name) {
        for (const auto& entry : test::ParseArchive(archive).entries)
            if (entry.name == name) return entry.bytes;
        return {};
    }

    test::TempDir dir_;
    std::filesystem::path archive_;
    RecordingServices services_;
    AppSettings settings_{services_.settings};
    ScriptedPickers pickers_;
    CDatFile dat_{services_.Get()};
    CDatViewModel view_{dat_, settings_};
    std::vector<std::string> opened_, redraws_;
    DatArchiveCommands commands_{view_, pickers_, settings_,
                                 {[this](const std::string& path) {
                                      opened_.push_back(path);
                                      return view_.ArchiveOpened(path);
                                  },
                                  [this] { redraws_.push_back("now"); }}};
};

TEST_F(DatArchiveCommandsTest, ReplaceWantsTheSameTitleAndKeepsTheRow) {
    Select("PANEL.SHP  (3)");
    const int row = view_.ListSelection();
    test::WriteText(dir_ / "in" / "other.shp", "x");
    pickers_.QueueFile((dir_ / "in" / "other.shp").string());
    EXPECT_FALSE(commands_.Replace());
    EXPECT_EQ(services_.messages.Errors().back(),
              "\n   You must pick a same name Shp file for replacement !   \nUse Add option instead");
    EXPECT_EQ(pickers_.requests.back().title, "Select Shp replacement file");
    EXPECT_EQ(pickers_.requests.back().initial, settings_.S16Folder() + "PANEL.SHP");

    // Another extension of the same title is taken: the entry keeps its name and takes the bytes.
    std::filesystem::create_directories(dir_ / "new");
    const auto replacement = test::UnitShp(8, 8, 20, 4);
    test::WriteBytes(dir_ / "new" / "panel.png", replacement);
    pickers_.QueueFile((dir_ / "new" / "panel.png").string());
    auto rest = commands_.Replace();
    ASSERT_TRUE(rest);
    EXPECT_EQ(settings_.S16Folder(), (dir_ / "new").string() + "/");
    rest();
    EXPECT_EQ(redraws_.size(), 1u);
    EXPECT_EQ(Bytes(archive_, "PANEL.SHP"), replacement);
    EXPECT_EQ(view_.ListSelection(), row);
    EXPECT_EQ(view_.RowText(row), "PANEL.SHP  (4)");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "demo_back.dat"));
}

TEST_F(DatArchiveCommandsTest, FakeEntriesAreNeitherExtractedNorRemoved) {
    view_.ToggleFakesTogether();
    Select("TIGERX1.SHP -> TIGER");
    commands_.Extract();
    commands_.Remove();
    EXPECT_FALSE(commands_.Replace());
    EXPECT_EQ(services_.messages.Notices(),
              (std::vector<std::string>{"Cannot extract from fake entry, seek real icon and extract from that entry",
                                        "Cannot remove entries for fake icons",
                                        "Cannot replace fake entries, seek real icon and replace that entry"}));
    EXPECT_TRUE(pickers_.requests.empty());
}

// An entry's name is its file's name as Windows-1252 bytes, at most 12 of them; a file whose name cannot be
// kept so is refused by name, and the others are added.
TEST_F(DatArchiveCommandsTest, AddStoresNamesAsWindows1252AndRefusesNamesAnArchiveCannotKeep) {
    const std::vector<std::string> names = {"LONGNAME12345.S16", "\xC3\x9Cn\xC3\xAF.SHP", "\xCE\xA9mega.SHP",
                                            "\xE2\x82\xAC" "5.SHP", "K\xF6nig2.SHP"};
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        test::WriteBytes(dir_ / "in" / name, test::UnitShp(8, 8, 20, 2));
        paths.push_back((dir_ / "in" / name).string());
    }
    pickers_.QueueFiles(paths);
    auto rest = commands_.Add();
    ASSERT_TRUE(rest);
    rest();
    std::vector<std::string> stored;
    for (const auto& entry : test::ParseArchive(archive_).entries)
        if (entry.bytes == test::UnitShp(8, 8, 20, 2)) stored.push_back(entry.name);
    EXPECT_EQ(stored, (std::vector<std::string>{"K\xF6nig2.SHP", "\x80" "5.SHP", "\xDCn\xEF.SHP"}));
    EXPECT_EQ(services_.messages.Errors(),
              (std::vector<std::string>{
                  paths[0] + " was not added: an archive keeps names of at most 12 characters.",
                  paths[2] + " was not added: its name holds characters an archive cannot keep (Windows-1252 "
                             "letters only)."}));
    bool listed = false;
    for (int r = 0; r < view_.Listed(); ++r) listed = listed || view_.RowText(r) == "\xDCN\xEF.SHP  (2)";
    EXPECT_TRUE(listed);
}

TEST_F(DatArchiveCommandsTest, ExtractWritesTheChosenFileAndSaysSo) {
    Select("README.TXT  (0)");
    const std::string target = (dir_ / "in" / "copy.txt").string();
    pickers_.QueueFile(target);
    commands_.Extract();
    EXPECT_EQ(pickers_.requests.back().initial, settings_.S16Folder() + "readme.txt");  // as stored
    EXPECT_EQ(test::ReadText(target), "Demo archive.\r\n");
    EXPECT_EQ(services_.messages.Notices().back(), "\n" + target + " \t saved to disk  \n");
}

TEST_F(DatArchiveCommandsTest, RepackOpensTheNewArchiveAndShowsItsLogOnce) {
    test::WriteText(dir_ / "in" / "ONE.SHP", "1");
    test::WriteText(dir_ / "in" / "two.txt", "2");
    test::WriteText(dir_ / "in" / "LONGNAME12345.S16", "3");
    const std::string made = (dir_ / "in" / "packed.dat").string();
    pickers_.QueueFile(made);
    services_.messages.QueueAnswer(false);  // every file, not only pictures
    commands_.Repack();
    EXPECT_EQ(services_.messages.Questions(), std::vector<std::string>{CDatFile::kRepackQuestion});
    const auto log = dir_ / "in" / "Err_packed.log";
    EXPECT_EQ(test::ReadText(log),
              "LONGNAME12345.S16 excluded because an archive keeps names of at most 12 characters\n");
    EXPECT_EQ(services_.shell.opened, std::vector<std::filesystem::path>{log});
    EXPECT_EQ(services_.messages.Notices(),
              std::vector<std::string>{made + " holds 2 files; 1 file of " + (dir_ / "in").string() +
                                       "/ was left out.\nThey are listed in " + log.string()});
    EXPECT_EQ(opened_, std::vector<std::string>{made});
    EXPECT_EQ(dat_.Path(), made);
    EXPECT_EQ(view_.Listed(), 2);
    // Cancelling the picker does nothing at all.
    commands_.Repack();
    EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(DatArchiveCommandsTest, UnpackRunsLaterIntoTheChosenFolderAndCopyListsStartThere) {
    const std::string out = (dir_ / "out").string() + "/";
    std::filesystem::create_directories(out);
    pickers_.QueueFolder(out);
    auto rest = commands_.Unpack();
    ASSERT_TRUE(rest);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "TIGER.SHP"));
    rest();
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / "TIGER.SHP"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "TIGERX1.SHP"));

    test::WriteText(dir_ / "out" / "export_icons.tbl", "TIGER\r\nPANEL;old\r\n");
    const std::string dest = (dir_ / "out" / "DestDat.dat").string();
    pickers_.QueueFile(out + "export_icons.tbl");
    pickers_.QueueFile(dest);
    commands_.CopyListed();
    EXPECT_EQ(pickers_.requests[1].initial, out + "export_icons.tbl");
    EXPECT_EQ(pickers_.requests[2].initial, out + "DestDat.dat");
    EXPECT_EQ(opened_, std::vector<std::string>{dest});
    EXPECT_EQ(view_.RowText(0), "TIGER.SHP  (20)");
    EXPECT_EQ(view_.Listed(), 1);
}

TEST_F(DatArchiveCommandsTest, FilterLogPicksThenAsksForTheDescriptions) {
    // The picker is cancelled: nothing asked.
    commands_.LogFilter();
    ASSERT_EQ(pickers_.requests.size(), 1u);
    EXPECT_EQ(pickers_.requests[0].initial, FilterLog::ProposedPath(archive_, services_.files).string());
    EXPECT_TRUE(services_.messages.Questions().empty());

    const auto out = dir_ / "log.txt";
    pickers_.QueueFile(out.string());
    services_.messages.QueueAnswer(true);
    commands_.LogFilter();
    EXPECT_EQ(services_.messages.Questions(), std::vector<std::string>{FilterLog::kQuestion});
    EXPECT_EQ(test::ReadText(out), FilterLog::Text(view_.List(), dat_.Items(), true));

    // Nothing listed: a notice, no picker.
    view_.SetFilters("no such icon", {});
    view_.ApplyFilters();
    commands_.LogFilter();
    EXPECT_EQ(pickers_.requests.size(), 2u);
    EXPECT_EQ(services_.messages.Notices().back(), "No icons to log ...");
}

TEST_F(DatArchiveCommandsTest, AddOnlyAfterAChoiceAndRemoveOnlyAfterYes) {
    EXPECT_FALSE(commands_.Add());
    Select("ARMOUR.SHP  (9)");
    services_.messages.QueueAnswer(false);
    commands_.Remove();
    EXPECT_EQ(test::ParseArchive(archive_).entries.size(), 7u);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "demo_back.dat"));
}

}  // namespace
}  // namespace pixmond
