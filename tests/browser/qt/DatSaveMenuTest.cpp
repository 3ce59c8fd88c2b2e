#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/CApp.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "browser/qt/CDatPicture.h"
#include "browser/qt/CDatView.h"
#include "image/Palette.h"
#include "support/DatSample.h"
#include "support/FrameTest.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/TestFiles.h"
#include "tools/IconSaveCommands.h"
#include "tools/qt/CGetData.h"
#include "tools/qt/ClickableLabel.h"
#include "ui/AppSettings.h"
#include "ui/qt/QtText.h"

namespace pixmond {
namespace {

QRgb PaletteRgb(int index) {
    const auto& t = DefaultColourTable();
    return qRgb(t[size_t(index) * 4 + 2], t[size_t(index) * 4 + 1], t[size_t(index) * 4]);
}

int CountOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) | 0xFF000000u) == colour ? 1 : 0;
    return count;
}

// "Save as BMP/PNG" of the archive browser on the sample archive, in the real frame.
class DatSaveMenuTest : public test::FrameTest {
protected:
    DatSaveMenuTest() {
        archive_ = test::WriteDatSample(dir_.Path());
        for (const char* folder : {"img", "picked", "each"}) std::filesystem::create_directories(dir_ / folder);
        settings_.SetBmpFolder(dir_.File("img") + "/");
        settings_.SetOutputImage(1);
        view_ = ShowFrame<CDatView>(CMainFrame::kDatMode, dir_.Path().string());
    }
    void SelectRow(const QString& text) {
        auto* model = view_->EntryList()->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            if (model->index(r, 0).data().toString() != text) continue;
            view_->EntryList()->setCurrentIndex(model->index(r, 0));
            view_->Picture()->grab();
            return;
        }
        FAIL() << text.toStdString();
    }
    // Runs the block command; check sees the dialog and ends it.
    void RunBlock(const std::function<void(CGetData&)>& check) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CGetData*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            check(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        view_->SaveBlockAction()->trigger();
        EXPECT_TRUE(seen);
    }

    std::filesystem::path archive_;
    CDatView* view_ = nullptr;
};

TEST_F(DatSaveMenuTest, TheMenuFollowsTheViewsMenusAndTheButtonsSitInTheirToolbarGroups) {
    ASSERT_NE(view_, nullptr);
    QStringList titles;
    for (QAction* action : frame_->menuBar()->actions())
        if (action->isVisible()) titles << action->text();
    const qsizetype save = titles.indexOf(QStringLiteral("Save as BMP/PNG"));
    ASSERT_GE(save, 0) << titles.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(titles[save - 1], QStringLiteral("&Icons"));
    EXPECT_GT(titles.indexOf(QStringLiteral("&Options")), save);
    QStringList items;
    for (QAction* action : view_->SaveMenu()->actions()) items << action->text();
    EXPECT_EQ(items, (QStringList{QStringLiteral("Save &Icon / Collage"), QStringLiteral("Save &Each Icon"),
                                  QStringLiteral("Save a range of icons as a block")}));
    EXPECT_EQ(view_->SaveIconAction()->statusTip(), QStringLiteral("Save icon as BMP/PNG/JPG (icon/collage)"));
    EXPECT_EQ(view_->SaveBlockAction()->toolTip(), QStringLiteral("Save Range of icons as a block"));

    // extract, save icon, save each | block | replace
    const QList<QAction*> bar = view_->ToolBar()->actions();
    const qsizetype extract = bar.indexOf(view_->ExtractAction());
    ASSERT_GE(extract, 0);
    ASSERT_LT(extract + 6, bar.size());
    EXPECT_EQ(bar[extract + 1], view_->SaveIconAction());
    EXPECT_EQ(bar[extract + 2], view_->SaveEachAction());
    EXPECT_TRUE(bar[extract + 3]->isSeparator());
    EXPECT_EQ(bar[extract + 4], view_->SaveBlockAction());
    EXPECT_TRUE(bar[extract + 5]->isSeparator());
    EXPECT_EQ(bar[extract + 6], view_->ReplaceAction());
    // Nothing to save before an archive is open.
    EXPECT_FALSE(view_->SaveIconAction()->isEnabled());
    EXPECT_FALSE(view_->SaveBlockAction()->isEnabled());

    // The open button's arrow drops down the recent archives; one of them opens the archive.
    auto* open = qobject_cast<QToolButton*>(view_->ToolBar()->widgetForAction(view_->OpenAction()));
    ASSERT_NE(open, nullptr);
    ASSERT_NE(open->menu(), nullptr);
    EXPECT_EQ(open->popupMode(), QToolButton::MenuButtonPopup);
    doc_.Recent().Add(archive_.string());
    emit open->menu()->aboutToShow();
    ASSERT_EQ(open->menu()->actions().size(), 1);
    EXPECT_TRUE(open->menu()->actions()[0]->text().endsWith(QString::fromStdString(archive_.filename().string())));
    open->menu()->actions()[0]->trigger();
    EXPECT_EQ(view_->Dat().Path(), archive_.string());

    // At the window's least size every button is on the bar, none behind its overflow arrow.
    frame_->resize(frame_->minimumSize());
    QApplication::processEvents();
    for (QAction* action : bar) {
        if (action->isSeparator()) continue;
        QWidget* button = view_->ToolBar()->widgetForAction(action);
        ASSERT_NE(button, nullptr) << action->text().toStdString();
        EXPECT_TRUE(button->isVisible()) << action->text().toStdString();
        EXPECT_LE(button->geometry().right(), view_->ToolBar()->width()) << action->text().toStdString();
    }
}

