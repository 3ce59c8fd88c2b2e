#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <set>

#include "image/CBmpDib.h"
#include "image/CShp3.h"
#include "image/PngReader.h"
#include "image/S16Writer.h"
#include "support/PngBuilder.h"
#include "cli/CliRunner.h"
#include "support/TestFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

using Run = test::CliRun;
using test::RunCli;

S16Icon Solid(int width, int height, std::uint16_t value, std::int32_t encoding) {
    S16Icon icon;
    icon.width = icon.contentWidth = width;
    icon.height = icon.contentHeight = height;
    icon.encoding = encoding;
    icon.content.assign(size_t(width) * height, value);
    return icon;
}

std::vector<std::uint8_t> GreyPng(int width, int height) {
    test::PngSpec png;
    png.width = width;
    png.height = height;
    png.colourType = PNG_COLOR_TYPE_GRAY;
    png.samples.assign(size_t(width) * height, 90);
    return test::EncodePng(png);
}

TEST(S16PngCli, InfoDescribesS16FilesAndPngPictures) {
    test::TempDir dir;
    S16Icon second = Solid(4, 2, 0xF800, 1);
    second.width = 10;
    second.xOffset = 3;
    test::WriteBytes(dir / "u.s16", BuildS16({Solid(3, 2, 0x001F, 0), second}));
    test::WriteBytes(dir / "sheet.png", GreyPng(240, 150));
    test::WriteBytes(dir / "wide.png", GreyPng(241, 150));

    auto run = RunCli(dir, "info --json '" + dir.File("u.s16") + "'");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "{\"kind\":\"s16\",\"path\":\"" + dir.File("u.s16") +
                           "\",\"count\":2,\"icons\":["
                           "{\"number\":1,\"width\":3,\"height\":2,\"content_width\":3,\"content_height\":2,"
                           "\"x_offset\":0,\"y_offset\":0,\"data_offset\":0,\"data_size\":12,\"encoding\":0},"
                           "{\"number\":2,\"width\":10,\"height\":2,\"content_width\":4,\"content_height\":2,"
                           "\"x_offset\":3,\"y_offset\":0,\"data_offset\":12,\"data_size\":3,\"encoding\":1}]}\n");
    run = RunCli(dir, "info '" + dir.File("u.s16") + "'");
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("S16, 2 icons"), std::string::npos) << run.out;

    run = RunCli(dir, "info --json '" + dir.File("sheet.png") + "'");
    EXPECT_EQ(run.out, "{\"kind\":\"png\",\"path\":\"" + dir.File("sheet.png") +
                           "\",\"width\":240,\"height\":150,\"sheet\":true}\n");
    run = RunCli(dir, "info --json '" + dir.File("wide.png") + "'");
    EXPECT_NE(run.out.find("\"sheet\":false"), std::string::npos) << run.out;
}

TEST(S16PngCli, ExportWritesS16IconsAndWholePngPictures) {
    test::TempDir dir;
    S16Icon icon = Solid(2, 2, 0x07E0, 1);
    icon.width = 4;
    test::WriteBytes(dir / "u.s16", BuildS16({Solid(3, 3, 0xFFFF, 0), icon}));
    test::WriteBytes(dir / "p.png", GreyPng(5, 4));

    EXPECT_EQ(RunCli(dir, "export '" + dir.File("u.s16") + "' --icon 2 -o '" + dir.File("two.bmp") + "'").code, 0);
    RecordingMessages messages;
    CBmpDib picture;
    ASSERT_TRUE(picture.LoadBmp(dir.File("two.bmp"), messages));
    EXPECT_EQ(picture.BitsPerPixel(), 24);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.PixelRgb(0, 0), MakeRgb(0, 252, 0));
    EXPECT_EQ(picture.PixelRgb(3, 1), MakeRgb(248, 0, 248));

    auto run = RunCli(dir, "export '" + dir.File("u.s16") + "' --all --type jpg --quality 70 -o '" + dir.File("all") + "'");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "all" / "u_001.JPG"));
    EXPECT_TRUE(std::filesystem::exists(dir / "all" / "u_002.JPG"));

    EXPECT_EQ(RunCli(dir, "export '" + dir.File("p.png") + "' --icon 1 -o '" + dir.File("p.bmp") + "'").code, 0);
    ASSERT_TRUE(picture.LoadBmp(dir.File("p.bmp"), messages));
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.PixelRgb(4, 3), MakeRgb(90, 90, 90));

    run = RunCli(dir, "export '" + dir.File("u.s16") + "' --icon 3 -o '" + dir.File("x.bmp") + "'");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Icon 3 is not in " + dir.File("u.s16") + " (icons 1..2)\n");
    EXPECT_EQ(RunCli(dir, "export '" + dir.File("u.s16") + "' --icon 1 -o x.png --quality 0").code, 2);
}

