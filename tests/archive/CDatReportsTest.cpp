#include <gtest/gtest.h>

#include "archive/CDatReports.h"
#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

using test::ArchiveBuilder;

// alpha (opened) and beta, each with its own fake entries.
class DatReports : public ::testing::Test {
protected:
    void SetUp() override {
        ArchiveBuilder()
            .Add("TIGER.SHP", ArchiveBuilder::Shp(9))
            .Add("pz4f.shp", ArchiveBuilder::Shp(9))
            .Add("ARMY.S16", ArchiveBuilder::S16(40))
            .Add("ONLYA.SHP", ArchiveBuilder::Shp(5))
            .Write(dir / "alpha.dat");
        test::WriteText(dir / "alpha.keep", "PZ4F2;PZ4F\nTIGERB;TIGER\nGHOST;NOSUCH\n");
        ArchiveBuilder()
            .Add("ARMY.S16", ArchiveBuilder::S16(40))
            .Add("ONLYB.PNG", "png")
            .Add("PZ4F.SHP", ArchiveBuilder::Shp(9))
            .Add("TIGER.SHP", ArchiveBuilder::Shp(9))
            .Add("TIGERB.SHP", ArchiveBuilder::Shp(9))
            .Write(dir / "beta.dat");
        ASSERT_TRUE(dat.Load((dir / "alpha.dat").string(), true));
    }

    std::string Report() { return test::ReadText(out); }

    test::TempDir dir;
    RecordingServices services;
    CDatFile dat{services};
    CDatReports reports{dat, services};
    std::filesystem::path out = dir / "OPENLOG" / "report.txt";
};

TEST_F(DatReports, ItemListWithIconsAndFakes) {
    EXPECT_TRUE(reports.HasFakeFile());
    ASSERT_TRUE(reports.ReportItems(out, true, true));
    EXPECT_EQ(Report(),
              "*** alpha.dat\n"
              "*** 7 (4 real, 3 fake) \n"
              "//////////////\n"
              "ARMY.S16         40 icons\n"
              "GHOST.PNG >> NOSUCH   9 icons\n"
              "ONLYA.SHP        5 icons\n"
              "PZ4F.SHP         9 icons\n"
              "PZ4F2.SHP >> PZ4F     9 icons\n"
              "TIGER.SHP        9 icons\n"
              "TIGERB.SHP >> TIGER    9 icons\n");
    EXPECT_EQ(services.shell.opened, std::vector<std::filesystem::path>{out});
}

TEST_F(DatReports, ItemListOfNamesOnly) {
    ASSERT_TRUE(reports.ReportItems(out, false, false));
    EXPECT_EQ(Report(), "*** alpha.dat\n*** 4 items\n//////////////\nARMY.S16\nONLYA.SHP\nPZ4F.SHP\nTIGER.SHP\n");
    ASSERT_TRUE(reports.ReportItems(out, false, true));
    EXPECT_NE(Report().find("\nPZ4F2.SHP >> PZ4F    \n"), std::string::npos);
}

TEST_F(DatReports, DifferenceWithFakes) {
    ASSERT_TRUE(reports.DiffReport(dir / "beta.dat", out, true, false));
    EXPECT_EQ(Report(),
              "*** Comparing:\n"
              "*   alpha (7 items: 4 real, 3 fake) \n"
              "*   beta (5 items) \n"
              "///////////////\n"
              "ARMY            ... = \n"
              "          ONLYA ... not in beta \n"
              "PZ4F            ... = \n"
              "TIGER           ... = \n"
              "fake replacements in alpha\n"
              "(GHOST->) NOSUCH ... not in beta \n"
              "Fake: GHOST (->NOSUCH) ... not in beta \n"
              "Fake: PZ4F2 (->PZ4F) ... not in beta \n"
              "fake TIGERB (->TIGER) ... = \n"
              "///////////////\n"
              "          ONLYB ... not in alpha \n"
              "\n*** SUMMARY ***\n"
              "*** 4 items in both files\n"
              "*** 4/7 (4 real, 3 fake)items in alpha not found in beta \n"
              "*** 1/5 items in beta not found in alpha \n");
}

TEST_F(DatReports, DifferencesOnlyStillCountTheItemsInBoth) {
    ASSERT_TRUE(reports.DiffReport(dir / "beta.dat", out, false, true));
    EXPECT_EQ(Report(),
              "*** Comparing:\n"
              "*   alpha (4 items) \n"
              "*   beta (5 items) \n"
              "///////////////\n"
              "          ONLYA ... not in beta \n"
              "///////////////\n"
              "          ONLYB ... not in alpha \n"
              "         TIGERB ... not in alpha \n"
              "\n*** SUMMARY ***\n"
              "*** 3 items in both files\n"
              "*** 1/4 items in alpha not found in beta \n"
              "*** 2/5 items in beta not found in alpha \n");

    // With the fakes, beta's TIGERB is alpha's fake name and no longer missing.
    ASSERT_TRUE(reports.DiffReport(dir / "beta.dat", out, true, true));
    const std::string text = Report();
    EXPECT_EQ(text.find("... = "), std::string::npos);
    EXPECT_EQ(text.find("TIGERB ... not in alpha"), std::string::npos);
    EXPECT_NE(text.find("*** 4 items in both files\n"), std::string::npos);
}