TEST_F(DatSaveMenuTest, IconCollageEachIconAndBlockAreSavedUnderTheProposedNames) {
    ASSERT_TRUE(doc_.OnOpenDocument(archive_.string()));
    SelectRow(QStringLiteral("ARMOUR.SHP  (9)"));
    ASSERT_TRUE(view_->SaveIconAction()->isEnabled());
    const std::string img = dir_.File("img") + "/";
    const std::string picked = dir_.File("picked") + "/";

    // The collage as the view shows it: all nine icons fit the picture area.
    pickers_.QueueFile(img + "ARMOUR_all.PNG");
    view_->SaveIconAction()->trigger();
    ASSERT_EQ(pickers_.requests.size(), 1u);
    EXPECT_EQ(pickers_.requests[0].kind, "save");
    EXPECT_EQ(pickers_.requests[0].initial, img + "ARMOUR_all.PNG");
    EXPECT_EQ(pickers_.requests[0].title, "File for picture");
    EXPECT_EQ(pickers_.requests[0].filter, IconSaveCommands::kPictureFilter);
    EXPECT_EQ(pickers_.requests[0].defaultExtension, "");
    const QImage collage(PathToQString(img + "ARMOUR_all.PNG"));
    ASSERT_FALSE(collage.isNull());
    EXPECT_LE(collage.width(), view_->Model().DrawArea().Width());
    EXPECT_EQ(CountOf(collage, PaletteRgb(30)), 9 * (40 * 30 - 1));

    // One icon: the second, to a file of another folder, which becomes "BMP folder".
    view_->CollageAction()->trigger();
    view_->NextButton()->click();
    ASSERT_EQ(view_->Model().Position(), 2);
    pickers_.QueueFile(picked + "second.png");
    view_->SaveIconAction()->trigger();
    EXPECT_EQ(pickers_.requests.back().initial, img + "ARMOUR_2.PNG");
    const QImage icon(PathToQString(picked + "second.png"));
    ASSERT_EQ(icon.size(), QSize(40, 30));
    EXPECT_EQ(icon.pixel(0, 0) | 0xFF000000u, PaletteRgb(159));
    EXPECT_EQ(icon.pixel(39, 29) | 0xFF000000u, PaletteRgb(30));
    EXPECT_EQ(settings_.BmpFolder(), picked);
    // A cancelled picker changes nothing.
    pickers_.QueueFile("");
    view_->SaveIconAction()->trigger();
    EXPECT_EQ(settings_.BmpFolder(), picked);

    pickers_.QueueFolder(dir_.File("each"));
    view_->SaveEachAction()->trigger();
    EXPECT_EQ(pickers_.requests.back().title, "Select folder for Bitmaps");
    EXPECT_EQ(pickers_.requests.back().initial, picked);
    const auto each = test::FilesUnder(dir_ / "each");
    ASSERT_EQ(each.size(), 9u);
    EXPECT_EQ(each.front(), "ARMOUR_001.PNG");
    EXPECT_EQ(each.back(), "ARMOUR_009.PNG");
    EXPECT_EQ(QImage(PathToQString(dir_.File("each/ARMOUR_005.PNG"))).size(), QSize(40, 30));
    EXPECT_EQ(settings_.BmpFolder(), picked);

    // Twenty icons: no single save, but a block, proposed from "%s%s_block.bmp" in the output type.
    SelectRow(QStringLiteral("TIGER.SHP  (20)"));
    EXPECT_FALSE(view_->SaveIconAction()->isEnabled());
    ASSERT_TRUE(view_->SaveBlockAction()->isEnabled());
    RunBlock([&](CGetData& dialog) {
        EXPECT_EQ(dialog.PromptLabel()->text(), QStringLiteral("Current icon is 1/20 [TIGER.SHP]"));
        EXPECT_EQ(dialog.FileLabel()->text().toStdString(), picked + "TIGER_1-20.PNG");
        dialog.OkButton()->click();
    });
    EXPECT_EQ(QImage(PathToQString(picked + "TIGER_1-20.PNG")).size(), QSize(20 * 200, 160));
    // The same block again: the file is there, and stays as it is when the user says no.
    const auto before = test::ReadBytes(picked + "TIGER_1-20.PNG");
    services_.messages.QueueAnswer(false);
    RunBlock([&](CGetData& dialog) {
        dialog.OkButton()->click();
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(services_.messages.Questions().back(), picked + "TIGER_1-20.PNG already exists.\nDo you want to replace it?");
    EXPECT_EQ(test::ReadBytes(picked + "TIGER_1-20.PNG"), before);

    // An S16 entry gets no prompt of its own; its block is a 24-bit picture of 3 x 3 icons.
    SelectRow(QStringLiteral("PLANE.S16  (9)"));
    RunBlock([&](CGetData& dialog) {
        EXPECT_EQ(dialog.PromptLabel()->text(), QStringLiteral("Start icon is #1"));
        dialog.OkButton()->click();
    });
    const QImage plane(PathToQString(picked + "PLANE_1-9.PNG"));
    ASSERT_EQ(plane.size(), QSize(90, 60));
    EXPECT_EQ(plane.pixel(45, 30) | 0xFF000000u, qRgb(0, 128, 248));  // as 5-6-5 bits keep it

    SelectRow(QStringLiteral("TANKS.PNG  (9)"));
    EXPECT_FALSE(view_->SaveIconAction()->isEnabled());
    EXPECT_FALSE(view_->SaveBlockAction()->isEnabled());
}

}  // namespace
}  // namespace pixmond
