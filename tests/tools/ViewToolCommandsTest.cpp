#include <gtest/gtest.h>

#include <set>

#include "archive/CDatFile.h"
#include "image/IconSource.h"
#include "support/ArchiveBuilder.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "tools/ViewToolCommands.h"
#include "ui/AppSettings.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;

class ViewToolCommandsTest : public ::testing::Test {
protected:
    ViewToolCommandsTest() {
        settings_.SetS16Folder(dir_.Path().string() + "/");
        fs::create_directories(dir_ / "out");
    }
    void Load(const test::ArchiveBuilder& builder) {
        builder.Write(dir_ / "a.dat");
        ASSERT_TRUE(dat_.Load((dir_ / "a.dat").string(), false));
    }
    int Entry(const std::string& name) const {
        for (int i = 0; i < dat_.Total(); ++i)
            if (dat_.Item(i).Name() == name) return i;
        return -1;
    }
    std::vector<int> AllRows() const {
        std::vector<int> rows;
        for (int i = 0; i < dat_.Total(); ++i) rows.push_back(i);
        return rows;
    }
    std::unique_ptr<IconSource> Shp(const fs::path& path) {
        return OpenIconSource(IconKind::Shp, IconBytes::OfFile(path.string()), services_.messages);
    }

    test::TempDir dir_;
    RecordingServices services_;
    AppSettings settings_{services_.settings};
    ScriptedPickers pickers_;
    CDatFile dat_{services_.Get()};
    ViewToolCommands tools_{services_.Get(), pickers_, settings_};
};

TEST_F(ViewToolCommandsTest, ListedPngEntriesBecomeShpFilesAndOnlyWrittenOnesCount) {
    const std::array<Rgb, 9> colours{MakeRgb(200, 0, 0), MakeRgb(0, 200, 0),   MakeRgb(0, 0, 200),   MakeRgb(200, 200, 0), MakeRgb(0, 200, 200),
                                     MakeRgb(200, 0, 200), MakeRgb(90, 90, 90), MakeRgb(250, 250, 250), MakeRgb(10, 10, 10)};
    Load(test::ArchiveBuilder()
             .Add("TANKS.PNG", test::SheetPng(240, 150, colours))
             .Add("WIDE.PNG", test::PlainPng(300, 200, MakeRgb(0, 0, 200)))
             .Add("BROKEN.PNG", "no picture at all")
             .Add("HUGE.PNG", test::PlainPng(900, 100, MakeRgb(0, 0, 200)))
             .Add("TIGER.SHP", test::UnitShp(10, 10, 20)));

    // The list must show something other than the unit icons.
    tools_.ArchivePngToShp(dat_, AllRows(), ViewToolCommands::kUnitsOnlyMode);
    tools_.ArchivePngToShp(dat_, {}, 0);
    EXPECT_EQ(services_.messages.Notices(), std::vector<std::string>(2, "\nSelect some files in list to extract as SHP\n"));
    EXPECT_TRUE(pickers_.requests.empty());
    tools_.ArchivePngToShp(dat_, AllRows(), 0);  // cancelled at the picker
    EXPECT_EQ(pickers_.requests.back().title, "Select folder to extract shp files");
    EXPECT_EQ(pickers_.requests.back().initial, settings_.S16Folder());
    EXPECT_EQ(services_.messages.Notices().size(), 2u);

    pickers_.QueueFolder((dir_ / "out").string() + "/");
    EXPECT_EQ(tools_.ArchivePngToShp(dat_, AllRows(), 0), 2);
    // A picture too wide for an icon is no conversion, nor is one that does not decode.
    EXPECT_EQ(services_.messages.Notices().back(), "Extracted 2 PNG files to SHP");
    EXPECT_EQ(services_.messages.Errors(), std::vector<std::string>{"1 PNG files could not be extracted to SHP"});
    EXPECT_EQ(test::FilesUnder(dir_ / "out"), (std::vector<std::string>{"TANKS.shp", "WIDE.shp"}));
    EXPECT_EQ(services_.progress.titles.back(), "Convert/Extract PNG to SHP");

    // A 720 x 450 sheet gives its nine cells in reading order.
    auto tanks = Shp(dir_ / "out" / "TANKS.shp");
    ASSERT_EQ(tanks->Count(), 9);
    std::set<int> cellIndices;
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(tanks->Geometry(n).width, 240) << n;
        EXPECT_EQ(tanks->Geometry(n).height, 150) << n;
        ASSERT_TRUE(tanks->Decode(n));
        cellIndices.insert(tanks->Bitmap().GetIndex(120, 75));
    }
    EXPECT_EQ(cellIndices.size(), 9u);
    // 200 is no multiple of 3: nine copies of the whole picture.
    auto wide = Shp(dir_ / "out" / "WIDE.shp");
    ASSERT_EQ(wide->Count(), 9);
    for (int n = 1; n <= 9; ++n) EXPECT_EQ(wide->Geometry(n), wide->Geometry(1)) << n;
    EXPECT_EQ(wide->Geometry(9).width, 300);
    EXPECT_EQ(wide->Geometry(9).height, 200);

    // Only the rows listed are visited.
    fs::remove_all(dir_ / "out");
    fs::create_directories(dir_ / "out");
    pickers_.QueueFolder((dir_ / "out").string() + "/");
    EXPECT_EQ(tools_.ArchivePngToShp(dat_, {Entry("TIGER.SHP"), Entry("BROKEN.PNG")}, 2), 0);
    EXPECT_EQ(services_.messages.Notices().back(), "No PNG files have been extracted to SHP");
    EXPECT_TRUE(test::FilesUnder(dir_ / "out").empty());
}

