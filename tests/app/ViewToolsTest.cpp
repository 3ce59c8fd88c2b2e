#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

#include "app/CApp.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "browser/qt/CDatView.h"
#include "folderview/qt/CShpView.h"
#include "image/PngReader.h"
#include "support/ArchiveBuilder.h"
#include "support/DatSample.h"
#include "support/PngBuilder.h"
#include "support/FrameTest.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "tools/qt/CShpCat.h"
#include "ui/AppSettings.h"

namespace pixmond {
namespace {

namespace fs = std::filesystem;

// Both browsers in the real frame, on the sample archive; the commands are driven through their actions.
class ViewToolsTest : public test::FrameTest {
protected:
    ViewToolsTest() {
        archive_ = test::WriteDatSample(dir_.Path());
        fs::create_directories(dir_ / "out");
        settings_.SetS16Folder(dir_.Path().string() + "/");
        dat_ = ShowFrame<CDatView>(CMainFrame::kDatMode, dir_.Path().string());
    }
    bool Open() { return doc_.OnOpenDocument(archive_.string()); }
    void SelectRow(int row) {
        dat_->EntryList()->setCurrentIndex(dat_->EntryList()->model()->index(row, 0));
    }
    // The texts of the visible entries of the frame's "&Tools" menu, brought up to date as when it opens.
    QStringList ToolsShown() {
        emit frame_->ToolsMenu()->aboutToShow();
        QStringList shown;
        for (QAction* action : frame_->ToolsMenu()->actions())
            if (action->isVisible() && !action->isSeparator()) shown << action->text();
        return shown;
    }
    std::string Folder(const std::string& name) const { return (dir_ / name).string() + "/"; }

