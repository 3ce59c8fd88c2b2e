#include <gtest/gtest.h>

#include <filesystem>

#include "base/Format.h"
#include "image/CBmpDib.h"
#include "image/CShpFile.h"
#include "image/Palette.h"
#include "support/IconSetFiles.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "tools/ShpToBmpConverter.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

using test::IndexRows;

// A w x h icon of index, its top-left pixel transparent.
IndexRows Block(int w, int h, std::uint8_t index) {
    IndexRows rows(size_t(h), std::vector<std::uint8_t>(size_t(w), index));
    rows[0][0] = kTransparentIndex;
    return rows;
}

class ShpToBmpConverterTest : public ::testing::Test {
protected:
    ShpToBmpConverterTest() : converter(services) {
        std::filesystem::create_directories(dir / "in");
        converter.inputFolder = dir.File("in") + "/";
        converter.outputFolder = dir.File("out") + "/";
        std::filesystem::create_directories(dir / "out");
    }
    test::TempDir dir;
    RecordingServices services;
    ShpToBmpConverter converter;
};

TEST(ShpToBmpConverterNames, OutputPathsAndCountLine) {
    EXPECT_EQ(ShpToBmpConverter::OutputPath("D:\\out\\", "tank.shp", 1), "D:\\out\\tank.PNG");
    EXPECT_EQ(ShpToBmpConverter::OutputPath("/out/", "Tank.S16", 0), "/out/Tank.BMP");
    EXPECT_EQ(ShpToBmpConverter::CountLine(3), "3 files in folder (only those with 9 icons will be converted though)");
}

TEST_F(ShpToBmpConverterTest, OnlyNineIconFilesAreConverted) {
    test::ShpBuilder nine, ten;
    for (int k = 0; k < 9; ++k) nine.Icon(Block(4, 3, std::uint8_t(k + 1)));
    for (int k = 0; k < 10; ++k) ten.Icon(Block(4, 3, std::uint8_t(k + 1)));
    test::WriteBytes(dir / "in" / "tank.shp", nine.Build());
    test::WriteBytes(dir / "in" / "jeep.S16", test::SolidS16(9, test::SameSize(5, 4)));
    test::WriteBytes(dir / "in" / "ten.shp", ten.Build());
    test::WriteText(dir / "in" / "game.sav", "not icons");
    test::WriteText(dir / "in" / "notes.txt", "x");
    EXPECT_EQ(converter.ListFiles(), (std::vector<std::string>{"game.sav", "jeep.S16", "tank.shp", "ten.shp"}));
    converter.outputType = 1;
    EXPECT_EQ(converter.Convert(), 2);
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"Done!\n2 files converted"});
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "tank.PNG"));
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "jeep.PNG"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out" / "ten.PNG"));
}

// Files are converted a few at a time: a cancel stops the batch soon after, and every file written is counted.
TEST_F(ShpToBmpConverterTest, CancelKeepsAndCountsWhatIsWritten) {
    test::ShpBuilder nine;
    for (int k = 0; k < 9; ++k) nine.Icon(Block(4, 3, std::uint8_t(k + 1)));
    for (int f = 0; f < 50; ++f) test::WriteBytes(dir / "in" / (std::to_string(100 + f) + ".shp"), nine.Build());
    services.progress.CancelNextAfter(1);
    const int converted = converter.Convert();
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "100.BMP"));
    EXPECT_GE(converted, 1);
    EXPECT_LT(converted, 50);
    EXPECT_EQ(converted, std::distance(std::filesystem::directory_iterator(dir / "out"), {}));
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{Format("Done!\n%d files converted", converted)});
}

TEST_F(ShpToBmpConverterTest, TheBlockOfANineIconFileHoldsItsIconsPlaced3x3) {
    test::ShpBuilder builder;
    std::vector<IndexRows> icons;
    for (int k = 0; k < 9; ++k) icons.push_back(Block(k == 4 ? 62 : 60, k == 4 ? 51 : 50, std::uint8_t(k + 1)));
    for (const auto& icon : icons) builder.Icon(icon);
    test::WriteBytes(dir / "in" / "unit.shp", builder.Build());
    converter.outputType = 0;
    ASSERT_EQ(converter.Convert(), 1);

    CBmpDib block;
    ASSERT_TRUE(block.LoadBmp(dir.File("out/unit.BMP"), services.messages));
    ASSERT_EQ(block.Width(), 186);
    ASSERT_EQ(block.Height(), 153);
    for (int k = 0; k < 9; ++k) {
        const IndexRows& icon = icons[size_t(k)];
        const int left = (k % 3) * 62, top = (k / 3) * 51;
        for (int y = 0; y < 51; ++y)
            for (int x = 0; x < 62; ++x) {
                const bool inside = y < int(icon.size()) && x < int(icon[0].size());
                const std::uint8_t expected = inside ? icon[size_t(y)][size_t(x)] : kTransparentIndex;
                ASSERT_EQ(block.GetIndex(left + x, top + y), expected) << "icon " << k << " at " << x << "," << y;
            }
    }
}

TEST_F(ShpToBmpConverterTest, FoldersAndTypeComeFromAndGoToTheSettings) {
    services.settings.SetString("Settings", "S16 folder", "/s16");
    services.settings.SetString("Settings", "BMP folder", "/bmp/");
    services.settings.SetInt("Settings", "Output image", 1);
    converter.Load();
    EXPECT_EQ(converter.inputFolder, "/s16/");
    EXPECT_EQ(converter.outputFolder, "/bmp/");
    EXPECT_EQ(converter.outputType, 1);
    converter.ChooseOutputFolder("/pictures");
    converter.ChooseType(0);
    EXPECT_EQ(services.settings.GetString("Settings", "BMP folder"), "/pictures/");
    EXPECT_EQ(services.settings.GetInt("Settings", "Output image", -1), 0);
}

}  // namespace
}  // namespace pixmond
