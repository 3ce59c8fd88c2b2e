#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "support/ArchiveBuilder.h"
#include "cli/CliRunner.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

using test::ArchiveBuilder;

using Run = test::CliRun;
using test::RunCli;

class ReportCli : public ::testing::Test {
protected:
    void SetUp() override {
        ArchiveBuilder()
            .Add("HEAVY.SHP", ArchiveBuilder::Shp(9))
            .Add("LIGHT.SHP", ArchiveBuilder::Shp(9))
            .Add("PANEL.S16", ArchiveBuilder::S16(4))
            .Write(dir / "a.dat");
        test::WriteText(dir / "a.keep", "LIGHT2;LIGHT\n");
        test::WriteText(dir / "A.CSV", "HEAVY;Heavy tank;grey\r\nLIGHT;Light tank;green\r\n");
        ArchiveBuilder().Add("HEAVY.SHP", ArchiveBuilder::Shp(9)).Write(dir / "b.dat");
    }
    std::string Archive() const { return "'" + dir.File("a.dat") + "'"; }
    test::TempDir dir;
};

TEST_F(ReportCli, ListShowsTheBrowserRowsWithDescriptions) {
    auto run = RunCli(dir, "list " + Archive() + " --desc tank --fakes-together --json");
    ASSERT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("\"listed\":3,\"label\":\"3 / 4 \""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("{\"index\":2,\"name\":\"LIGHT2.SHP\",\"text\":\"LIGHT2.SHP -> LIGHT\",\"icons\":9,\"type\":1,"
                           "\"fake\":true,\"real_name\":\"LIGHT\",\"description\":{\"desc\":\"Light tank\",\"color\":"
                           "\"green\",\"type\":\"\",\"country\":\"\",\"chassis\":\"\",\"style\":\"\"}}"),
              std::string::npos)
        << run.out;

    run = RunCli(dir, "list " + Archive() + " --mode 4");
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "PANEL.S16  (4)\nOnly S16 files: 1 / 3 \n");
    run = RunCli(dir, "list " + Archive() + " --name ^H --color '!grey'");
    EXPECT_EQ(run.out, "View All icons: 0 / 3 \n");
    EXPECT_EQ(RunCli(dir, "list " + Archive() + " --mode 7").code, 2);
    EXPECT_EQ(RunCli(dir, "list " + Archive() + " --descriptions '" + dir.File("none.txt") + "'").code, 1);

    run = RunCli(dir, "list " + Archive() + " --mode 3 --log '" + dir.File("log.txt") + "'");
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(test::ReadText(dir / "log.txt"), "2 Icons matching filter:\nOnly SHP format\n\n\nIconID\nHEAVY.SHP\nLIGHT.SHP\n");
}

TEST_F(ReportCli, ReportsAnswerTheirQuestionsFromFlags) {
    auto run = RunCli(dir, "report items " + Archive() + " -o '" + dir.File("items.txt") + "' --fakes");
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(test::ReadText(dir / "items.txt"),
              "*** a.dat\n*** 4 (3 real, 1 fake) \n//////////////\nHEAVY.SHP\nLIGHT.SHP\nLIGHT2.SHP >> LIGHT   \n"
              "PANEL.S16\n");

    run = RunCli(dir, "report diff " + Archive() + " '" + dir.File("b.dat") + "' -o '" + dir.File("d.txt") +
                          "' --only-differences");
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(test::ReadText(dir / "d.txt"),
              "*** Comparing:\n*   a (3 items) \n*   b (1 items) \n///////////////\n"
              "          LIGHT ... not in b \n          PANEL ... not in b \n///////////////\n"
              "\n*** SUMMARY ***\n*** 1 items in both files\n*** 2/3 items in a not found in b \n"
              "*** 0/1 items in b not found in a \n");

    const std::string compat = "report compat " + Archive() + " '" + dir.File("b.dat") + "' -o '" + dir.File("c.txt") + "'";
    EXPECT_EQ(RunCli(dir, compat).code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "c.txt"));
    EXPECT_EQ(RunCli(dir, compat + " --yes").code, 0);
    EXPECT_NE(test::ReadText(dir / "c.txt").find("LIGHT2  (fake in a) ... not in b (dat+keep) \n"), std::string::npos);
}

}  // namespace
}  // namespace pixmond
