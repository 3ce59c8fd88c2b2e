#include <gtest/gtest.h>

#include "archive/CDatFile.h"
#include "browser/CDatViewModel.h"
#include "browser/DatReportCommands.h"
#include "support/ArchiveBuilder.h"
#include "support/DatSample.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/TestFiles.h"
#include "ui/AppSettings.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;

// The sample archive (with its fakes) in the browser, and a second archive beside it without fakes.
class DatReportCommandsTest : public ::testing::Test {
protected:
    DatReportCommandsTest() {
        archive_ = test::WriteDatSample(dir_.Path());
        test::ArchiveBuilder()
            .Add("ARMOUR.SHP", test::ArchiveBuilder::Shp(9))
            .Add("TIGER.SHP", test::ArchiveBuilder::Shp(9))
            .Add("OTHER.SHP", test::ArchiveBuilder::Shp(9))
            .Write(dir_ / "other.dat");
        EXPECT_TRUE(view_.ArchiveOpened(archive_.string()));
    }
    std::string Proposed() const { return pickers_.requests.back().initial; }

    test::TempDir dir_;
    fs::path archive_;
    RecordingServices services_;
    AppSettings settings_{services_.settings};
    ScriptedPickers pickers_;
    CDatFile dat_{services_.Get()};
    CDatViewModel view_{dat_, settings_};
    DatReportCommands commands_{view_, pickers_};
};

TEST_F(DatReportCommandsTest, ItemReportsProposeTheirNamesAskForFakesAndOpenTheFile) {
    const std::string folder = dir_.Path().string() + "/";
    // Cancel at the picker: nothing asked, nothing written.
    commands_.ReportItems(true);
    EXPECT_EQ(Proposed(), folder + "demo_list.txt");
    EXPECT_EQ(pickers_.requests.back().kind, "save");
    EXPECT_TRUE(services_.messages.Questions().empty());

    pickers_.QueueFile(folder + "icons.txt");
    services_.messages.QueueAnswer(true);
    commands_.ReportItems(true);
    EXPECT_EQ(services_.messages.Questions().back(), "Do you want to add fake icons to list ?");
    const std::string withIcons = test::ReadText(dir_ / "icons.txt");
    EXPECT_NE(withIcons.find("TIGER.SHP        20 icons\n"), std::string::npos) << withIcons;
    EXPECT_NE(withIcons.find("TIGERX1.SHP >> TIGER"), std::string::npos) << withIcons;

    pickers_.QueueFile(folder + "names.txt");
    services_.messages.QueueAnswer(false);
    commands_.ReportItems(false);
    EXPECT_EQ(Proposed(), folder + "demo.txt");
    const std::string names = test::ReadText(dir_ / "names.txt");
    EXPECT_NE(names.find("TIGER.SHP\n"), std::string::npos) << names;
    EXPECT_EQ(names.find("icons"), std::string::npos) << names;
    EXPECT_EQ(names.find("TIGERX1"), std::string::npos) << names;
    EXPECT_EQ(services_.shell.opened, (std::vector<fs::path>{dir_ / "icons.txt", dir_ / "names.txt"}));
}

TEST_F(DatReportCommandsTest, ComparisonsAskInOrderWriteIntoTheProposedFolderAndKeepTheEntry) {
    const std::string folder = dir_.Path().string() + "/";
    view_.SelectRow(6);  // TIGER.SHP
    const int entry = view_.CurrentEntry();

    // The difference report: second archive, report file, then fakes and differences only.
    pickers_.QueueFile(folder + "other.dat");
    pickers_.QueueFile(folder + "OPENLOG/demo_other_diff.txt");
    services_.messages.QueueAnswer(false);
    services_.messages.QueueAnswer(true);
    commands_.CompareReport();
    ASSERT_EQ(pickers_.requests.size(), 2u);
    EXPECT_EQ(pickers_.requests[0].title, "Select DAT file to compare");
    EXPECT_EQ(pickers_.requests[0].initial, folder + "*.dat");
    EXPECT_EQ(pickers_.requests[1].initial, folder + "OPENLOG/demo_other_diff.txt");
    EXPECT_EQ(services_.messages.Questions(),
              (std::vector<std::string>{"Do you want to add fake icons to current datfile ?",
                                        "\n Do you want to include ONLY items \n not included on both files ? \n"}));
    const std::string diff = test::ReadText(dir_ / "OPENLOG" / "demo_other_diff.txt");
    EXPECT_NE(diff.find("*** 2 items in both files\n"), std::string::npos) << diff;
    EXPECT_EQ(diff.find(" ... = "), std::string::npos) << diff;  // only the differences
    EXPECT_EQ(view_.CurrentEntry(), entry);
    EXPECT_EQ(dat_.Current(), entry);

    // The compatibility check stops when the user will not go on without the second archive's fakes.
    pickers_.QueueFile(folder + "other.dat");
    services_.messages.QueueAnswer(false);
    commands_.CompatibilityReport();
    EXPECT_EQ(services_.messages.Questions().back(),
              "Do you want to continue without fake-icons for second datfile other ?");
    EXPECT_EQ(pickers_.requests.size(), 3u);
    pickers_.QueueFile(folder + "other.dat");
    pickers_.QueueFile(folder + "compat.txt");
    services_.messages.QueueAnswer(true);
    commands_.CompatibilityReport();
    EXPECT_EQ(pickers_.requests.back().initial, folder + "OPENLOG/demo_other_compare2.txt");
    EXPECT_NE(test::ReadText(dir_ / "compat.txt").find("* Checking demo.keep entries"), std::string::npos);
    EXPECT_EQ(services_.shell.opened.back(), dir_ / "compat.txt");

    // A second archive that is not there: its error, and no report picker.
    pickers_.QueueFile(folder + "gone.dat");
    commands_.CompareReport();
    EXPECT_EQ(services_.messages.Errors().back(), "[" + folder + "gone.dat] Not found");
    EXPECT_EQ(pickers_.requests.size(), 6u);
}

TEST_F(DatReportCommandsTest, ComparisonsWantAnEntryWithIcons) {
    view_.SelectRow(4);  // README.TXT
    commands_.CompareReport();
    commands_.CompatibilityReport();
    EXPECT_EQ(services_.messages.Notices(),
              (std::vector<std::string>{"There are no icons to compare", "There are no icons to compare"}));
    EXPECT_TRUE(pickers_.requests.empty());
}

}  // namespace
}  // namespace pixmond
