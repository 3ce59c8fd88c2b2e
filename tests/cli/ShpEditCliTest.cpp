#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "image/CShpFile.h"
#include "support/ShpBuilder.h"
#include "cli/CliRunner.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

using test::CliRun;
using test::RunCli;

class ShpEditCliTest : public ::testing::Test {
protected:
    std::string Q(const std::string& name) const { return "'" + dir.File(name) + "'"; }
    int Icons(const std::string& name) const {
        CShpFile shp;
        return shp.OpenFile(dir.File(name), 1) ? shp.IconCount() : -1;
    }
    void WriteBmp(const std::string& name, const test::IndexRows& rows) {
        RecordingMessages messages;
        ASSERT_TRUE(test::PictureOf(rows).SaveBmp(dir.File(name), true, messages));
    }
    test::TempDir dir;
};

TEST_F(ShpEditCliTest, RemoveInsertAndAppendKeepABackup) {
    const auto original = test::ShpBuilder().IconText({"AB", "CD"}).IconText({"EE", ".F"}).Build();
    test::WriteBytes(dir / "tank.shp", original);
    WriteBmp("new.bmp", test::RowsFromText({"ZZ.", "Y.Y"}));

    CliRun run = RunCli(dir, "shp remove " + Q("tank.shp") + " 1");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Icons("tank.shp"), 1);
    EXPECT_EQ(test::ReadBytes(dir / "tank.back"), original);

    run = RunCli(dir, "shp insert " + Q("tank.shp") + " " + Q("new.bmp") + " 1");
    ASSERT_EQ(run.code, 0) << run.err;
    run = RunCli(dir, "shp append " + Q("tank.shp") + " " + Q("new.bmp"));
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Icons("tank.shp"), 3);

    const auto before = test::ReadBytes(dir / "tank.shp");
    run = RunCli(dir, "shp remove " + Q("tank.shp") + " 4");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("Icon 4 is not in"), std::string::npos) << run.err;
    run = RunCli(dir, "shp insert " + Q("tank.shp") + " " + Q("new.bmp") + " 5");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(test::ReadBytes(dir / "tank.shp"), before);
    EXPECT_EQ(RunCli(dir, "shp insert " + Q("tank.shp") + " " + Q("new.bmp") + " 0").code, 2);
}

TEST_F(ShpEditCliTest, MakersBuildNineIconFiles) {
    test::IndexRows sheet(6, std::vector<std::uint8_t>(6, 5));
    WriteBmp("sheet.bmp", sheet);
    WriteBmp("one.bmp", test::RowsFromText({"AB", "CD"}));
    EXPECT_EQ(RunCli(dir, "shp-make sheet " + Q("sheet.bmp")).code, 0);
    EXPECT_EQ(Icons("sheet.shp"), 9);
    EXPECT_EQ(RunCli(dir, "shp-make clones " + Q("one.bmp")).code, 0);
    EXPECT_EQ(Icons("one.shp"), 9);
    CliRun run = RunCli(dir, "shp-make list -o " + Q("list.shp") + " " + Q("one.bmp") + " " + Q("sheet.bmp"));
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Icons("list.shp"), 2);
    // A 9 x 1 strip of a 6-pixel-wide bitmap has no icon-sized cells.
    run = RunCli(dir, "shp-make sheet --9x1 " + Q("sheet.bmp"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("1 files could not be created"), std::string::npos) << run.err;
}

TEST_F(ShpEditCliTest, ConvertFolderAndNationPictures) {
    test::ShpBuilder nine;
    for (int k = 0; k < 9; ++k) nine.IconText({"AB", "CD"});
    std::filesystem::create_directories(dir / "in");
    test::WriteBytes(dir / "in" / "unit.shp", nine.Build());
    CliRun run = RunCli(dir, "convert-folder " + Q("in") + " " + Q("out") + " --type png");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("1 files converted"), std::string::npos) << run.out;
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "unit.PNG"));

    run = RunCli(dir, "nation-pics " + Q("in/unit.shp") + " " + Q("pics"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("cannot create, Shp file has 9 icons, (neither 220, nor 129)"), std::string::npos);
}

}  // namespace
}  // namespace pixmond
