#include <gtest/gtest.h>

#include "base/ReadOnlyFile.h"
#include "image/IconKind.h"
#include "image/IconSource.h"
#include "support/IconSetFiles.h"
#include "support/RecordingMessages.h"

namespace pixmond {
namespace {

using test::SameSize;
using test::SolidColour;

TEST(IconKind, NamesAndSizesAreDecidedByOneRuleEach) {
    // Files go by their extension in any case; nothing else of the name counts.
    EXPECT_EQ(IconKindOfName("a.SHP"), IconKind::Shp);
    EXPECT_EQ(IconKindOfName("dir/Plane.s16"), IconKind::S16);
    EXPECT_EQ(IconKindOfName("x.Png"), IconKind::Png);
    EXPECT_EQ(IconKindOfName("a.shp.bak"), IconKind::Other);
    EXPECT_EQ(IconKindOfName("noext"), IconKind::Other);
    EXPECT_EQ(IconKindOfName("units.png/readme"), IconKind::Other);
    // Archive entries go by what their name contains, the last of S16, SHP, PNG winning.
    EXPECT_EQ(IconKindOfEntryName("TANK.S16"), IconKind::S16);
    EXPECT_EQ(IconKindOfEntryName("SHPX.PNG"), IconKind::Png);
    EXPECT_EQ(IconKindOfEntryName("S16SHP.DAT"), IconKind::Shp);
    EXPECT_EQ(IconKindOfEntryName("README.TXT"), IconKind::Other);
    EXPECT_STREQ(IconKindName(IconKind::S16), "S16");
    EXPECT_STREQ(IconKindName(IconKind::Other), "other");

    EXPECT_TRUE(IsIconSheet(240, 150));
    EXPECT_TRUE(IsIconSheet(723, 453));
    EXPECT_FALSE(IsIconSheet(241, 150));
    EXPECT_FALSE(IsIconSheet(237, 150));
    EXPECT_FALSE(IsIconSheet(240, 147));
    int width = 720, height = 450;
    SheetIconSize(width, height);
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 150);
    width = 700;
    SheetIconSize(width, height);
    EXPECT_EQ(width, 700);
}

// The bytes behind a few bytes of something else, as an archive hands an entry over, held in memory.
IconBytes InMemory(std::vector<std::uint8_t> bytes, const std::string& name) {
    bytes.insert(bytes.begin(), 5, 'x');
    return {ReadOnlyFile::FromBytes(std::move(bytes)), 5, name};
}

TEST(IconSource, EveryKindReadsItsIconsFromBytesInMemory) {
    RecordingMessages messages;
    auto shp = OpenIconSource(IconKind::Shp, InMemory(test::SolidShp(3, SameSize(6, 4)), "T.SHP"), messages);
    auto s16 = OpenIconSource(IconKind::S16, InMemory(test::SolidS16(2, SameSize(5, 3)), "P.S16"), messages);
    auto png = OpenIconSource(IconKind::Png, InMemory(test::SheetPng(240, 150), "U.PNG"), messages);
    ASSERT_TRUE(shp && s16 && png);
    EXPECT_EQ(OpenIconSource(IconKind::Other, InMemory({1, 2}, "A.TXT"), messages), nullptr);

    EXPECT_EQ(shp->Count(), 3);
    EXPECT_EQ(shp->Current(), 1);
    EXPECT_EQ(shp->Geometry(2).width, 6);
    EXPECT_FALSE(shp->Geometry(4).readable);
    ASSERT_TRUE(shp->Decode(3));
    EXPECT_EQ(shp->Current(), 3);
    EXPECT_EQ(shp->Bitmap().GetIndex(0, 0), 3);

    EXPECT_EQ(s16->Count(), 2);
    EXPECT_EQ(s16->Geometry(1), (IconGeometry{5, 3, 0, 0, 5, 3, true}));
    ASSERT_TRUE(s16->Decode(2));
    EXPECT_EQ(s16->Bitmap().PixelRgb(4, 2), SolidColour(2));
    EXPECT_FALSE(s16->Decode(3));

    // A picture stands for nine icons, the cells of its sheet; whichever is asked, it is shown whole.
    EXPECT_TRUE(png->IsPicture());
    EXPECT_EQ(png->Count(), 9);
    EXPECT_EQ(png->Select(7), 1);
    EXPECT_EQ(png->Geometry(9), (IconGeometry{80, 50, 0, 0, 80, 50, true}));
    ASSERT_TRUE(png->Decode(5));
    CBmpDib cell;
    cell.Create(80, 50, 24);
    ASSERT_TRUE(cell.Allocate());
    ASSERT_TRUE(png->CopyIcon(cell, 0, 0));
    EXPECT_EQ(cell.PixelRgb(40, 25), SolidColour(5));
    EXPECT_FALSE(png->SaveBlock(BlockParams{}, messages));
    EXPECT_TRUE(messages.Entries().empty());
}

TEST(IconSource, DamagedBytesAreSaidAndNamedNeverRead) {
    RecordingMessages messages;
    auto shp = OpenIconSource(IconKind::Shp, InMemory({1, 2, 3}, "T.SHP"), messages);
    EXPECT_FALSE(shp->Readable());
    EXPECT_EQ(shp->Count(), 0);
    EXPECT_EQ(shp->Problem(), "T.SHP: too short for an SHP file");

    // A count the file cannot hold, and a count of no icon in a sound file.
    auto s16 = OpenIconSource(IconKind::S16, InMemory({200, 0, 0, 0, 1, 2}, "P.S16"), messages);
    EXPECT_FALSE(s16->Readable());
    EXPECT_EQ(s16->Problem(), "P.S16 is not a readable S16 file: its icon count does not fit the file");
    s16 = OpenIconSource(IconKind::S16, InMemory({0, 0, 0, 0}, "E.S16"), messages);
    EXPECT_TRUE(s16->Readable());
    EXPECT_EQ(s16->Problem(), "E.S16: the file holds no icon");
    EXPECT_EQ(s16->Select(1), 0);

    // An icon whose data lies past the end names its number.
    auto cut = test::SolidS16(2, SameSize(5, 3));
    cut.resize(cut.size() - 30);  // all of icon 2's raw pixels
    s16 = OpenIconSource(IconKind::S16, InMemory(cut, "C.S16"), messages);
    ASSERT_EQ(s16->Count(), 2);
    EXPECT_FALSE(s16->Decode(2));
    EXPECT_EQ(s16->Problem().substr(0, 8), "Icon 2: ");

    // Only the picture loader speaks while opening.
    auto png = OpenIconSource(IconKind::Png, InMemory({1, 2, 3}, "U.PNG"), messages);
    EXPECT_FALSE(png->Readable());
    EXPECT_FALSE(png->Decode(1));
    EXPECT_EQ(png->Problem(), "U.PNG: not a PNG picture, or it cannot be decoded");
    EXPECT_EQ(messages.Errors(), std::vector<std::string>{"Error in loading the PNG image"});

    // A file that cannot be opened is said by the source, never by the loader.
    auto missing = OpenIconSource(IconKind::Png, IconBytes::OfFile("/no/such/file.png"), messages);
    EXPECT_FALSE(missing->Readable());
    EXPECT_EQ(missing->Problem(), "Cannot open /no/such/file.png");
    EXPECT_EQ(messages.Errors().size(), 1u);
}

}  // namespace
}  // namespace pixmond
