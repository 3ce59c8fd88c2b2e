#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "support/ArchiveBuilder.h"
#include "cli/CliRunner.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

using test::ArchiveBuilder;

using Run = test::CliRun;
using test::RunCli;

TEST(ArchiveCli, ListsAsJsonAndAsATableFromAReadOnlyArchive) {
    test::TempDir dir;
    ArchiveBuilder().Add("Tiger.shp", ArchiveBuilder::Shp(9)).Add("NOTE.TXT", "abc").Write(dir / "v.dat");
    test::WriteText(dir / "v.keep", "TIGERB;TIGER\n");
    ::chmod(dir.File("v.dat").c_str(), 0444);

    auto run = RunCli(dir, "list '" + dir.File("v.dat") + "' --json");
    EXPECT_EQ(run.code, 0);
    const std::string start = "{\"path\":\"" + dir.File("v.dat") + "\",\"real_count\":2,\"fake_count\":1,\"total\":3,";
    EXPECT_EQ(run.out.substr(0, start.size()), start);
    EXPECT_NE(run.out.find("{\"index\":0,\"name\":\"NOTE.TXT\",\"offset\":71,\"size\":3,\"icons\":0,\"loadable\":false,"
                           "\"type\":0,\"fake\":false,\"real_name\":\"\"}"),
              std::string::npos);
    EXPECT_NE(run.out.find("\"name\":\"TIGERB.SHP\",\"offset\":55,\"size\":16,\"icons\":9,\"loadable\":true,\"type\":1,"
                           "\"fake\":true,\"real_name\":\"TIGER\"}]}"),
              std::string::npos);

    run = RunCli(dir, "list '" + dir.File("v.dat") + "' --no-fakes");
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("TIGER.SHP     SHP"), std::string::npos);
    EXPECT_EQ(run.out.find("TIGERB"), std::string::npos);
    EXPECT_NE(run.out.find("2 entries: 2 real, 0 fake"), std::string::npos);

    EXPECT_EQ(RunCli(dir, "list '" + dir.File("none.dat") + "'").code, 1);
}

TEST(ArchiveCli, RebuildCommandsRoundTrip) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "src");
    test::WriteText(dir / "src" / "Tiger.shp", "tiger");
    test::WriteText(dir / "src" / "notes.txt", "notes");
    test::WriteText(dir / "src" / "x.png", "png");
    auto path = [&dir](const std::string& name) { return "'" + dir.File(name) + "'"; };

    // A file left out is said, with the log that names it.
    test::WriteText(dir / "src" / "LONGNAME12345.S16", "long");
    auto run = RunCli(dir, "repack " + path("src") + " " + path("v.dat") + " --images-only");
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("1 file of " + dir.File("src") + " was left out.\nThey are listed in " +
                           dir.File("Err_v.log")),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("LONGNAME12345.S16 excluded because an archive keeps names of at most 12 characters"),
              std::string::npos);
    std::filesystem::remove(dir / "src" / "LONGNAME12345.S16");
    auto parsed = test::ParseArchive(dir / "v.dat");
    ASSERT_EQ(parsed.entries.size(), 2u);
    EXPECT_EQ(parsed.entries[0].name, "Tiger.shp");

    EXPECT_EQ(RunCli(dir, "unpack " + path("v.dat") + " " + path("out")).code, 0);
    EXPECT_EQ(test::ReadText(dir / "out" / "Tiger.shp"), "tiger");
    EXPECT_EQ(RunCli(dir, "extract " + path("v.dat") + " tiger -o " + path("t.bin")).code, 0);
    EXPECT_EQ(test::ReadText(dir / "t.bin"), "tiger");

    test::WriteText(dir / "TIGER.PNG", "new tiger");
    EXPECT_EQ(RunCli(dir, "replace " + path("v.dat") + " " + path("TIGER.PNG")).code, 0);
    EXPECT_EQ(RunCli(dir, "replace " + path("v.dat") + " " + path("t.bin")).code, 1);
    EXPECT_EQ(RunCli(dir, "add " + path("v.dat") + " " + path("src/notes.txt")).code, 0);
    EXPECT_EQ(RunCli(dir, "remove " + path("v.dat") + " x.png").code, 0);
    parsed = test::ParseArchive(dir / "v.dat");
    ASSERT_TRUE(parsed.sound);
    ASSERT_EQ(parsed.entries.size(), 2u);
    EXPECT_EQ(parsed.entries[0].name, "notes.txt");
    EXPECT_EQ(parsed.entries[1].bytes, (std::vector<std::uint8_t>{'n', 'e', 'w', ' ', 't', 'i', 'g', 'e', 'r'}));
    EXPECT_EQ(test::ParseArchive(dir / "v_back.dat").entries.size(), 3u);

    test::WriteText(dir / "l.tbl", "TIGER\nNOTES\n");
    EXPECT_EQ(RunCli(dir, "copy-list " + path("v.dat") + " " + path("l.tbl") + " " + path("d.dat")).code, 0);
    EXPECT_EQ(test::ParseArchive(dir / "d.dat").entries.size(), 2u);
    EXPECT_EQ(RunCli(dir, "extract-list " + path("v.dat") + " " + path("l.tbl") + " " + path("out") + " --no").code, 0);
    EXPECT_EQ(test::ReadText(dir / "out" / "Tiger.shp"), "tiger");
    EXPECT_EQ(RunCli(dir, "extract-list " + path("v.dat") + " " + path("l.tbl") + " " + path("out") + " --yes").code, 0);
    EXPECT_EQ(test::ReadText(dir / "out" / "Tiger.shp"), "new tiger");
}

TEST(ArchiveCli, UnpackRefusesNamesThatLeaveTheFolder) {
    test::TempDir dir;
    ArchiveBuilder().Add("../up.txt", "x").Add("ok.txt", "y").Write(dir / "v.dat");
    const auto run = RunCli(dir, "unpack '" + dir.File("v.dat") + "' '" + dir.File("out/in") + "'");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(test::ReadText(dir / "out" / "in" / "ok.txt"), "y");
    EXPECT_FALSE(std::filesystem::exists(dir / "out" / "up.txt"));
    EXPECT_NE(test::ReadText(dir / "stderr.txt").find("../up.txt"), std::string::npos);
}

}  // namespace
}  // namespace pixmond
