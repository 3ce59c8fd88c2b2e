#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "image/CBmpDib.h"
#include "image/Palette.h"
#include "support/ArchiveBuilder.h"
#include "support/IconSetFiles.h"
#include "cli/CliRunner.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

using test::CliRun;

using test::ArchiveBuilder;
using test::SameSize;

class ImageSetCli : public ::testing::Test {
protected:
    void SetUp() override {
        ArchiveBuilder()
            .Add("TANK.SHP", test::SolidShp(9, SameSize(40, 30)))
            .Add("PLANE.S16", test::SolidS16(3, [](int n, int& w, int& h) {
                w = 10 * n;
                h = 5 * n;
            }))
            .Add("SHEET.PNG", test::SheetPng(240, 150))
            .Add("NOTES.SHP", "this is text, not icons")
            .Add("BROKEN.PNG", "not a picture")
            .Write(dir / "a.dat");
        // The fake KING stands for PLANE.
        test::WriteText(dir / "a.keep", "KING;PLANE\n");
    }
    test::CliRun Run(const std::string& args) { return test::RunCli(dir, args); }
    CBmpDib Picture(const std::string& name) {
        CBmpDib picture;
        EXPECT_TRUE(picture.LoadBmp(dir.File(name), messages));
        return picture;
    }
    test::TempDir dir;
    RecordingMessages messages;
};

TEST_F(ImageSetCli, CheckNamesWhatCannotBeDecoded) {
    CliRun run = Run("check a.dat");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("NOTES.SHP: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("BROKEN.PNG: not a PNG picture"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("5 entries checked, 13 icons decoded, 2 problems"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");

    run = Run("check a.dat --json");
    EXPECT_NE(run.out.find("{\"archive\":\"a.dat\",\"entries\":5,\"icons\":13,\"problems\":[{\"entry\":"),
              std::string::npos)
        << run.out;

    ArchiveBuilder().Add("TANK.SHP", test::SolidShp(2, SameSize(4, 4))).Write(dir / "good.dat");
    EXPECT_EQ(Run("check good.dat").code, 0);
}

TEST_F(ImageSetCli, ExportReadsEntriesOfAnArchive) {
    ASSERT_EQ(Run("export a.dat --entry tank --icon 4 -o four.bmp").code, 0);
    EXPECT_EQ(Picture("four.bmp").GetIndex(0, 0), 4);
    EXPECT_EQ(Run("export a.dat --entry TANK.SHP --icon 10 -o x.bmp").code, 1);
    EXPECT_EQ(Run("export a.dat --entry NOPE --icon 1 -o x.bmp").code, 1);

    // A fake entry reads its real entry's icons.
    ASSERT_EQ(Run("export a.dat --entry KING --icon 2 -o king.bmp").code, 0);
    EXPECT_EQ(Picture("king.bmp").Width(), 20);

    ASSERT_EQ(Run("export a.dat --entry PLANE --all --type png -o out").code, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "PLANE_003.PNG"));
    CliRun run = Run("export a.dat --entry SHEET --all -o out");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "Not implemented\n");
}

// Every entry's icons: what cannot be read is named in entry order, and with the output not on a terminal no
// progress bar is drawn.
TEST_F(ImageSetCli, ExportOfEveryEntrySaysOnlyWhatWentWrong) {
    const CliRun run = Run("export a.dat --all-entries --type png -o all");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Error in loading the PNG image\nNOTES.SHP cannot be read\n2 icons of 5 entries were not written\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "all" / "TANK_009.PNG"));
    EXPECT_TRUE(std::filesystem::exists(dir / "all" / "PLANE_003.PNG"));
    EXPECT_TRUE(std::filesystem::exists(dir / "all" / "SHEET.PNG"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "all"), {}), 13);
}

TEST_F(ImageSetCli, CollagesBlocksAndSheetCells) {
    ASSERT_EQ(Run("export a.dat --entry TANK --collage 400x400 -o c.bmp").code, 0);
    EXPECT_EQ(Picture("c.bmp").Width(), 120);
    EXPECT_EQ(Picture("c.bmp").Height(), 90);
    EXPECT_EQ(Run("export a.dat --entry TANK --collage 400 -o c.bmp").code, 2);

    // The cell takes the largest icon of the range: icons 2 and 3 of the plane are 20x10 and 30x15.
    ASSERT_EQ(Run("export a.dat --entry PLANE --block --first 2 --count 2 --rows 1 -o b.bmp").code, 0);
    EXPECT_EQ(Picture("b.bmp").Width(), 60);
    EXPECT_EQ(Picture("b.bmp").Height(), 15);
    ASSERT_EQ(Run("export a.dat --entry TANK --block --first 1 --count 5 --rows 2 --cols 3 --cell 10x8 --lines -o l.bmp")
                  .code,
              0);
    EXPECT_EQ(Picture("l.bmp").Width(), 33);
    EXPECT_EQ(Picture("l.bmp").GetIndex(25, 12), 196);

    test::WriteBytes(dir / "sheet.png", test::SheetPng(240, 150));
    ASSERT_EQ(Run("export sheet.png --cell 1 -o cell.bmp").code, 0);
    EXPECT_EQ(Picture("cell.bmp").Width(), 80);
    EXPECT_EQ(Picture("cell.bmp").PixelRgb(0, 0), test::SolidColour(7));
    ASSERT_EQ(Run("export a.dat --entry SHEET --icon 5 -o whole.bmp").code, 0);
    EXPECT_EQ(Picture("whole.bmp").Width(), 240);

    // Files without an icon (a fuzzer's six zero bytes as an S16, a text as an SHP) fail with a word, not silently.
    test::WriteBytes(dir / "zero.s16", std::vector<std::uint8_t>(6, 0));
    test::WriteText(dir / "text.shp", "this is text, not icons");
    for (const char* file : {"zero.s16", "text.shp"}) {
        const test::CliRun run = Run(std::string("export ") + file + " --collage 300x200 -o none.bmp");
        EXPECT_EQ(run.code, 1) << file;
        EXPECT_FALSE(run.err.empty()) << file;
    }
}

TEST_F(ImageSetCli, RenderDrawsWhatAViewShows) {
    ASSERT_EQ(Run("render a.dat --entry TANK --icon 2 --zoom 2 --area 100x80 -o r.bmp").code, 0);
    CBmpDib r = Picture("r.bmp");
    EXPECT_EQ(r.Width(), 100);
    const auto& p = DefaultPalette();
    EXPECT_EQ(r.PixelRgb(79, 59), MakeRgb(p[6], p[7], p[8]));
    EXPECT_EQ(r.PixelRgb(80, 60), MakeRgb(192, 192, 192));

    ASSERT_EQ(Run("render a.dat --entry NOTES --area 50x50 -o grey.bmp").code, 1);
    EXPECT_EQ(Run("render a.dat --entry TANK --area 0x50 -o r.bmp").code, 2);
}

}  // namespace
}  // namespace pixmond