TEST_F(ViewToolCommandsTest, AnEntryNameIsNeverAPathOutOfTheChosenFolder) {
    Load(test::ArchiveBuilder().Add("../UP.PNG", test::PlainPng(30, 20, MakeRgb(0, 0, 200))));
    ASSERT_EQ(dat_.Total(), 1);
    pickers_.QueueFolder((dir_ / "out").string() + "/");
    EXPECT_EQ(tools_.ArchivePngToShp(dat_, AllRows(), 0), 0);
    EXPECT_FALSE(fs::exists(dir_ / "UP.shp"));
    EXPECT_EQ(services_.messages.Errors().back(), "../UP.PNG cannot be a file name in " + (dir_ / "out").string() + "/");
}

TEST_F(ViewToolCommandsTest, NationPicturesWantTheirCountThenTheirNameThenAFolder) {
    Load(test::ArchiveBuilder()
             .Add("FLAGS.SHP", test::UnitShp(6, 4, 20, 129))
             .Add("TIGER.SHP", test::UnitShp(6, 4, 20, 129))
             .Add("DOSSIER.SHP", test::UnitShp(6, 4, 20, 20))
             .Add("FLAG.PNG", test::PlainPng(30, 20, MakeRgb(0, 0, 200))));
    const auto current = [this](const std::string& name) {
        EXPECT_TRUE(dat_.SelectEntry(Entry(name))) << name;
        return dat_.CurrentSource();
    };
    // Not an SHP file, or another name: nothing at all.
    EXPECT_FALSE(tools_.NationPictures(current("FLAG.PNG")));
    EXPECT_FALSE(tools_.NationPictures(current("TIGER.SHP")));
    EXPECT_TRUE(services_.messages.Entries().empty());
    EXPECT_FALSE(tools_.NationPictures(current("DOSSIER.SHP")));
    EXPECT_EQ(services_.messages.Notices().back(), "cannot create, Shp file has 20 icons, (neither 220, nor 129)");
    EXPECT_TRUE(pickers_.requests.empty());

    EXPECT_FALSE(tools_.NationPictures(current("FLAGS.SHP")));  // cancelled
    EXPECT_EQ(pickers_.requests.back().title, "select folder to create Halvren nation's pics");
    EXPECT_EQ(pickers_.requests.back().initial, settings_.S16Folder());
    pickers_.QueueFolder((dir_ / "out").string() + "/");
    EXPECT_TRUE(tools_.NationPictures(current("FLAGS.SHP")));
    EXPECT_EQ(test::FilesUnder(dir_ / "out"),
              (std::vector<std::string>{"dossier_medal.bmp", "dossier_panel.bmp", "dossier_portrait.bmp"}));
    EXPECT_EQ(services_.messages.Notices().back(), "Done, All 129 icons saved as BMP");
}

TEST_F(ViewToolCommandsTest, ACancelledFolderBatchStopsAndCountsWhatItWrote) {
    test::WriteBytes(dir_ / "a.png", test::PlainPng(30, 20, MakeRgb(0, 0, 200)));
    test::WriteBytes(dir_ / "b.png", test::PlainPng(30, 20, MakeRgb(0, 0, 200)));
    services_.progress.CancelNextAfter(1);
    EXPECT_EQ(tools_.FolderPngToShp(dir_.Path().string() + "/", {"a.png", "b.png", "x.shp"}, 0), 1);
    EXPECT_TRUE(fs::exists(dir_ / "a.shp"));
    EXPECT_FALSE(fs::exists(dir_ / "b.shp"));
    EXPECT_EQ(services_.messages.Notices().back(), "Converted 1 PNG files to SHP");
}

}  // namespace
}  // namespace pixmond
