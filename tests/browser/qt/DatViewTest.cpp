#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "browser/qt/CDatPicture.h"

#include "app/CApp.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "browser/qt/CDatView.h"
#include "folderview/qt/CShpView.h"
#include "support/ArchiveBuilder.h"
#include "support/DatSample.h"
#include "support/FolderSample.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "ui/AppSettings.h"
#include "support/FrameTest.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"

namespace pixmond {
namespace {

// What a user reads or works: labels, buttons, fields, lists and pictures; not the boxes that hold them, nor the
// parts of a control (the field of a combo box, the scroll bars of a list).
std::vector<QWidget*> Controls(QWidget* view) {
    const auto isControl = [](QWidget* w) {
        return qobject_cast<QFrame*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
               qobject_cast<QComboBox*>(w);
    };
    std::vector<QWidget*> out;
    for (QWidget* w : view->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(view) || !isControl(w)) continue;
        bool part = false;
        for (QWidget* p = w->parentWidget(); p && p != view; p = p->parentWidget()) part = part || isControl(p);
        if (!part) out.push_back(w);
    }
    return out;
}

QString Describe(QWidget* w) {
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()), text);
}

// No control lies on another or past the view's edge, and each has at least the room its contents need: a button
// its caption, anything else its least size (a label that cuts its text on purpose, like a path, only its height).
void ExpectLaidOutApart(QWidget* view) {
    const auto controls = Controls(view);
    ASSERT_GT(controls.size(), 10u);
    for (size_t i = 0; i < controls.size(); ++i) {
        QWidget* a = controls[i];
        const QRect ra(a->mapTo(view, QPoint()), a->size());
        EXPECT_TRUE(view->rect().contains(ra)) << Describe(a).toStdString();
        QSize least = a->minimumSizeHint();
        if (auto* button = qobject_cast<QAbstractButton*>(a))
            least.setWidth(button->fontMetrics().horizontalAdvance(button->text()) + 8);
        if (a->sizePolicy().horizontalPolicy() != QSizePolicy::Ignored) {
            EXPECT_GE(a->width(), least.width()) << Describe(a).toStdString();
        }
        EXPECT_GE(a->height(), least.height()) << Describe(a).toStdString();
        for (size_t j = i + 1; j < controls.size(); ++j) {
            QWidget* b = controls[j];
            const QRect rb(b->mapTo(view, QPoint()), b->size());
            EXPECT_FALSE(ra.intersects(rb)) << Describe(a).toStdString() << " and " << Describe(b).toStdString();
        }
    }
}

std::vector<std::string> Names(const std::filesystem::path& archive) {
    std::vector<std::string> names;
    for (const auto& entry : test::ParseArchive(archive).entries) names.push_back(entry.name);
    return names;
}

// The archive browser in the real frame, on the sample archive opened through the document.
class DatViewTest : public test::FrameTest {
protected:
    DatViewTest() {
        archive_ = test::WriteDatSample(dir_.Path());
        ShowFrame<CFrameView>(CMainFrame::kShpMode, dir_.Path().string());
    }
    // Switches to the archive browser and opens the sample there.
    CDatView* Open() {
        frame_->SwitchView(CMainFrame::kDatMode);
        view_ = dynamic_cast<CDatView*>(frame_->ActiveView());
        if (!view_ || !doc_.OnOpenDocument(archive_.string())) return nullptr;
        Paint();
        return view_;
    }
    QStringList Rows() const {
        QStringList rows;
        auto* model = view_->EntryList()->model();
        for (int r = 0; r < model->rowCount(); ++r) rows << model->index(r, 0).data().toString();
        return rows;
    }
    void SelectRow(const QString& text) {
        const int row = int(Rows().indexOf(text));
        ASSERT_GE(row, 0) << text.toStdString();
        view_->EntryList()->setCurrentIndex(view_->EntryList()->model()->index(row, 0));
        Paint();
    }
    // The picture as the screen would show it; a collage counts what it placed while it is drawn.
    QImage Paint() { return view_->Picture()->grab().toImage(); }
    void ChooseMode(int mode) {
        view_->ListModeCombo()->setCurrentIndex(mode);
        emit view_->ListModeCombo()->activated(mode);
    }
    QString Text(QLabel* label) const { return label->text(); }