TEST(S16PngCli, ConvertChangesPictureFormats) {
    test::TempDir dir;
    test::WriteBytes(dir / "p.png", GreyPng(6, 3));
    auto run = RunCli(dir, "convert '" + dir.File("p.png") + "' -o '" + dir.File("p.bmp") + "'");
    EXPECT_EQ(run.code, 0) << run.err;
    run = RunCli(dir, "convert '" + dir.File("p.bmp") + "' -o '" + dir.File("q.png") + "'");
    EXPECT_EQ(run.code, 0) << run.err;
    RecordingMessages messages;
    CBmpDib picture;
    ASSERT_EQ(LoadPng(picture, dir.File("q.png"), nullptr, 0, messages), kPngLoaded);
    EXPECT_EQ(picture.PixelRgb(5, 2), MakeRgb(90, 90, 90));
    run = RunCli(dir, "convert '" + dir.File("p.bmp") + "' -o '" + dir.File("q.jpg") + "' --quality 40");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_GT(std::filesystem::file_size(dir / "q.jpg"), 100u);

    run = RunCli(dir, "convert '" + dir.File("p.png") + "' -o '" + dir.File("p.s16") + "'");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Cannot save " + dir.File("p.s16") + ": pictures are written as .bmp, .png or .jpg\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "p.s16"));
}

TEST(S16PngCli, CorruptFilesFailWithAMessage) {
    test::TempDir dir;
    auto png = GreyPng(8, 8);
    png.resize(png.size() / 2);
    test::WriteBytes(dir / "cut.png", png);
    auto s16 = BuildS16({Solid(3, 3, 0, 0)});
    s16[0] = 200;
    test::WriteBytes(dir / "count.s16", s16);

    auto run = RunCli(dir, "info '" + dir.File("cut.png") + "'");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Error in loading the PNG image\n");
    run = RunCli(dir, "export '" + dir.File("count.s16") + "' --icon 1 -o '" + dir.File("x.bmp") + "'");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("is not a readable S16 file"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "x.bmp"));
}

TEST(S16PngCli, SampleHoldsNineIconS16FilesOfBothEncodingsAndSheets) {
    test::TempDir dir;
    ASSERT_EQ(RunCli(dir, "sample '" + dir.File("s") + "'").code, 0);
    std::set<std::int32_t> encodings;
    for (const char* name : {"tanks.s16", "ships.s16"}) {
        CShp3 set;
        ASSERT_TRUE(set.OpenFile(dir.File("s/") + name));
        ASSERT_EQ(set.IconCount(), 9) << name;
        for (int n = 1; n <= 9; ++n) {
            set.SelectIcon(n);
            EXPECT_GT(set.DecodeIcon(), 0) << name << n;
            encodings.insert(set.CurrentEntry()->encoding);
        }
    }
    EXPECT_EQ(encodings, (std::set<std::int32_t>{0, 1}));
    for (const char* name : {"planes.png", "armour.png"}) {
        auto run = RunCli(dir, std::string("info --json '") + dir.File("s/") + name + "'");
        EXPECT_NE(run.out.find("\"sheet\":true"), std::string::npos) << run.out;
    }
}

}  // namespace
}  // namespace pixmond
