#include <gtest/gtest.h>

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
#include "support/ArchiveBuilder.h"
#include "support/DatSample.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "ui/AppSettings.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"

namespace pixmond {
namespace {

std::vector<std::string> Names(const std::filesystem::path& archive) {
    std::vector<std::string> names;
    for (const auto& entry : test::ParseArchive(archive).entries) names.push_back(entry.name);
    return names;
}

// The archive browser in the real frame, on the sample archive opened through the document.
class DatViewTest : public ::testing::Test {
protected:
    DatViewTest() {
        archive_ = test::WriteDatSample(dir_.Path());
        doc_.OnNewDocument();
        frame_ = std::make_unique<CMainFrame>(ViewContext{services_.Get(), settings_, pickers_}, doc_);
        RegisterViews(*frame_, dir_.Path().string());
        frame_->resize(1000, 760);
        frame_->SwitchView(CMainFrame::kShpMode);
        frame_->show();
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

    test::TempDir dir_;
    std::filesystem::path archive_;
    RecordingServices services_;
    AppSettings settings_{services_.settings};
    ScriptedPickers pickers_;
    CAppDoc doc_{settings_};
    std::unique_ptr<CMainFrame> frame_;
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
