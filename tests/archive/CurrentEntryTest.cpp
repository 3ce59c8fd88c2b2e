#include <gtest/gtest.h>

#include <filesystem>

#include "archive/CDatFile.h"
#include "image/BitmapCanvas.h"
#include "image/ImageSetColours.h"
#include "image/Palette.h"
#include "support/ArchiveBuilder.h"
#include "support/IconSetFiles.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

using test::ArchiveBuilder;
using test::SameSize;
using test::SolidColour;

Rgb PaletteColour(int index) {
    const auto& p = DefaultPalette();
    return MakeRgb(p[size_t(index) * 3], p[size_t(index) * 3 + 1], p[size_t(index) * 3 + 2]);
}

class CurrentEntry : public ::testing::Test {
protected:
    void SetUp() override {
        ArchiveBuilder()
            .Add("TANK.SHP", test::SolidShp(9, SameSize(40, 30)))
            .Add("PLANE.S16", test::SolidS16(3, SameSize(20, 10)))
            .Add("SHEET.PNG", test::SheetPng(240, 150))
            .Add("NOTES.SHP", "this is text, not icons")
            .Add("FAKE.PNG", "not a picture")
            .Add("EMPTY.SHP", ArchiveBuilder::Shp(0))
            .Add("README.TXT", "hello")
            .Write(dir / "varnek2.dat");
        test::WriteText(dir / "varnek2.keep", "KING;TANK\nGHOST;NOPE\n");
        ASSERT_TRUE(dat.LoadForReading(dir.File("varnek2.dat"), true));
    }
    int Index(const std::string& name) const {
        for (int i = 0; i < dat.Total(); ++i)
            if (dat.Item(i).Name() == name) return i;
        ADD_FAILURE() << name << " not listed";
        return -1;
    }
    Rgb DrawnAt(int x, int y, int zoom = 1) {
        BitmapCanvas canvas(300, 200, MakeRgb(1, 2, 3));
        dat.DrawIcon(canvas, Rect::OfSize(300, 200), zoom);
        return canvas.Pixel(x, y);
    }
    test::TempDir dir;
    RecordingServices services;
    CDatFile dat{services};
};

TEST_F(CurrentEntry, ShpAndS16EntriesAreReadAtTheirOffset) {
    ASSERT_TRUE(dat.SelectEntry(Index("TANK.SHP")));
    EXPECT_EQ(dat.Current(), Index("TANK.SHP"));
    EXPECT_EQ(dat.Selected(), Index("TANK.SHP"));
    EXPECT_EQ(dat.CurrentIcons(), 9);
    EXPECT_EQ(dat.CurrentIcon(), 1);
    EXPECT_EQ(dat.DataOffset(), +dat.Item(Index("TANK.SHP")).offset);
    EXPECT_EQ(dat.SelectIcon(12), 9);
    EXPECT_EQ(dat.CurrentIcon(), 9);
    EXPECT_EQ(DrawnAt(0, 0), PaletteColour(9));
    EXPECT_EQ(dat.CurrentSource()->Geometry(dat.CurrentIcon()).width, 40);

    ASSERT_TRUE(dat.SelectEntry(Index("PLANE.S16")));
    EXPECT_EQ(dat.CurrentIcons(), 3);
    EXPECT_EQ(dat.SelectIcon(2), 2);
    EXPECT_EQ(DrawnAt(19, 9), SolidColour(2));
    EXPECT_EQ(DrawnAt(20, 9), kIconBackground);
}

TEST_F(CurrentEntry, APngEntryIsOnePictureOfNineIcons) {
    ASSERT_TRUE(dat.SelectEntry(Index("SHEET.PNG")));
    EXPECT_EQ(dat.CurrentIcons(), 9);
    EXPECT_EQ(dat.SelectIcon(5), 1);
    EXPECT_EQ(dat.CurrentIcon(), 1);
    EXPECT_EQ(DrawnAt(0, 0), SolidColour(1));
    EXPECT_EQ(DrawnAt(239, 149), SolidColour(9));

    // The collage of a PNG entry is the picture itself, and so is its saved collage.
    BitmapCanvas canvas(300, 200);
    bool done = false;
    dat.DrawCollage(canvas, Rect::OfSize(300, 200), 1, done);
    EXPECT_EQ(canvas.Pixel(120, 70), SolidColour(5));
    EXPECT_TRUE(dat.SaveCollage(dir.File("sheet.bmp"), Rect::OfSize(50, 50), 1));
    CBmpDib saved;
    ASSERT_TRUE(saved.LoadBmp(dir.File("sheet.bmp"), services.messages));
    EXPECT_EQ(saved.Width(), 240);

    EXPECT_EQ(dat.SaveAllIcons(dir.File("out/sheet.png")), 0);
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"Not implemented"});
    EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST_F(CurrentEntry, AFakeShowsTheIconsOfItsRealEntry) {
    const int king = Index("KING.SHP");
    ASSERT_TRUE(dat.Item(king).fake);
    ASSERT_TRUE(dat.SelectEntry(king));
    EXPECT_EQ(dat.CurrentIcons(), 9);
    dat.SelectIcon(4);
    EXPECT_EQ(DrawnAt(10, 10), PaletteColour(4));

    // A fake whose icon does not exist is not loadable: nothing is current and the area stays grey.
    EXPECT_FALSE(dat.SelectEntry(Index("GHOST.PNG")));
    EXPECT_FALSE(dat.HasCurrentEntry());
    EXPECT_EQ(DrawnAt(10, 10), kIconBackground);
    EXPECT_EQ(dat.SelectIcon(3), 0);
    EXPECT_FALSE(dat.SaveIcon(dir.File("ghost.bmp")));
}

