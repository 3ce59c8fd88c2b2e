#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "image/CBmpDib.h"
#include "image/CShpEditor.h"
#include "image/CShpFile.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "support/RecordingServices.h"

namespace pixmond {
namespace {

constexpr std::uint8_t kLeftOut = 250;

// count icons of 3 x 2; icon n (1-based) holds index n % 200 + 1, except the ones listed, which hold kLeftOut.
std::vector<std::uint8_t> NationFile(int count, std::vector<int> leftOut) {
    test::ShpBuilder builder;
    for (int n = 1; n <= count; ++n) {
        const bool out = std::find(leftOut.begin(), leftOut.end(), n) != leftOut.end();
        const std::uint8_t index = out ? kLeftOut : std::uint8_t(n % 200 + 1);
        builder.Icon(test::IndexRows(2, std::vector<std::uint8_t>(3, index)));
    }
    return builder.Build();
}

bool Holds(const CBmpDib& picture, std::uint8_t index) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.GetIndex(x, y) == index) return true;
    return false;
}

class NationPicturesTest : public ::testing::Test {
protected:
    CBmpDib Picture(const std::string& name) {
        CBmpDib picture;
        EXPECT_TRUE(picture.LoadBmp((dir / "pics" / name).string(), services.messages)) << name;
        return picture;
    }
    test::TempDir dir;
    RecordingServices services;
};

TEST_F(NationPicturesTest, FlagsFileGivesSixPictures) {
    const std::string path = dir.File("flags.shp");
    test::WriteBytes(path, NationFile(220, {125, 157, 189}));
    std::filesystem::create_directories(dir / "pics");
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(path, 7));
    ASSERT_TRUE(CShpEditor(services).SaveNationPictures(shp, dir.File("pics")));
    EXPECT_EQ(shp.CurrentIcon(), 7);
    EXPECT_EQ(services.messages.Notices(), std::vector<std::string>{"Done, All 220 icons saved as BMP"});

    const char* names[] = {"flag_med.bmp", "flag_big.bmp", "flag_small.bmp", "roundel.bmp", "inspect_leader.bmp",
                           "inspect_medal.bmp"};
    for (const char* name : names) {
        const CBmpDib picture = Picture(name);
        EXPECT_EQ(picture.Width(), 93) << name;
        EXPECT_EQ(picture.Height(), std::string(name) == "flag_small.bmp" ? 4 : 2) << name;
        EXPECT_FALSE(Holds(picture, kLeftOut)) << name;
    }
    // flag_small: icons 63..93 in the first row, 94..124 in the second.
    const CBmpDib small = Picture("flag_small.bmp");
    EXPECT_EQ(small.GetIndex(0, 0), 63 % 200 + 1);
    EXPECT_EQ(small.GetIndex(90, 3), 124 % 200 + 1);
    EXPECT_EQ(Picture("inspect_medal.bmp").GetIndex(92, 1), 220 % 200 + 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "pics"), {}), 6);
}

TEST_F(NationPicturesTest, DossierFileGivesPanelPortraitsAndMedals) {
    const std::string path = dir.File("dossier.shp");
    test::WriteBytes(path, NationFile(129, {2, 34, 35}));
    std::filesystem::create_directories(dir / "pics");
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(path, 1));
    ASSERT_TRUE(CShpEditor(services).SaveNationPictures(shp, dir.File("pics") + "/"));
    const CBmpDib panel = Picture("dossier_panel.bmp");
    EXPECT_EQ(panel.Width(), 3);
    EXPECT_EQ(panel.GetIndex(1, 1), 2);
    EXPECT_EQ(Picture("dossier_portrait.bmp").Width(), 93);
    EXPECT_EQ(Picture("dossier_medal.bmp").Width(), 279);
    for (const char* name : {"dossier_portrait.bmp", "dossier_medal.bmp"}) EXPECT_FALSE(Holds(Picture(name), kLeftOut));
}

TEST_F(NationPicturesTest, OtherIconCountsAreRefused) {
    const std::string path = dir.File("flags.shp");
    test::WriteBytes(path, NationFile(9, {}));
    CShpFile shp;
    ASSERT_TRUE(shp.OpenFile(path, 1));
    EXPECT_FALSE(CShpEditor(services).SaveNationPictures(shp, dir.File("pics")));
    EXPECT_EQ(services.messages.Notices(),
              std::vector<std::string>{"cannot create, Shp file has 9 icons, (neither 220, nor 129)"});
    EXPECT_TRUE(CShpEditor::IsNationPicturesName("/x/Halvren_FLAGS.shp"));
    EXPECT_TRUE(CShpEditor::IsNationPicturesName("Dossier2.shp"));
    EXPECT_FALSE(CShpEditor::IsNationPicturesName("/flag/tank.shp"));
}

}  // namespace
}  // namespace pixmond
