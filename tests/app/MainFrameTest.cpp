#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/CAboutDlg.h"
#include "app/CApp.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "folderview/qt/CShpView.h"
#include "support/ShpBuilder.h"
#include "tools/qt/CShpMaker.h"
#include "support/FolderSample.h"
#include "support/TestFiles.h"
#include "tools/BlockRequest.h"
#include "tools/CShpMakerLogic.h"
#include "tools/ShpToBmpConverter.h"
#include "ui/AppSettings.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"

namespace pixmond {
namespace {

// A stand-in for the archive browser: it counts what the frame asks of it.
class FakeArchiveView : public QWidget, public CFrameView {
public:
    FakeArchiveView() : bar_(new QToolBar(QStringLiteral("Dat Tool"))) {}
    ~FakeArchiveView() override { delete bar_; }
    QWidget* Widget() override { return this; }
    void OnInitialUpdate() override { ++initialUpdates; }
    void OnActivateView(bool active) override { activations += active ? 1 : 0; }
    QToolBar* ToolBar() override { return bar_; }
    QList<QMenu*> Menus() override { return {}; }
    bool OpenDocument(const std::string& path) override {
        opened.push_back(path);
        return true;
    }
    int initialUpdates = 0, activations = 0;
    std::vector<std::string> opened;

private:
    QToolBar* bar_;
};

class MainFrameTest : public ::testing::Test {
protected:
    MainFrameTest() {
        test::WriteFolderSample(dir_.Path());
        services_.settings.SetString("Settings", "S16 folder", dir_.Path().string());
        services_.settings.SetString("Settings", "Last", "/games/orvel/varnek2.dat");
        doc_.OnNewDocument();
        frame_ = std::make_unique<CMainFrame>(ViewContext{services_.Get(), settings_, pickers_}, doc_);
        RegisterViews(*frame_, {});
    }
    void AddArchiveView() {
        frame_->RegisterView(CMainFrame::kDatMode, QStringLiteral("&Dat Tool"),
                             [this](ViewContext&, CMainFrame&) -> std::unique_ptr<CFrameView> {
                                 auto view = std::make_unique<FakeArchiveView>();
                                 archive_ = view.get();
                                 return view;
                             });
    }
    CShpView* ShpView() const { return dynamic_cast<CShpView*>(frame_->View(CMainFrame::kShpMode)); }