    std::filesystem::path archive_;
    CDatView* view_ = nullptr;
};

TEST_F(DatViewTest, TheDocumentOpensTheArchiveOnlyInTheArchiveBrowser) {
    EXPECT_FALSE(doc_.OnOpenDocument(archive_.string()));
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Rows(), (QStringList{"ARMOUR.SHP  (9)", QString::fromUtf8("K\xC3\xB6NIG.SHP  (9)"), "PANEL.SHP  (3)",
                                   "PLANE.S16  (9)", "README.TXT  (0)", "TANKS.PNG  (9)", "TIGER.SHP  (20)"}));
    EXPECT_EQ(Text(view_->IconsLabel()), QStringLiteral("7 / 7 "));
    EXPECT_EQ(view_->EntryList()->currentIndex().row(), 0);
    EXPECT_EQ(Text(view_->SizeLabel()), QStringLiteral("40 x 30"));
    EXPECT_EQ(Text(view_->DescriptionLabel(0)), QStringLiteral("Armoured cars"));
    // A CSV description file shows every field and filter.
    EXPECT_FALSE(view_->FilterEdit(kColor)->isHidden());
    EXPECT_EQ(Text(view_->DescriptionLabel(kCountry)), QStringLiteral("Britain"));
    EXPECT_EQ(settings_.Last(), archive_.string());
    EXPECT_EQ(doc_.Recent().Paths().front(), archive_.string());
    EXPECT_TRUE(frame_->windowTitle().startsWith(QStringLiteral("Pixmond 3.51.2 * ")));
}

TEST_F(DatViewTest, ADroppedArchiveBringsUpTheArchiveBrowser) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(archive_.string()))});
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window, as the platform's drag and drop would hand it over.
    static_cast<QObject*>(frame_.get())->event(&drop);
    EXPECT_EQ(frame_->ViewMode(), CMainFrame::kDatMode);
    view_ = dynamic_cast<CDatView*>(frame_->ActiveView());
    ASSERT_NE(view_, nullptr);
    EXPECT_EQ(view_->Dat().Path(), archive_.string());
    EXPECT_EQ(Rows().size(), 7);
}

TEST_F(DatViewTest, ListModesAndFiltersChangeTheRowsAndTheCount) {
    ASSERT_NE(Open(), nullptr);
    ChooseMode(1);
    EXPECT_EQ(Rows().size(), 4);
    EXPECT_EQ(Text(view_->IconsLabel()), QStringLiteral("4 / 7 "));
    EXPECT_TRUE(view_->ListModeAction(1)->isChecked());
    EXPECT_FALSE(view_->ListModeAction(1)->isEnabled());
    ChooseMode(DatListModel::kFakesMode);
    EXPECT_EQ(Rows(), (QStringList{"PANELX2.SHP -> PANEL", "TIGERX1.SHP -> TIGER"}));
    EXPECT_EQ(Text(view_->IconsLabel()), QStringLiteral("2 / 2 "));

    ChooseMode(0);
    view_->NameFilterEdit()->setText(QStringLiteral("^p"));
    view_->SetFilterButton()->click();
    EXPECT_EQ(Rows(), (QStringList{"PANEL.SHP  (3)", "PLANE.S16  (9)"}));
    view_->NameFilterEdit()->clear();
    view_->FilterEdit(kDesc)->setText(QStringLiteral("tank$!medium"));
    view_->FilterEdit(kCountry)->setText(QStringLiteral("germ"));
    view_->SetFilterButton()->click();
    EXPECT_EQ(Rows(), (QStringList{"TIGER.SHP  (20)"}));
    EXPECT_EQ(Text(view_->IconsLabel()), QStringLiteral("1 / 7 "));
    view_->FilterEdit(kDesc)->setText(QStringLiteral("nothing like this"));
    view_->SetFilterButton()->click();
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_FALSE(view_->EntryList()->currentIndex().isValid());
    EXPECT_EQ(view_->Model().CurrentEntry(), -1);
    view_->ClearFilterButton()->click();
    EXPECT_EQ(Rows().size(), 7);
    EXPECT_TRUE(view_->FilterEdit(kDesc)->text().isEmpty());
}

