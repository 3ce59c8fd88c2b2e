#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "image/CBmpDib.h"
#include "support/ArchiveBuilder.h"
#include "cli/CliRunner.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

using test::CliRun;

CliRun RunCatalog(const test::TempDir& dir, const std::string& args) { return test::RunCli(dir, "catalog " + args); }

std::string Quoted(const test::TempDir& dir, const std::string& name) { return "'" + dir.File(name) + "'"; }

TEST(CatalogCli, CataloguesAFolderWithTheChosenLayout) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "units");
    for (int i = 0; i < 25; ++i) test::WriteBytes(dir / "units" / ("u" + std::to_string(100 + i) + ".shp"), test::UnitShp(40, 30, 7));
    test::WriteBytes(dir / "units" / "big.s16", test::UnitS16(150, 70, MakeRgb(248, 0, 0)));
    test::WriteText(dir / "units" / "readme.txt", "not an icon");
    const CliRun run = RunCatalog(dir, Quoted(dir, "units") + " -o " + Quoted(dir, "out") +
                                       " --columns 8 --rows 20 --box 100x50 --no-names --names-in-log --name Units");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("25 icons fit the 100 x 50 box, 1 are big"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Will need:  1 files\n"), std::string::npos);
    EXPECT_NE(run.out.find("Cat#1, Icon#25 - u124.shp 40 x 30  .. added"), std::string::npos);
    RecordingMessages messages;
    CBmpDib picture;
    ASSERT_TRUE(picture.LoadBmp(dir.File("out/Units01.BMP"), messages));
    EXPECT_EQ(picture.Width(), 800);
    EXPECT_EQ(picture.Height(), 20 * 50 + 4);
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "Units.txt"));
}

TEST(CatalogCli, CataloguesAnArchiveAndRefusesBadChoices) {
    test::TempDir dir;
    test::ArchiveBuilder()
        .Add("A.SHP", test::UnitShp(40, 30, 7))
        .Add("B.S16", test::UnitS16(50, 40, MakeRgb(248, 0, 0)))
        .Write(dir / "units.dat");
    CliRun run = RunCatalog(dir, Quoted(dir, "units.dat") + " -o " + Quoted(dir, "out") + " --type png --view-icon 9");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "units_Catalog01.PNG"));

    for (const char* bad : {"--rows 25", "--columns 21", "--box 80x60", "--box 90", "--view-icon 0", "--type gif"}) {
        run = RunCatalog(dir, Quoted(dir, "units.dat") + " -o " + Quoted(dir, "out") + " " + bad);
        EXPECT_EQ(run.code, 2) << bad;
    }
    run = RunCatalog(dir, Quoted(dir, "none.dat") + " -o " + Quoted(dir, "out"));
    EXPECT_EQ(run.code, 1);
    std::filesystem::create_directory(dir / "empty");
    run = RunCatalog(dir, Quoted(dir, "empty") + " -o " + Quoted(dir, "out"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("No icons on active view ..."), std::string::npos);
}

}  // namespace
}  // namespace pixmond
