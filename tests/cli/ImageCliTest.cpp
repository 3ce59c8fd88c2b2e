#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "image/CBmpDib.h"
#include "image/CShpFile.h"
#include "image/Palette.h"
#include "support/ShpBuilder.h"
#include "cli/CliRunner.h"
#include "support/TestFiles.h"
#include "base/Format.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

using test::CliRun;
using test::RunCli;

std::string Quoted(const test::TempDir& dir, const std::string& name) { return "'" + dir.File(name) + "'"; }

class ImageCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        shp_ = test::ShpBuilder().IconText({"..AB", "C..D"}).IconText({"#..", ".#.", "..#"});
        test::WriteBytes(dir_ / "UNIT.SHP", shp_.Build());
    }
    test::TempDir dir_;
    test::ShpBuilder shp_;
    RecordingMessages messages_;
};

TEST_F(ImageCliTest, InfoPrintsTheStoredHeaders) {
    CliRun run = RunCli(dir_, "info --json " + Quoted(dir_, "UNIT.SHP"));
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string second = Format("{\"number\":2,\"width\":3,\"height\":3,\"x0\":0,\"y0\":0,\"x1\":2,\"y1\":2,"
                                      "\"offset\":%u,\"record_size\":%u}]}\n",
                                      unsigned(24 + shp_.Records()[0].size()), unsigned(shp_.Records()[1].size()));
    EXPECT_EQ(run.out.substr(0, 8), "{\"kind\":");
    EXPECT_NE(run.out.find("\"count\":2,\"icons\":[{\"number\":1,\"width\":4,\"height\":2,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(second), std::string::npos) << run.out;

    run = RunCli(dir_, "info " + Quoted(dir_, "UNIT.SHP"));
    ASSERT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("2 icons"), std::string::npos);
    EXPECT_NE(run.out.find(" Icon  Width Height"), std::string::npos);
}

TEST_F(ImageCliTest, ExportWritesIndexedBitmapsWithThePaletteInUse) {
    ASSERT_EQ(RunCli(dir_, "export " + Quoted(dir_, "UNIT.SHP") + " --icon 2 -o " + Quoted(dir_, "two.bmp")).code, 0);
    CBmpDib picture;
    ASSERT_TRUE(picture.LoadBmp(dir_.File("two.bmp"), messages_));
    EXPECT_EQ(picture.BitsPerPixel(), 8);
    EXPECT_EQ(test::RowsOf(picture), test::RowsFromText({"#..", ".#.", "..#"}));
    EXPECT_EQ(picture.Colours(), DefaultColourTable());

    test::WriteText(dir_ / "red.txt", "JASP-PAL\nx\n256\n255 0 0\n");
    ASSERT_EQ(RunCli(dir_, "export " + Quoted(dir_, "UNIT.SHP") + " --icon 2 -o " + Quoted(dir_, "red.bmp") +
                               " --palette " + Quoted(dir_, "red.txt"))
                  .code,
              0);
    ASSERT_TRUE(picture.LoadBmp(dir_.File("red.bmp"), messages_));
    EXPECT_EQ(picture.PixelRgb(0, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(picture.PixelRgb(1, 0), MakeRgb(248, 228, 216));

    ASSERT_EQ(RunCli(dir_, "export " + Quoted(dir_, "UNIT.SHP") + " --all -o " + Quoted(dir_, "out")).code, 0);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / "UNIT_001.BMP"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / "UNIT_002.BMP"));

    EXPECT_EQ(RunCli(dir_, "export " + Quoted(dir_, "UNIT.SHP") + " --icon 3 -o " + Quoted(dir_, "three.bmp")).code, 1);
    EXPECT_EQ(RunCli(dir_, "export " + Quoted(dir_, "UNIT.SHP") + " -o " + Quoted(dir_, "x.bmp")).code, 2);
}

TEST_F(ImageCliTest, BrokenIconsWriteNothingAndFail) {
    ShpIconHeader tooWide;
    tooWide.widthMinus1 = 700;
    tooWide.heightMinus1 = 3;
    test::ShpBuilder broken;
    broken.IconText({"AA", "AA"}).RawIcon(tooWide, {3, 1, 0});
    test::WriteBytes(dir_ / "BAD.SHP", broken.Build());
    CliRun run = RunCli(dir_, "export " + Quoted(dir_, "BAD.SHP") + " --icon 2 -o " + Quoted(dir_, "bad.bmp"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("outside"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "bad.bmp"));

    run = RunCli(dir_, "export " + Quoted(dir_, "BAD.SHP") + " --all -o " + Quoted(dir_, "all"));
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "all" / "BAD_001.BMP"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "all" / "BAD_002.BMP"));

    std::vector<std::uint8_t> truncated = test::ReadBytes(dir_ / "UNIT.SHP");
    truncated.resize(12);
    test::WriteBytes(dir_ / "CUT.SHP", truncated);
    run = RunCli(dir_, "info " + Quoted(dir_, "CUT.SHP"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("icon count 2 does not fit"), std::string::npos) << run.err;
    EXPECT_EQ(RunCli(dir_, "info " + Quoted(dir_, "none.shp")).code, 1);
}

TEST_F(ImageCliTest, EncodeBuildsOneIconPerBitmapInOrder) {
    for (const char* name : {"one", "two"}) {
        CBmpDib picture = test::PictureOf(test::RowsFromText(std::string(name) == "one" ? std::vector<std::string>{"A.", ".B"}
                                                                                      : std::vector<std::string>{"CCC", "..."}));
        ASSERT_TRUE(picture.SaveBmp(dir_.File(std::string(name) + ".bmp"), true, messages_));
    }
    ASSERT_EQ(RunCli(dir_, "encode " + Quoted(dir_, "one.bmp") + " " + Quoted(dir_, "two.bmp") + " -o " +
                               Quoted(dir_, "NEW.SHP"))
                  .code,
              0);
    const auto bytes = test::ReadBytes(dir_ / "NEW.SHP");
    const auto expected = test::ShpBuilder().IconText({"A.", ".B"}).IconText({"CCC", "..."}).Build();
    EXPECT_EQ(bytes, expected);

    CBmpDib tiny = test::PictureOf(test::IndexRows{{1}});
    ASSERT_TRUE(tiny.SaveBmp(dir_.File("tiny.bmp"), true, messages_));
    CliRun run = RunCli(dir_, "encode " + Quoted(dir_, "tiny.bmp") + " -o " + Quoted(dir_, "T.SHP"));
    EXPECT_EQ(run.code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "T.SHP"));
    test::WriteText(dir_ / "text.bmp", "this is not a bitmap at all");
    run = RunCli(dir_, "encode " + Quoted(dir_, "text.bmp") + " -o " + Quoted(dir_, "T.SHP"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("Invalid BMP type"), std::string::npos);
}

TEST_F(ImageCliTest, PaletteCommands) {
    CliRun run = RunCli(dir_, "palette nearest 255 255 255");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "232\n");
    EXPECT_EQ(RunCli(dir_, "palette nearest 256 0 0").code, 2);

    test::WriteText(dir_ / "two.txt", "a\nb\nc\n1 2 3\n4 5 6\n");
    ASSERT_EQ(RunCli(dir_, "palette convert " + Quoted(dir_, "two.txt") + " -o " + Quoted(dir_, "p.pal") + " --binary").code, 0);
    const auto table = test::ReadBytes(dir_ / "p.pal");
    ASSERT_EQ(table.size(), 1024u);
    EXPECT_EQ(std::vector<std::uint8_t>(table.begin(), table.begin() + 8), (std::vector<std::uint8_t>{3, 2, 1, 0, 6, 5, 4, 0}));
    EXPECT_TRUE(std::equal(table.begin() + 8, table.end(), DefaultColourTable().begin() + 8));
    ASSERT_EQ(RunCli(dir_, "palette convert " + Quoted(dir_, "p.pal") + " -o " + Quoted(dir_, "p.txt") + " --text").code, 0);
    EXPECT_EQ(test::ReadText(dir_ / "p.txt").substr(0, 34), "JASP-PAL\nOrvel Shp Tool\n256\n1 2 3\n");
    EXPECT_EQ(RunCli(dir_, "palette convert " + Quoted(dir_, "p.pal") + " -o " + Quoted(dir_, "q.txt")).code, 2);
    run = RunCli(dir_, "palette convert " + Quoted(dir_, "none.pal") + " -o " + Quoted(dir_, "q.txt") + " --text");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("] Not found"), std::string::npos);

    CBmpDib picture = test::PictureOf(test::IndexRows{{63, 96, 5}, {231, 255, 150}});
    ASSERT_TRUE(picture.SaveBmp(dir_.File("dup.bmp"), true, messages_));
    ASSERT_EQ(RunCli(dir_, "palette remap " + Quoted(dir_, "dup.bmp") + " -o " + Quoted(dir_, "dup2.bmp")).code, 0);
    ASSERT_TRUE(picture.LoadBmp(dir_.File("dup2.bmp"), messages_));
    EXPECT_EQ(test::RowsOf(picture), (test::IndexRows{{32, 88, 5}, {1, 117, 88}}));
}