TEST_F(DatViewTest, NavigationMovesThroughTheIconsAndNextPageFollowsTheCollage) {
    ASSERT_NE(Open(), nullptr);
    SelectRow(QStringLiteral("TIGER.SHP  (20)"));
    ASSERT_TRUE(view_->Model().Collage());
    const int shown = view_->Model().Shown();
    ASSERT_GT(shown, 1);
    ASSERT_LT(shown, 20);
    EXPECT_EQ(Text(view_->IconLabel()), QStringLiteral("1-%1 / 20 icons").arg(shown));
    view_->NextPageButton()->click();
    Paint();
    EXPECT_EQ(view_->Model().Position(), 1 + shown);
    EXPECT_EQ(view_->PositionEdit()->text(), QString::number(1 + shown));

    view_->CollageAction()->trigger();  // one icon at a time
    EXPECT_FALSE(view_->CollageAction()->isChecked());
    view_->FirstButton()->click();
    view_->NextButton()->click();
    view_->NextButton()->click();
    view_->PreviousButton()->click();
    EXPECT_EQ(Text(view_->IconLabel()), QStringLiteral("2 / 20 icons"));
    view_->PositionEdit()->setText(QStringLiteral("99"));
    emit view_->PositionEdit()->editingFinished();
    EXPECT_EQ(view_->Model().Position(), 20);
    EXPECT_EQ(Text(view_->SizeLabel()), QStringLiteral("200 x 160"));
    view_->ZoomAction(3)->trigger();
    EXPECT_TRUE(view_->ZoomAction(3)->isChecked());
    EXPECT_FALSE(view_->ZoomAction(1)->isChecked());

    // Arrow keys move through the list and each entry is shown at once.
    view_->EntryList()->setFocus();
    QTest::keyClick(view_->EntryList(), Qt::Key_Home);
    EXPECT_EQ(Text(view_->SizeLabel()), QStringLiteral("40 x 30"));
    QTest::keyClick(view_->EntryList(), Qt::Key_Down);
    EXPECT_EQ(Text(view_->SizeLabel()), QStringLiteral("10 x 10"));
}

TEST_F(DatViewTest, APngSheetIsAlwaysShownWhole) {
    ASSERT_NE(Open(), nullptr);
    view_->CollageAction()->trigger();
    ASSERT_FALSE(view_->Model().Collage());
    view_->CollageAction()->trigger();
    SelectRow(QStringLiteral("TANKS.PNG  (9)"));
    EXPECT_EQ(Text(view_->SizeLabel()), QStringLiteral("240 x 150"));
    EXPECT_EQ(Text(view_->EndLabel()), QStringLiteral("240 , 150"));
    EXPECT_EQ(Text(view_->BitsLabel()), QStringLiteral("24 bits"));
    EXPECT_FALSE(view_->CollageAction()->isEnabled());
    view_->Model().ToggleCollage();
    EXPECT_TRUE(view_->Model().Collage());
    view_->ZoomAction(2)->trigger();
    EXPECT_TRUE(view_->Model().Collage());
    EXPECT_EQ(view_->Model().Shown(), 9);
}

TEST_F(DatViewTest, AFakeEntryShowsItsRealIconAndDescription) {
    ASSERT_NE(Open(), nullptr);
    view_->FakesAction()->trigger();
    EXPECT_TRUE(view_->FakesAction()->isChecked());
    EXPECT_EQ(Text(view_->IconsLabel()), QStringLiteral("9 / 9 "));
    SelectRow(QStringLiteral("TIGERX1.SHP -> TIGER"));
    EXPECT_EQ(Text(view_->SizeLabel()), QStringLiteral("200 x 160"));
    EXPECT_EQ(Text(view_->DescriptionLabel(kDesc)), QStringLiteral("Heavy tank"));
    EXPECT_EQ(view_->DescriptionLabel(kDesc)->toolTip(), QStringLiteral("Heavy tank"));
}