TEST_F(DatReports, IdenticalArchivesHaveNothingMissing) {
    CDatFile beta(services);
    ASSERT_TRUE(beta.Load((dir / "beta.dat").string(), true));
    CDatReports self(beta, services);
    // beta has no fake file: there is nothing to choose about fakes.
    EXPECT_FALSE(self.HasFakeFile());
    ASSERT_TRUE(self.DiffReport(dir / "beta.dat", out, true, true));
    const std::string text = Report();
    EXPECT_NE(text.find("*** 5 items in both files\n"
                        "*** 0/5 items in beta not found in beta \n"
                        "*** 0/5 items in beta not found in beta \n"),
              std::string::npos);
}

TEST_F(DatReports, CompatibilityOfTwoSets) {
    test::WriteText(dir / "BETA.KEEP", "ALIAS;ONLYB\nCHAIN;ALIAS\n");
    EXPECT_TRUE(reports.CompatibilityQuestions(dir / "beta.dat").empty());
    ASSERT_TRUE(reports.CompatibilityReport(dir / "beta.dat", out));
    EXPECT_EQ(Report(),
              "*** Comparing:\n"
              "*   alpha (7 items: 4 real, 3 fake) \n"
              "*   beta (7 items: 5 real, 2 fake) \n"
              "***\n"
              "\n* Scanning alpha (dat+keep) into beta (dat+keep) ...\n"
              "GHOST   (fake in alpha) ... not in beta (dat+keep) \n"
              "ONLYA   (real in alpha) ... not in beta (dat+keep) \n"
              "PZ4F2   (fake in alpha) ... not in beta (dat+keep) \n"
              "------- 3 icons not found in beta\n"
              "\n* Checking alpha.keep entries ...\n"
              "GHOST  ;NOSUCH -> NOSUCH is not real in alpha.dat \n"
              "------- 1 fake icons have errors in alpha\n"
              "\n* Scanning beta (dat+keep) into alpha (dat+keep) ...\n"
              "ALIAS   (fake in beta) ... not in alpha (dat+keep) \n"
              "CHAIN   (fake in beta) ... not in alpha (dat+keep) \n"
              "ONLYB   (real in beta) ... not in alpha (dat+keep) \n"
              "------- 3 icons not found in alpha\n"
              "\n* Checking beta.keep entries ...\n"
              "CHAIN  ;ALIAS -> ALIAS is both fake (ALIAS;ONLYB) and replacement in beta.keep \n"
              "CHAIN  ;ALIAS -> ALIAS is not real in beta.dat \n"
              "------- 2 fake icons have errors in beta\n"
              "\n***\n");
}

TEST_F(DatReports, CompatibilityWithoutSecondFakesAsksFirst) {
    EXPECT_EQ(reports.CompatibilityQuestions(dir / "beta.dat"),
              std::vector<std::string>{"Do you want to continue without fake-icons for second datfile beta ?"});
    ASSERT_TRUE(reports.CompatibilityReport(dir / "beta.dat", out));
    EXPECT_NE(Report().find("*   beta (5 items) \n***\n"), std::string::npos);
}

TEST_F(DatReports, FailuresSayWhatWentWrong) {
    EXPECT_FALSE(reports.DiffReport(dir / "none.dat", out, true, false));
    EXPECT_FALSE(reports.CompatibilityReport(dir / "none.dat", out));
    const std::string missing = "[" + (dir / "none.dat").string() + "] Not found";
    EXPECT_EQ(services.messages.Errors(), (std::vector<std::string>{missing, missing}));
    services.messages.Clear();

    test::WriteText(dir / "file", "x");
    const auto blocked = dir / "file" / "report.txt";
    EXPECT_FALSE(reports.ReportItems(blocked, true, true));
    EXPECT_EQ(services.messages.Errors(), std::vector<std::string>{"Error on creating [" + blocked.string() + "]"});
    EXPECT_TRUE(services.messages.Questions().empty());

    EXPECT_FALSE(CDatReports::CheckIconsToCompare(0, services.messages));
    EXPECT_TRUE(CDatReports::CheckIconsToCompare(1, services.messages));
    EXPECT_EQ(services.messages.Notices().back(), "There are no icons to compare");
}

TEST(DatReportDirectory, TrustsOnlyTheNamesTheFileHolds) {
    test::TempDir dir;
    auto bytes = ArchiveBuilder().Add("a.shp", "1").Add("B.S16", "2").Build();
    bytes[0] = 0xff;  // promises far more records than there are
    test::WriteBytes(dir / "big.dat", bytes);
    auto read = CDatReports::ReadDirectory(dir / "big.dat");
    ASSERT_TRUE(read);
    // The same entries the loader lists: the last record held only ends the one before it.
    EXPECT_EQ(read->titles, (std::vector<std::string>{"A", "B"}));
    test::WriteBytes(dir / "short.dat", {3, 0});
    read = CDatReports::ReadDirectory(dir / "short.dat");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->count, 0);

    EXPECT_EQ(CDatReports::ProposedDiffReport("/g/varnek2.dat", "/h/other.dat"), "/g/OPENLOG/varnek2_other_diff.txt");
    EXPECT_EQ(CDatReports::ProposedCompatibilityReport("/g/a.dat", "b.DAT"), "/g/OPENLOG/a_b_compare2.txt");
}

}  // namespace
}  // namespace pixmond
