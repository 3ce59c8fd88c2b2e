#include <gtest/gtest.h>

#include "image/IconSource.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "tools/IconSaveCommands.h"
#include "tools/ProposedNames.h"
#include "ui/AppSettings.h"

namespace pixmond {
namespace {

TEST(ProposedNames, EveryCommandsNameFromFolderTitleIconAndOutputType) {
    const std::string img = "D:\\img\\";
    EXPECT_EQ(ProposeName(ProposedName::Collage, img, "TIGER.SHP", 3, 1), "D:\\img\\TIGER_all.PNG");
    EXPECT_EQ(ProposeName(ProposedName::Icon, img, "TIGER.SHP", 3, 1), "D:\\img\\TIGER_3.PNG");
    // The folder browser hands the whole path: its folder and extension are dropped.
    EXPECT_EQ(ProposeName(ProposedName::Icon, "/bmp/", "/icons/TANKS.shp", 12, 2), "/bmp/TANKS_12.JPG");
    EXPECT_EQ(ProposeName(ProposedName::Icon, "", "a.b.shp", 1, 0), "a.b_1.BMP");
    EXPECT_EQ(ProposeName(ProposedName::Collage, img, "TIGER.SHP", 0, 7), "D:\\img\\TIGER_all.BMP");
    EXPECT_EQ(ProposeName(ProposedName::ArchiveBlock, img, "PLANE.S16", 5, 1), "D:\\img\\PLANE_block.bmp");
    EXPECT_EQ(ProposeName(ProposedName::FolderBlock, img, "/x/PLANE.S16", 5, 1), "D:\\img\\PLANE_block.PNG");
    EXPECT_EQ(ProposeName(ProposedName::ItemsReport, img, "C:\\games\\varnek2.dat"), "C:\\games\\varnek2_list.txt");
    EXPECT_EQ(ProposeName(ProposedName::ItemsOnlyReport, img, "C:\\games\\varnek2.dat"), "C:\\games\\varnek2.txt");
    EXPECT_EQ(ProposeName(ProposedName::BinaryPaletteToLoad, "/pal/", ""), "/pal/*.pal");
    EXPECT_EQ(ProposeName(ProposedName::BinaryPaletteToSave, "/pal/", ""), "/pal/GAME.pal");
    EXPECT_EQ(ProposeName(ProposedName::TextPalette, "/pal/", ""), "/pal/PSP_*.pal");
}

// A 220-icon file saved icon by icon: the progress window counts the icons and can stop the saving, and files
// that are there already are only replaced after the user said yes.
TEST(IconSaveCommands, EachIconShowsProgressCanBeCancelledAndAsksBeforeReplacing) {
    test::TempDir dir;
    test::WriteBytes(dir / "FLAGS.SHP", test::UnitShp(6, 4, 40, 220));
    RecordingServices services;
    AppSettings settings(services.settings);
    settings.SetOutputImage(1);
    ScriptedPickers pickers;
    IconSaveCommands commands(pickers, settings, services);
    std::unique_ptr<IconSource> source =
        OpenIconSource(IconKind::Shp, IconBytes::OfFile(dir.File("FLAGS.SHP")), services.messages);
    ASSERT_EQ(source->Count(), 220);
    std::filesystem::create_directories(dir / "out");
    const std::string folder = dir.File("out") + "/";

    services.progress.CancelNextAfter(10);
    pickers.QueueFolder(folder);
    EXPECT_FALSE(commands.SaveEachIcon(*source, "FLAGS.SHP"));
    EXPECT_EQ(pickers.requests.back().title, "Select folder for Bitmaps");
    EXPECT_EQ(services.progress.titles.back(), "Saving icons");
    const size_t written = test::FilesUnder(dir / "out").size();
    EXPECT_GE(written, 11u);
    EXPECT_LT(written, 220u);
    ASSERT_FALSE(services.messages.Errors().empty());
    EXPECT_EQ(services.messages.Errors().back().rfind("Cancelled: ", 0), 0u) << services.messages.Errors().back();

    // Declined: nothing is written, not even the files missing so far.
    services.messages.QueueAnswer(false);
    pickers.QueueFolder(folder);
    EXPECT_FALSE(commands.SaveEachIcon(*source, "FLAGS.SHP"));
    ASSERT_EQ(services.messages.Questions().size(), 1u);
    EXPECT_EQ(services.messages.Questions().back(),
              std::to_string(written) + " of the 220 pictures are in " + folder +
                  " already (FLAGS_001.PNG is one).\nDo you want to replace them?");
    EXPECT_EQ(test::FilesUnder(dir / "out").size(), written);

    services.messages.QueueAnswer(true);
    pickers.QueueFolder(folder);
    EXPECT_TRUE(commands.SaveEachIcon(*source, "FLAGS.SHP"));
    const auto files = test::FilesUnder(dir / "out");
    ASSERT_EQ(files.size(), 220u);
    EXPECT_EQ(files.front(), "FLAGS_001.PNG");
    EXPECT_EQ(files.back(), "FLAGS_220.PNG");
    EXPECT_EQ(services.messages.Notices().back(), "Done, All 220 icons saved as PNG");
    // The settings's image folder is where the picker starts; choosing a folder does not change it.
    EXPECT_EQ(pickers.requests.back().initial, settings.BmpFolder());

    pickers.QueueFolder("");
    EXPECT_FALSE(commands.SaveEachIcon(*source, "FLAGS.SHP"));
    EXPECT_EQ(services.messages.Questions().size(), 2u);
}

}  // namespace
}  // namespace pixmond