TEST_F(CurrentEntry, EntriesThatAreNotWhatTheirNameSaysGiveAGreyPicture) {
    EXPECT_FALSE(dat.SelectEntry(Index("NOTES.SHP")));
    EXPECT_EQ(dat.CurrentIcons(), 0);
    EXPECT_EQ(DrawnAt(5, 5), kIconBackground);
    EXPECT_EQ(dat.SelectIcon(2), 0);

    EXPECT_FALSE(dat.SelectEntry(Index("EMPTY.SHP")));
    EXPECT_EQ(DrawnAt(5, 5), kIconBackground);

    // A PNG entry that does not decode is still current; the loader has said why, and no earlier
    // picture shows through.
    ASSERT_TRUE(dat.SelectEntry(Index("SHEET.PNG")));
    EXPECT_TRUE(dat.SelectEntry(Index("FAKE.PNG")));
    EXPECT_EQ(services.messages.Errors().size(), 1u);
    EXPECT_EQ(DrawnAt(5, 5), kIconBackground);
    EXPECT_FALSE(dat.SaveIcon(dir.File("fake.bmp")));

    EXPECT_FALSE(dat.SelectEntry(Index("README.TXT")));
    EXPECT_FALSE(dat.SelectEntry(-1));
    EXPECT_FALSE(dat.SelectEntry(dat.Total()));
}

TEST_F(CurrentEntry, BulkSavingFollowsTheOutputImageSetting) {
    ASSERT_TRUE(dat.SelectEntry(Index("PLANE.S16")));
    dat.SelectIcon(3);
    services.settings.SetInt("Settings", "Output image", 1);
    EXPECT_EQ(dat.SaveAllIcons(dir.File("plane.s16")), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "plane_003.PNG"));
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"Done, All 3 icons saved as PNG"});
    EXPECT_EQ(dat.CurrentSource()->Current(), 3);

    // Values outside the table save bitmaps.
    services.settings.SetInt("Settings", "Output image", 7);
    ASSERT_TRUE(dat.SelectEntry(Index("TANK.SHP")));
    EXPECT_EQ(dat.SaveAllIcons(dir.File("tank")), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "tank_009.BMP"));
}

TEST_F(CurrentEntry, AReloadLeavesNoStaleEntry) {
    ASSERT_TRUE(dat.SelectEntry(Index("TANK.SHP")));
    ASSERT_TRUE(dat.LoadForReading(dir.File("varnek2.dat"), true));
    EXPECT_FALSE(dat.HasCurrentEntry());
    EXPECT_EQ(DrawnAt(5, 5), kIconBackground);
    ASSERT_TRUE(dat.SelectEntry(Index("TANK.SHP")));
    EXPECT_EQ(DrawnAt(5, 5), PaletteColour(1));
}

TEST_F(CurrentEntry, TheDrawingPaletteStaysWhileEntriesAndArchivesChange) {
    ASSERT_TRUE(dat.SelectEntry(Index("TANK.SHP")));
    CBmpDib::ColourTable palette = DefaultColourTable();
    palette[1 * 4] = 7, palette[1 * 4 + 1] = 8, palette[1 * 4 + 2] = 9;
    dat.SetDrawingPalette(palette);
    // The entry on show takes it at once.
    EXPECT_EQ(DrawnAt(0, 0), MakeRgb(9, 8, 7));

    ASSERT_TRUE(dat.SelectEntry(Index("PLANE.S16")));
    ASSERT_TRUE(dat.SelectEntry(Index("TANK.SHP")));
    EXPECT_EQ(DrawnAt(0, 0), MakeRgb(9, 8, 7));
    ASSERT_TRUE(dat.LoadForReading(dir.File("varnek2.dat"), true));
    ASSERT_TRUE(dat.SelectEntry(Index("TANK.SHP")));
    EXPECT_EQ(DrawnAt(0, 0), MakeRgb(9, 8, 7));
    EXPECT_EQ(dat.DrawingPalette(), palette);

    dat.SetDrawingPalette(DefaultColourTable());
    EXPECT_EQ(DrawnAt(0, 0), PaletteColour(1));
}


}  // namespace
}  // namespace pixmond