TEST_F(ImageCliTest, PaletteCompareListsTheRowsOfTheComparisonDialog) {
    // A text palette by its first bytes whatever its name, against four bytes of binary palette: entry 0 differs in
    // its fourth byte only, which does not count.
    test::WriteText(dir_ / "game.pal", "JASP-PAL\nOrvel Shp Tool\n256\n0 0 0\n1 2 3\n");
    test::WriteBytes(dir_ / "short.pal", {0, 0, 0, 9});
    CliRun run = RunCli(dir_, "palette compare " + Quoted(dir_, "game.pal") + " " + Quoted(dir_, "short.pal") +
                                  " --only-differences");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "1st: game.pal\n2nd: short.pal\n Pal. Index   1st Palette (R,G,B)   2nd Palette (R,G,B)\n"
              " 001            1,   2,   3         240, 240, 240\n");
    run = RunCli(dir_, "palette compare " + Quoted(dir_, "short.pal") + " --json");
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string start = "{\"first\":\"short.pal\",\"second\":\"Default Orvel palette\","
                                      "\"only_differences\":false,\"differences\":0,\"rows\":[{\"index\":0,"
                                      "\"first\":[0,0,0],\"second\":[0,0,0]},{\"index\":1,\"first\":[240,";
    EXPECT_EQ(run.out.substr(0, start.size()), start);
    run = RunCli(dir_, "palette compare " + Quoted(dir_, "none.pal"));
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "[" + dir_.File("none.pal") + "] Not found\n");
}

}  // namespace
}  // namespace pixmond