    test::TempDir dir_;
    RecordingServices services_;
    AppSettings settings_{services_.settings};
    ScriptedPickers pickers_;
    CAppDoc doc_{settings_};
    std::unique_ptr<CMainFrame> frame_;
    FakeArchiveView* archive_ = nullptr;
};

TEST_F(MainFrameTest, StartsInTheFolderBrowserOnTheStoredFolder) {
    ASSERT_TRUE(frame_->SwitchView(CMainFrame::kShpMode));
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Pixmond 3.51.2"));
    EXPECT_GE(frame_->minimumWidth(), 732);
    EXPECT_GE(frame_->minimumHeight(), 671);
    ASSERT_NE(ShpView(), nullptr);
    EXPECT_TRUE(ShpView()->Initialised());
    EXPECT_EQ(ShpView()->FileList()->count(), 7);
    EXPECT_EQ(ShpView()->FileList()->item(2)->text(), QString::fromUtf8("K\xC3\xB6nig.shp"));
    EXPECT_TRUE(ShpView()->ToolBar()->isVisibleTo(frame_.get()));
    EXPECT_NE(frame_->ViewAction(CMainFrame::kShpMode), nullptr);
    EXPECT_NE(frame_->ViewAction(CMainFrame::kDatMode), nullptr);
}

TEST_F(MainFrameTest, ViewsAreMadeOnceAndSwitchedWithTheirToolbarsAndTitles) {
    frame_->SwitchView(CMainFrame::kShpMode);
    // A view that cannot be made leaves the frame as it was.
    frame_->RegisterView(CMainFrame::kDatMode, QStringLiteral("&Dat Tool"),
                         [](ViewContext&, CMainFrame&) { return std::unique_ptr<CFrameView>(); });
    EXPECT_FALSE(frame_->SwitchView(CMainFrame::kDatMode));
    EXPECT_EQ(services_.messages.Errors(), (std::vector<std::string>{"Error creating new view !"}));
    EXPECT_EQ(frame_->ViewMode(), CMainFrame::kShpMode);
    EXPECT_FALSE(doc_.OnOpenDocument("/games/other.dat"));

    AddArchiveView();
    frame_->ViewAction(CMainFrame::kDatMode)->trigger();
    frame_->ViewAction(CMainFrame::kDatMode)->trigger();
    ASSERT_NE(archive_, nullptr);
    EXPECT_EQ(frame_->ViewsMade(CMainFrame::kDatMode), 1);
    EXPECT_EQ(archive_->initialUpdates, 1);
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Pixmond 3.51.2 * /games/orvel/varnek2.dat"));
    EXPECT_TRUE(archive_->ToolBar()->isVisibleTo(frame_.get()));
    EXPECT_FALSE(ShpView()->ToolBar()->isVisibleTo(frame_.get()));
    EXPECT_FALSE(ShpView()->Menus().front()->menuAction()->isVisible());

    EXPECT_TRUE(doc_.OnOpenDocument("/games/other.dat"));
    EXPECT_EQ(archive_->opened, (std::vector<std::string>{"/games/other.dat"}));
    EXPECT_EQ(doc_.Recent().Paths().front(), "/games/other.dat");

    // Back in the folder browser, a file that appeared meanwhile is listed.
    test::WriteBytes(dir_ / "aaa.shp", {});
    frame_->ViewAction(CMainFrame::kShpMode)->trigger();
    EXPECT_EQ(frame_->ViewsMade(CMainFrame::kShpMode), 1);
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Pixmond 3.51.2"));
    EXPECT_EQ(ShpView()->FileList()->count(), 8);
    EXPECT_TRUE(ShpView()->Menus().front()->menuAction()->isVisible());
    EXPECT_FALSE(doc_.OnOpenDocument("/games/other.dat"));
}

TEST_F(MainFrameTest, HistoryOptionHelpAndAbout) {
    frame_->SwitchView(CMainFrame::kShpMode);
    EXPECT_FALSE(frame_->HistoryAction()->isChecked());
    frame_->HistoryAction()->trigger();
    EXPECT_TRUE(settings_.UseHistory());
    EXPECT_TRUE(frame_->HistoryAction()->isChecked());
    frame_->HistoryAction()->trigger();
    EXPECT_FALSE(settings_.UseHistory());
    EXPECT_FALSE(frame_->HistoryAction()->isChecked());

    QMenu* tools = frame_->ToolsMenu();
    EXPECT_EQ(frame_->ToolsMenu(), tools);
    QStringList titles;
    for (QAction* menu : frame_->menuBar()->actions()) titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&View", "&Icons", "Save as BMP/PNG", "&Palette Tools", "&Tools",
                                   "&Options", "&Help"}));

    // Help is the README at its section on this program, or a message saying where it was looked for.
    frame_->OpenHelp();
    if (services_.shell.urls.empty()) {
        ASSERT_EQ(services_.messages.Errors().size(), 1u);
        EXPECT_NE(services_.messages.Errors()[0].find("README.md"), std::string::npos);
    } else {
        EXPECT_TRUE(QString::fromStdString(services_.shell.urls[0]).endsWith("README.md#the-desktop-program-pixmond"));
    }

    EXPECT_EQ(CAboutDlg::BuildDate("Apr 16 2017"), "16 Apr 2017");
    EXPECT_EQ(CAboutDlg::BuildDate("Dec  8 2026"), "8 Dec 2026");
    EXPECT_NE(CAboutDlg::Line().find("3.51.2"), std::string::npos);
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Pixmond"));
}

TEST_F(MainFrameTest, ClosingWritesTheSettingsAndTheWindowSize) {
    frame_->SwitchView(CMainFrame::kShpMode);
    frame_->resize(900, 700);
    frame_->show();
    settings_.SetOutputImage(1);
    settings_.SetUseHistory(true);
    frame_->close();
    const auto& store = services_.settings;
    EXPECT_EQ(store.GetString("Settings", "Last"), "/games/orvel/varnek2.dat");
    EXPECT_EQ(store.GetString("Settings", "S16 folder"), dir_.Path().string());
    EXPECT_EQ(store.GetString("Settings", "Icons text"), "/games/orvel/VARNEK2_V2.txt");
    EXPECT_EQ(store.GetInt("Settings", "Output image", -1), 1);
    EXPECT_EQ(store.GetInt("Settings", "UseHistory", -1), 1);
    EXPECT_FALSE(store.GetString("Window", "Geometry").empty());

    CMainFrame again(ViewContext{services_.Get(), settings_, pickers_}, doc_);
    again.RestoreGeometry();
    EXPECT_EQ(again.size(), QSize(900, 700));
}

