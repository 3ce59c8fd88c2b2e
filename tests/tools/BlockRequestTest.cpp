#include <gtest/gtest.h>

#include "tools/BlockRequest.h"
#include "ui/MemorySettings.h"

namespace pixmond {
namespace {

std::vector<BlockRequest::IconSize> Sizes(int count, int width = 60, int height = 50) {
    return std::vector<BlockRequest::IconSize>(size_t(count), {width, height});
}

TEST(BlockRequestStart, RangeRowsAndSizeText) {
    MemorySettings settings;
    BlockRequest request(settings);
    auto sizes = Sizes(20);
    sizes[5] = {70, 40};
    sizes[1] = {99, 99};  // before the start: not counted
    EXPECT_TRUE(request.Start(sizes, 3, "/img/TIGER_block.bmp"));
    EXPECT_EQ(request.start, 2);
    EXPECT_EQ(request.available, 18);
    EXPECT_EQ(request.count, 18);
    EXPECT_EQ(request.last, 20);
    EXPECT_EQ(request.rows, 1);
    EXPECT_EQ(request.cols, 18);
    EXPECT_EQ(request.AvailableText(), " / 18 ");
    EXPECT_EQ(request.CellSizeText(), "70 x 50 (width/height)");
    EXPECT_EQ(request.SizeText(), "Include icons 3-20\nBitmap size : 1260 x 50   (1 Rows, 18 Cols)");
    EXPECT_EQ(request.fileName, "/img/TIGER_3-20.BMP");

    BlockRequest nine(settings);
    settings.SetInt("Settings", "Output image", 1);
    EXPECT_TRUE(nine.Start(Sizes(9), 1, "D:\\img\\TIGER_block.bmp"));
    EXPECT_EQ(nine.rows, 3);
    EXPECT_EQ(nine.cols, 3);
    EXPECT_EQ(nine.SizeText(), "Include icons 1-9\nBitmap size : 180 x 150   (3 Rows, 3 Cols)");
    EXPECT_EQ(nine.fileName, "D:\\img\\TIGER_1-9.PNG");
    const BlockParams params = nine.Params();
    EXPECT_EQ(params.path, "D:\\img\\TIGER_1-9.PNG");
    EXPECT_EQ(params.first, 0);
    EXPECT_EQ(params.count, 9);
    EXPECT_EQ(params.rows, 3);
    EXPECT_EQ(params.columns, 3);
    EXPECT_EQ(params.cellWidth, 60);
    EXPECT_EQ(params.cellHeight, 50);
}

TEST(BlockRequestEdits, CountLastAndRows) {
    MemorySettings settings;
    BlockRequest request(settings);
    request.Start(Sizes(12), 1, "/img/A_block.bmp");
    request.rows = 3;
    request.count = 7;
    request.CountChanged();
    EXPECT_EQ(request.cols, 3);  // 3 x 2 < 7
    EXPECT_EQ(request.last, 7);
    EXPECT_EQ(request.fileName, "/img/A_1-7.BMP");

    request.count = 1;
    request.CountChanged();
    EXPECT_EQ(request.count, 2);
    request.count = 40;
    request.CountChanged();
    EXPECT_EQ(request.count, 12);

    request.last = 5;
    request.LastChanged();
    EXPECT_EQ(request.count, 5);
    EXPECT_EQ(request.cols, 2);

    // Rows below 1 are raised to 1; the count and the name stay.
    request.rows = 0;
    EXPECT_FALSE(request.RowsChanged());
    EXPECT_EQ(request.rows, 1);
    EXPECT_EQ(request.cols, 5);
    EXPECT_EQ(request.count, 5);
    request.rows = 2;
    EXPECT_TRUE(request.RowsChanged());
    EXPECT_EQ(request.cols, 3);
}

TEST(BlockRequestEdits, TheLastIconAloneMakesABlockOfOne) {
    MemorySettings settings;
    BlockRequest request(settings);
    request.Start(Sizes(9), 9, "/img/A_block.bmp");
    EXPECT_EQ(request.available, 1);
    request.CountChanged();
    EXPECT_EQ(request.count, 1);
    EXPECT_EQ(request.Params().first + request.Params().count, 9);

    request.Start(Sizes(9), 40, "/img/A_block.bmp");
    EXPECT_EQ(request.start, 8);
}

TEST(BlockRequestFile, TypeChangePickAndReproposal) {
    MemorySettings settings;
    BlockRequest request(settings);
    request.Start(Sizes(9), 1, "D:\\img\\TIGER_block.bmp");
    request.OutputTypeChanged(1);
    EXPECT_EQ(request.fileName, "D:\\img\\TIGER_1-9.PNG");
    EXPECT_EQ(settings.GetInt("Settings", "Output image", -1), 1);

    request.FilePicked("/out/My_file.png");
    EXPECT_EQ(settings.GetString("Settings", "BMP folder"), "/out/");
    EXPECT_EQ(request.fileName, "/out/My_file.png");
    EXPECT_TRUE(request.ReproposeFileName());
    EXPECT_EQ(request.fileName, "/out/My_1-9.PNG");

    // A '_' in a folder name is not part of the name.
    BlockRequest plain(settings);
    EXPECT_FALSE(plain.Start(Sizes(9), 1, "/my_icons/tiger.bmp"));
    EXPECT_EQ(plain.fileName, "/my_icons/tiger.bmp");
}

}  // namespace
}  // namespace pixmond