// Walking from entry to entry and from archive to archive, everything on show belongs to what is selected now.
TEST_F(DatViewTest, NothingOfTheEntryOrArchiveBeforeStaysOnShow) {
    ASSERT_NE(Open(), nullptr);
    SelectRow(QStringLiteral("TIGER.SHP  (20)"));
    ASSERT_EQ(Text(view_->DescriptionLabel(kDesc)), QStringLiteral("Heavy tank"));
    SelectRow(QStringLiteral("README.TXT  (0)"));
    EXPECT_EQ(Text(view_->IconLabel()), QStringLiteral("No icons"));
    EXPECT_EQ(Text(view_->SizeLabel()), QStringLiteral("0 x 0"));
    EXPECT_EQ(Text(view_->BitsLabel()), QString());
    EXPECT_EQ(Text(view_->DescriptionLabel(kDesc)), QString());
    EXPECT_EQ(view_->PositionEdit()->text(), QStringLiteral("0"));

    // Another archive: the fakes stay listed as the menu says, and a copy without a description file of its
    // own shows no descriptions.
    view_->FakesAction()->trigger();
    std::filesystem::create_directories(dir_ / "copy");
    for (const char* name : {"demo.dat", "demo.keep"}) std::filesystem::copy_file(dir_ / name, dir_ / "copy" / name);
    const std::string copy = (dir_ / "copy" / "demo.dat").string();
    ASSERT_TRUE(doc_.OnOpenDocument(copy));
    Paint();
    EXPECT_TRUE(view_->FakesAction()->isChecked());
    EXPECT_EQ(Rows().size(), 9);
    EXPECT_TRUE(Rows().contains(QStringLiteral("TIGERX1.SHP -> TIGER")));
    EXPECT_EQ(Text(view_->IconsLabel()), QStringLiteral("9 / 9 "));
    SelectRow(QStringLiteral("TIGER.SHP  (20)"));
    EXPECT_EQ(Text(view_->DescriptionLabel(kDesc)), QString());
    EXPECT_TRUE(view_->FilterEdit(kColor)->isHidden());

    // A file that is no archive is said to be none and changes nothing: list, count, recent files, "Last".
    for (const std::string& bytes : {std::string(), std::string("Not an archive at all.\r\n")}) {
        test::WriteText(dir_ / "notes.dat", bytes);
        EXPECT_FALSE(doc_.OnOpenDocument((dir_ / "notes.dat").string()));
        EXPECT_EQ(services_.messages.Notices().back(), (dir_ / "notes.dat").string() + "\nis not an icon archive.");
        EXPECT_EQ(Rows().size(), 9);
        EXPECT_EQ(Text(view_->IconsLabel()), QStringLiteral("9 / 9 "));
        EXPECT_EQ(doc_.Recent().Paths().front(), copy);
        EXPECT_EQ(settings_.Last(), copy);
    }

    // After Remove the count follows the rows.
    SelectRow(QStringLiteral("PANEL.SHP  (3)"));
    services_.messages.QueueAnswer(true);
    view_->RemoveAction()->trigger();
    Paint();
    EXPECT_EQ(Text(view_->IconsLabel()), QStringLiteral("%1 / 8 ").arg(Rows().size()));
}

// The position field shows the icon drawn, and exactly one of the collage and the zooms is checked.
TEST_F(DatViewTest, ThePositionFieldAndTheMenuChecksShowWhatIsDrawn) {
    ASSERT_NE(Open(), nullptr);
    SelectRow(QStringLiteral("TIGER.SHP  (20)"));
    const auto checks = [this] {
        QString on = view_->CollageAction()->isChecked() ? QStringLiteral("collage") : QString();
        for (int zoom = 1; zoom <= 5; ++zoom)
            if (view_->ZoomAction(zoom)->isChecked()) on += QStringLiteral("x%1").arg(zoom);
        return on;
    };
    EXPECT_EQ(checks(), QStringLiteral("collage"));
    view_->CollageAction()->trigger();
    EXPECT_EQ(checks(), QStringLiteral("x1"));
    view_->ZoomAction(4)->trigger();
    EXPECT_EQ(checks(), QStringLiteral("x4"));
    for (auto [typed, shown] : {std::pair{"99", "20"}, std::pair{"0", "1"}, std::pair{"7", "7"}}) {
        view_->PositionEdit()->setFocus();
        view_->PositionEdit()->selectAll();
        QTest::keyClicks(view_->PositionEdit(), QString::fromLatin1(typed));
        QTest::keyClick(view_->PositionEdit(), Qt::Key_Return);
        Paint();
        EXPECT_EQ(view_->PositionEdit()->text(), QString::fromLatin1(shown)) << typed;
        EXPECT_EQ(Text(view_->IconLabel()), QStringLiteral("%1 / 20 icons").arg(shown));
    }
    SelectRow(QStringLiteral("TANKS.PNG  (9)"));
    EXPECT_EQ(checks(), QStringLiteral("x4"));
    view_->CollageAction()->trigger();
    EXPECT_EQ(checks(), QStringLiteral("x4"));
}