TEST_F(MainFrameTest, ToolsMenuInBothViewsAndTheViewsFollowTheShpMaker) {
    frame_->SwitchView(CMainFrame::kShpMode);
    QAction* maker = frame_->ShpMakerAction();
    ASSERT_NE(maker, nullptr);
    // The frame's own tools come first; the view's own follow them.
    EXPECT_EQ(frame_->ToolsMenu()->actions().mid(0, 2), (QList<QAction*>{maker, frame_->ConverterAction()}));
    EXPECT_EQ(maker->text(), QStringLiteral("Shp &Maker"));
    EXPECT_EQ(maker->statusTip(), QStringLiteral("Allows creating SHP files using Bitmaps"));
    EXPECT_EQ(frame_->ConverterAction()->text(), QStringLiteral("Convert Shp/s16 files in a folder to Bmp / Png"));
    AddArchiveView();
    frame_->SwitchView(CMainFrame::kDatMode);
    EXPECT_TRUE(frame_->ToolsMenu()->menuAction()->isVisible());
    frame_->SwitchView(CMainFrame::kShpMode);

    // An SHP made from a bitmap of the browsed folder is listed once the maker closes; the folder chosen in it
    // outlives the program.
    ASSERT_TRUE(test::PictureOf(test::RowsFromText({"AB", "CD"})).SaveBmp(dir_.File("new.bmp"), true,
                                                                         services_.messages));
    const int files = ShpView()->FileList()->count();
    pickers_.QueueFolder(dir_.Path().string());
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<CShpMaker*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->FolderButton()->click();
        dialog->ModeButton(0)->click();
        dialog->BitmapList()->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        dialog->MakeButton()->click();
        dialog->ExitButton()->click();
    });
    maker->trigger();
    EXPECT_EQ(ShpView()->FileList()->count(), files + 1);
    EXPECT_EQ(ShpView()->FileList()->findItems(QStringLiteral("new.shp"), Qt::MatchExactly).size(), 1);
    frame_->close();
    EXPECT_EQ(services_.settings.GetString("Settings", "S16 folder"), dir_.Path().string() + "/");
    EXPECT_EQ(services_.settings.GetInt("Settings", "Option", -1), 0);
}

TEST_F(MainFrameTest, ChoicesMadeInViewsAndToolsAreSeenEverywhereAndOutliveTheRun) {
    AddArchiveView();
    ASSERT_TRUE(frame_->SwitchView(CMainFrame::kShpMode));
    // PNG chosen in the folder browser is what a tool opened next proposes.
    emit ShpView()->OutputCombo()->activated(1);
    BlockRequest block(services_.settings);
    block.Start({{10, 8}, {12, 8}}, 1, "/icons/tank_1-2.BMP");
    EXPECT_EQ(block.fileName, "/icons/tank_1-2.PNG");

    // A tool's folder and type are what the folder browser shows when it comes back and where the next tool starts.
    ShpToBmpConverter converter(services_.Get());
    converter.Load();
    converter.ChooseOutputFolder("/pictures");
    converter.ChooseType(0);
    frame_->SwitchView(CMainFrame::kDatMode);
    frame_->SwitchView(CMainFrame::kShpMode);
    EXPECT_EQ(ShpView()->OutputCombo()->currentIndex(), 0);
    CShpMakerLogic maker(services_.Get());
    maker.LoadSettings();
    EXPECT_EQ(maker.folder, "/pictures/");

    // Leaving the program keeps the newest values, not those of the start.
    frame_->close();
    EXPECT_EQ(services_.settings.GetString("Settings", "BMP folder"), "/pictures/");
    EXPECT_EQ(services_.settings.GetInt("Settings", "Output image", -1), 0);
}

TEST(StartOptions, CommandLineWordsAreRead) {
    const auto options = ParseStartOptions({"pixmond", "--folder", "/icons", "--screenshot", "/tmp/a.png",
                                            "--size", "800x600", "--select", "TIGER.SHP", "demo.dat"});
    EXPECT_EQ(options.folder, "/icons");
    EXPECT_EQ(options.screenshot, "/tmp/a.png");
    EXPECT_EQ(options.width, 800);
    EXPECT_EQ(options.height, 600);
    EXPECT_EQ(options.file, "demo.dat");
    EXPECT_EQ(options.select, "TIGER.SHP");
    EXPECT_TRUE(options.error.empty());
    EXPECT_FALSE(ParseStartOptions({"pixmond", "--folder"}).error.empty());
    EXPECT_FALSE(ParseStartOptions({"pixmond", "--bogus"}).error.empty());
    EXPECT_FALSE(ParseStartOptions({"pixmond", "a.dat", "b.dat"}).error.empty());
    EXPECT_EQ(ParseStartOptions({"pixmond", "--dialog", "palettes", "--screenshot", "p.png"}).dialog, "palettes");
    EXPECT_FALSE(ParseStartOptions({"pixmond", "--dialog", "palettes"}).error.empty());
    EXPECT_FALSE(ParseStartOptions({"pixmond", "--dialog", "bogus", "--screenshot", "p.png"}).error.empty());
}

}  // namespace
}  // namespace pixmond