    fs::path archive_;
    CDatView* dat_ = nullptr;
};

TEST_F(ViewToolsTest, TheToolsMenuShowsTheActiveViewsCommandsAndTheShpMakerLeadsTheToolbar) {
    ASSERT_NE(dat_, nullptr);
    EXPECT_EQ(ToolsShown(), (QStringList{"Shp &Maker", "Convert Shp/s16 files in a folder to Bmp / Png",
                                         "Get Icon's Catalog", "Create Halvren nations pics",
                                         "Convert/Extract PNG to Orvel's SHP"}));
    // Nothing to catalogue, report or compare before an archive is open.
    EXPECT_FALSE(dat_->CatalogAction()->isEnabled());
    emit dat_->Menus().front()->aboutToShow();
    EXPECT_FALSE(dat_->ReportIconsAction()->isEnabled());
    EXPECT_FALSE(dat_->CompareReportAction()->isEnabled());
    EXPECT_FALSE(dat_->ImportSheetsAction()->isEnabled());
    ASSERT_TRUE(Open());
    EXPECT_TRUE(ToolsShown().contains("Get Icon's Catalog"));
    EXPECT_TRUE(dat_->CatalogAction()->isEnabled());
    emit dat_->Menus().front()->aboutToShow();
    for (QAction* action : {dat_->ReportIconsAction(), dat_->ReportItemsAction(), dat_->CompareReportAction(),
                            dat_->CompatibilityAction(), dat_->ExportSheetsAction(), dat_->ImportSheetsAction()})
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();

    const QList<QAction*> buttons = dat_->ToolBar()->actions();
    ASSERT_GE(buttons.size(), 2);
    EXPECT_EQ(buttons[0], dat_->ShpMakerButton());
    EXPECT_EQ(buttons[1]->text(), QStringLiteral("Shp Tool"));

    frame_->SwitchView(CMainFrame::kShpMode);
    EXPECT_EQ(ToolsShown(), (QStringList{"Shp &Maker", "Convert Shp/s16 files in a folder to Bmp / Png",
                                         "Get Icon's Catalog", "Create Halvren nations pics",
                                         "Convert/Extract PNG to Orvel's SHP",
                                         "Crop PNG files to 240x150 (if possible)"}));
    EXPECT_FALSE(dat_->CatalogAction()->isVisible());
    frame_->SwitchView(CMainFrame::kDatMode);
    EXPECT_FALSE(ToolsShown().contains("Crop PNG files to 240x150 (if possible)"));
}

TEST_F(ViewToolsTest, ArchiveCommandsWriteTheReportTheShpFilesAndCatalogueTheListedRows) {
    ASSERT_TRUE(Open());
    pickers_.QueueFile((dir_ / "list.txt").string());
    dat_->ReportIconsAction()->trigger();
    EXPECT_NE(test::ReadText(dir_ / "list.txt").find("TIGER.SHP        20 icons"), std::string::npos);

    // The sample's one PNG entry, read from the archive (the conversion itself is tested in the core).
    pickers_.QueueFolder(Folder("out"));
    dat_->PngToShpAction()->trigger();
    EXPECT_EQ(services_.messages.Notices().back(), "Extracted 1 PNG files to SHP");
    EXPECT_EQ(test::FilesUnder(dir_ / "out"), std::vector<std::string>{"TANKS.shp"});

    // The catalog opens in archive mode on the rows listed now.
    dat_->ListModeCombo()->setCurrentIndex(1);
    emit dat_->ListModeCombo()->activated(1);
    std::string input;
    QTimer::singleShot(0, [&] {
        if (auto* catalog = dynamic_cast<CShpCat*>(QApplication::activeModalWidget())) {
            input = catalog->Logic().InputLabel();
            catalog->reject();
        }
    });
    dat_->CatalogAction()->trigger();
    EXPECT_EQ(input, archive_.string() + " ... (4 items)");
}

// The sheet's pixels saved again as an indexed PNG over the same colour table.
void SaveIndexed(const fs::path& path, const PngSamples& sheet) {
    test::PngSpec png;
    png.width = sheet.width;
    png.height = sheet.height;
    png.colourType = PNG_COLOR_TYPE_PALETTE;
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* c = sheet.palette.data() + i * 4;
        png.palette.push_back({c[0], c[1], c[2]});
        png.paletteAlpha.push_back(c[3]);
    }
    png.samples.assign(sheet.pixels.begin(), sheet.pixels.end());
    test::WriteBytes(path, test::EncodePng(png));
}

std::vector<std::uint8_t> EntryBytes(const fs::path& archive, const std::string& name) {
    for (const auto& entry : test::ParseArchive(archive).entries)
        if (entry.name == name) return entry.bytes;
    return {};
}

TEST_F(ViewToolsTest, IconsExportedForEditingComeBackWithTheEditAndTheRowStays) {
    ASSERT_TRUE(Open());
    pickers_.QueueFolder(Folder("sheets"));
    dat_->ExportSheetsAction()->trigger();
    ASSERT_TRUE(fs::exists(dir_ / "sheets" / "pixmond-sheets.json")) << ::testing::PrintToString(services_.messages.Errors());
    EXPECT_EQ(services_.progress.titles.back(), "Exporting sheets");
    EXPECT_NE(services_.messages.Notices().back().find("sheets written to"), std::string::npos);

    PngSamples tiger;
    std::string problem;
    ASSERT_TRUE(ReadPngSamples((dir_ / "sheets" / "TIGER.SHP.png").string(), tiger, problem)) << problem;
    ASSERT_TRUE(tiger.indexed);
    tiger.pixels[size_t(80) * size_t(tiger.width) + 4 * 200 + 100] = 30;  // icon 5, in cells of 200 x 160
    SaveIndexed(dir_ / "sheets" / "TIGER.SHP.png", tiger);
    // Exporting again would lose the edit: refused in the window's own words.
    const auto edited = test::ReadBytes(dir_ / "sheets" / "TIGER.SHP.png");
    pickers_.QueueFolder(Folder("sheets"));
    dat_->ExportSheetsAction()->trigger();
    EXPECT_TRUE(services_.messages.Errors().back().ends_with("Import the edits first, or export into another folder."))
        << services_.messages.Errors().back();
    EXPECT_EQ(test::ReadBytes(dir_ / "sheets" / "TIGER.SHP.png"), edited);

    SelectRow(3);  // PLANE.S16
    const auto tigerBefore = EntryBytes(archive_, "TIGER.SHP");
    const auto armourBefore = EntryBytes(archive_, "ARMOUR.SHP");
    pickers_.QueueFolder(Folder("sheets"));
    dat_->ImportSheetsAction()->trigger();
    EXPECT_EQ(pickers_.requests.back().initial, Folder("sheets"));
    const std::string summary = services_.messages.Notices().back();
    EXPECT_NE(summary.find("TIGER.SHP: icon 5 changed"), std::string::npos) << summary;
    EXPECT_NE(summary.find("demo.dat rewritten"), std::string::npos) << summary;
    EXPECT_NE(EntryBytes(archive_, "TIGER.SHP"), tigerBefore);
    EXPECT_EQ(EntryBytes(archive_, "ARMOUR.SHP"), armourBefore);
    EXPECT_TRUE(fs::exists(dir_ / "demo_back.dat"));
    EXPECT_EQ(dat_->EntryList()->currentIndex().row(), 3);
    EXPECT_EQ(dat_->Model().ListSelection(), 3);
    EXPECT_EQ(dat_->Dat().Item(dat_->Model().CurrentEntry()).Name(), "PLANE.S16");
    // The entry is read from the archive written, not from the one it replaced.
    EXPECT_TRUE(dat_->Dat().HasCurrentEntry());
}

TEST_F(ViewToolsTest, FolderBrowserToolsWorkOnTheListedFiles) {
    const std::array<Rgb, 9> colours{MakeRgb(200, 0, 0), MakeRgb(0, 200, 0),   MakeRgb(0, 0, 200),   MakeRgb(200, 200, 0), MakeRgb(0, 200, 200),
                                     MakeRgb(200, 0, 200), MakeRgb(90, 90, 90), MakeRgb(250, 250, 250), MakeRgb(10, 10, 10)};
    fs::create_directories(dir_ / "pics");
    test::WriteBytes(dir_ / "pics" / "big.png", test::SheetPng(120, 75, colours));
    test::WriteBytes(dir_ / "pics" / "wide.png", test::PlainPng(300, 200, MakeRgb(0, 0, 200)));
    test::WriteBytes(dir_ / "pics" / "flags.shp", test::UnitShp(6, 4, 20, 220));
    frame_->SwitchView(CMainFrame::kShpMode);
    auto* view = dynamic_cast<CShpView*>(frame_->ActiveView());
    ASSERT_NE(view, nullptr);
    pickers_.QueueFolder(Folder("pics"));
    view->ChooseFolder();
    ASSERT_EQ(view->Model().Files().size(), 3u);

    view->PngToShpAction()->trigger();
    EXPECT_EQ(services_.messages.Notices().back(), "Converted 2 PNG files to SHP");
    view->CropPngAction()->trigger();
    EXPECT_EQ(services_.messages.Notices().back(), "1 PNG files changed");
    EXPECT_TRUE(fs::exists(dir_ / "pics" / "big_Cropped.png"));

    ASSERT_TRUE(view->SelectFileNamed("flags.shp"));
    pickers_.QueueFolder(Folder("out"));
    view->NationPicturesAction()->trigger();
    EXPECT_EQ(test::FilesUnder(dir_ / "out").size(), 6u);
    EXPECT_EQ(services_.messages.Notices().back(), "Done, All 220 icons saved as BMP");
}

}  // namespace
}  // namespace pixmond