// The window cannot be made smaller than its controls need: at its least size no control of either browser
// lies on another, and each keeps the room it needs.
TEST_F(DatViewTest, AtTheLeastWindowSizeNoControlOverlapsAnother) {
    ASSERT_NE(Open(), nullptr);
    SelectRow(QStringLiteral("TIGER.SHP  (20)"));  // a CSV description file: every field is shown
    test::WriteFolderSample(dir_.Path());         // the folder browser shows an SHP file and its longest labels
    frame_->resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(frame_->size(), frame_->minimumSize());
    EXPECT_GE(frame_->width(), 732);
    EXPECT_GE(frame_->height(), 671);
    for (int mode : {CMainFrame::kDatMode, CMainFrame::kShpMode}) {
        frame_->SwitchView(mode);
        // Tiger's first pixel gives the longest pixel label.
        if (auto* folder = dynamic_cast<CShpView*>(frame_->ActiveView())) {
            ASSERT_TRUE(folder->SelectFileNamed("Tiger.shp"));
        }
        frame_->resize(frame_->minimumSize());
        QApplication::processEvents();
        SCOPED_TRACE(mode);
        ExpectLaidOutApart(frame_->ActiveView()->Widget());
    }
}

TEST_F(DatViewTest, RemoveAndAddRewriteTheArchiveKeepABackupAndKeepThePlace) {
    ASSERT_NE(Open(), nullptr);
    const auto before = Names(archive_);
    SelectRow(QStringLiteral("PANEL.SHP  (3)"));
    services_.messages.QueueAnswer(true);
    view_->RemoveAction()->trigger();
    EXPECT_EQ(services_.messages.Questions().back(), " Do you really want to remove PANEL.SHP ? ");
    auto names = Names(archive_);
    EXPECT_EQ(std::count(names.begin(), names.end(), "PANEL.SHP"), 0);
    EXPECT_EQ(Names(dir_ / "demo_back.dat"), before);
    EXPECT_EQ(view_->EntryList()->currentIndex().row(), 2);
    EXPECT_EQ(Rows().at(2), QStringLiteral("PLANE.S16  (9)"));

    std::filesystem::create_directories(dir_ / "add");
    test::WriteBytes(dir_ / "add" / "JEEP.SHP", test::UnitShp(12, 12, 40));
    pickers_.QueueFiles({(dir_ / "add" / "JEEP.SHP").string()});
    view_->AddAction()->trigger();
    QTest::qWait(50);
    names = Names(archive_);
    EXPECT_EQ(std::count(names.begin(), names.end(), "JEEP.SHP"), 1);
    EXPECT_EQ(Names(dir_ / "demo_back.dat").size(), before.size() - 1);
    EXPECT_TRUE(Rows().contains(QStringLiteral("JEEP.SHP  (9)")));
    EXPECT_EQ(view_->EntryList()->currentIndex().row(), 2);
    EXPECT_EQ(settings_.S16Folder(), (dir_ / "add").string() + "/");
    ASSERT_FALSE(services_.messages.Notices().empty());
    EXPECT_EQ(services_.messages.Notices().back().rfind("Done!, ", 0), 0u);
}

}  // namespace
}  // namespace pixmond
