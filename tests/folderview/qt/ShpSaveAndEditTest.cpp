#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/CApp.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "folderview/qt/CShpView.h"
#include "image/CBmpOrvel.h"
#include "image/CShpFile.h"
#include "support/FolderSample.h"
#include "support/FrameTest.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "tools/qt/CGetData.h"
#include "tools/qt/ClickableLabel.h"
#include "ui/AppSettings.h"
#include "ui/qt/QtText.h"

namespace pixmond {
namespace {

// The folder browser's save buttons and SHP edits on the sample folder, in the real frame.
class ShpSaveAndEditTest : public test::FrameTest {
protected:
    ShpSaveAndEditTest() {
        test::WriteFolderSample(dir_.Path());
        std::filesystem::create_directories(dir_ / "out");
        services_.settings.SetString("Settings", "S16 folder", dir_.Path().string());
        settings_.SetBmpFolder(out_);
        view_ = ShowFrame<CShpView>(CMainFrame::kShpMode);
    }
    QStringList IconRows() const {
        QStringList rows;
        for (int r = 0; r < view_->IconList()->count(); ++r) rows << view_->IconList()->item(r)->text();
        return rows;
    }
    QStringList FileRows() const {
        QStringList rows;
        for (int r = 0; r < view_->FileList()->count(); ++r) rows << view_->FileList()->item(r)->text();
        return rows;
    }
    void DoubleClickIcon(int row) {
        QListWidget* list = view_->IconList();
        const QPoint at = list->visualItemRect(list->item(row)).center();
        // A double click is a press and a release, then the second press that arrives as the double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    int IconsOnDisk(const char* name) {
        CShpFile shp;
        return shp.OpenFile(dir_.File(name), 1) ? shp.IconCount() : -1;
    }

    const std::string out_ = dir_.File("out") + "/";
    CShpView* view_ = nullptr;
};

TEST_F(ShpSaveAndEditTest, IconAllIconsAndRangeSaveTheFileOnShowUnderTheProposedNames) {
    ASSERT_NE(view_, nullptr);
    ASSERT_TRUE(view_->SelectFileNamed("Tiger.shp"));
    for (QPushButton* b : {view_->IconButton(), view_->AllIconsButton(), view_->RangeButton()})
        EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();

    // A game palette whose colour 1 differs from the default one becomes the drawing palette.
    std::vector<std::uint8_t> palette(1024, 0);
    palette[4] = 1, palette[5] = 2, palette[6] = 250;
    test::WriteBytes(dir_ / "GAME.pal", palette);
    QAction* load = nullptr;
    for (QAction* action : view_->PaletteMenu()->actions())
        if (action->text() == QStringLiteral("Load &Palette (binary Game format)")) load = action;
    ASSERT_NE(load, nullptr);
    pickers_.QueueFile(dir_.File("GAME.pal"));
    load->trigger();

    // The first icon alone, at the output type of "Save as:" (BMP): its indices as stored, in the drawing palette.
    view_->ZoomAction(1)->trigger();
    pickers_.QueueFile(out_ + "Tiger_1.BMP");
    view_->IconButton()->click();
    ASSERT_EQ(pickers_.requests.size(), 2u);
    EXPECT_EQ(pickers_.requests[1].initial, out_ + "Tiger_1.BMP");
    EXPECT_EQ(pickers_.requests[1].title, "File for picture");
    CBmpOrvel saved;
    ASSERT_TRUE(saved.LoadBmp(out_ + "Tiger_1.BMP", services_.messages));
    EXPECT_EQ(test::RowsOf(saved), test::RowsFromText({"......", ".AAAB.", ".A..B.", ".CCCB.", "......"}));
    EXPECT_EQ(std::vector<std::uint8_t>(saved.Colours().begin() + 4, saved.Colours().begin() + 7),
              (std::vector<std::uint8_t>{1, 2, 250}));

    // "PNG type" chosen in the combo is what the next names use; the collage is named _all.
    view_->OutputCombo()->setCurrentIndex(1);
    emit view_->OutputCombo()->activated(1);
    view_->CollageAction()->trigger();
    pickers_.QueueFile("");
    view_->IconButton()->click();
    EXPECT_EQ(pickers_.requests.back().initial, out_ + "Tiger_all.PNG");

    pickers_.QueueFolder(out_);
    view_->AllIconsButton()->click();
    EXPECT_EQ(pickers_.requests.back().title, "Select folder for Bitmaps");
    for (const char* name : {"Tiger_001.PNG", "Tiger_002.PNG", "Tiger_003.PNG"})
        EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / name)) << name;
    EXPECT_EQ(QImage(PathToQString(out_ + "Tiger_002.PNG")).size(), QSize(3, 3));

    // The range, from the icon selected: the block dialog with the file's prompt and "%s%s_block%s".
    view_->IconList()->setCurrentRow(1);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CGetData*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog->PromptLabel()->text(), QStringLiteral("Current icon is 2/3 [Tiger.shp]"));
        EXPECT_EQ(dialog->FileLabel()->text().toStdString(), out_ + "Tiger_2-3.PNG");
        dialog->OkButton()->click();
    });
    view_->RangeButton()->click();
    EXPECT_TRUE(seen);
    // Two icons of at most 3 x 3 side by side.
    EXPECT_EQ(QImage(PathToQString(out_ + "Tiger_2-3.PNG")).size(), QSize(6, 3));

    // A picture has no icons to save.
    ASSERT_TRUE(view_->SelectFileNamed("sheet.png"));
    for (QPushButton* b : {view_->IconButton(), view_->AllIconsButton(), view_->RangeButton()})
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    EXPECT_FALSE(view_->SaveIconAction()->isEnabled());
    // S16 icons are saved like SHP icons.
    ASSERT_TRUE(view_->SelectFileNamed("Plane.s16"));
    EXPECT_TRUE(view_->AllIconsButton()->isEnabled());
}

TEST_F(ShpSaveAndEditTest, InsertAppendAndRemoveRewriteTheFileAndRefreshTheListsWithTheRightIcon) {
    ASSERT_NE(view_, nullptr);
    ASSERT_TRUE(view_->SelectFileNamed("Tiger.shp"));
    const QStringList files = FileRows();
    const QStringList original = IconRows();
    ASSERT_EQ(original, (QStringList{"Icon #1 (6x5)", "Icon #2 (3x3)", "Icon #3 (2x2)"}));
    std::filesystem::create_directories(dir_ / "bmp");
    ASSERT_TRUE(test::PictureOf(test::RowsFromText({"ZZZZZ", "Z...Z", "ZZZZZ"}))
                    .Save(dir_.File("bmp/new.bmp"), services_.messages));

    // Insert lands in front of the selected icon and selects the new one.
    view_->IconList()->setCurrentRow(1);
    pickers_.QueueFile(dir_.File("bmp/new.bmp"));
    view_->InsertButton()->click();
    EXPECT_EQ(pickers_.requests.back().initial, out_ + "*.bmp");
    EXPECT_EQ(pickers_.requests.back().title, "Select BMP file");
    EXPECT_EQ(pickers_.requests.back().filter, "Files (*.BMP)|*.bmp|");
    EXPECT_EQ(pickers_.requests.back().defaultExtension, ".bmp");
    EXPECT_EQ(settings_.BmpFolder(), dir_.File("bmp") + "/");
    EXPECT_EQ(IconsOnDisk("Tiger.shp"), 4);
    EXPECT_EQ(IconRows(), (QStringList{"Icon #1 (6x5)", "Icon #2 (5x3)", "Icon #3 (3x3)", "Icon #4 (2x2)"}));
    EXPECT_EQ(view_->IconList()->currentRow(), 1);
    EXPECT_EQ(view_->SizeLabel()->text(), QStringLiteral("5 x 3"));
    EXPECT_EQ(FileRows(), files);
    EXPECT_EQ(view_->FileList()->currentItem()->text(), QStringLiteral("Tiger.shp"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "Tiger.back"));

    // Append adds after the last icon and keeps the selection.
    view_->IconList()->setCurrentRow(2);
    pickers_.QueueFile(dir_.File("bmp/new.bmp"));
    view_->AppendButton()->click();
    EXPECT_EQ(IconsOnDisk("Tiger.shp"), 5);
    EXPECT_EQ(IconRows().back(), QStringLiteral("Icon #5 (5x3)"));
    EXPECT_EQ(view_->IconList()->currentRow(), 2);

    // A double click asks; No leaves the file alone.
    services_.messages.QueueAnswer(false);
    DoubleClickIcon(4);
    ASSERT_EQ(services_.messages.Questions().size(), 1u);
    EXPECT_EQ(services_.messages.Questions().back(), " Do you really want to remove icon #5 of Tiger.shp ? ");
    EXPECT_EQ(IconsOnDisk("Tiger.shp"), 5);
    // Removing the last icon selects the first; removing another selects the one that followed it.
    services_.messages.QueueAnswer(true);
    DoubleClickIcon(4);
    EXPECT_EQ(IconsOnDisk("Tiger.shp"), 4);
    EXPECT_EQ(view_->IconList()->currentRow(), 0);
    services_.messages.QueueAnswer(true);
    DoubleClickIcon(1);
    EXPECT_EQ(IconRows(), original);
    EXPECT_EQ(view_->IconList()->currentRow(), 1);
    EXPECT_EQ(view_->SizeLabel()->text(), QStringLiteral("3 x 3"));
    // The folder is listed as before, whatever kinds it holds, with the edited file still on show.
    EXPECT_EQ(FileRows(), files);
    EXPECT_EQ(view_->FileList()->currentItem()->text(), QStringLiteral("Tiger.shp"));
    EXPECT_EQ(IconsOnDisk("JEEP.SHP"), 5);

    // Not an SHP file: the edits do nothing.
    ASSERT_TRUE(view_->SelectFileNamed("Plane.s16"));
    view_->AppendButton()->click();
    services_.messages.QueueAnswer(true);
    DoubleClickIcon(0);
    EXPECT_EQ(view_->IconList()->count(), 2);
    EXPECT_EQ(services_.messages.Questions().size(), 3u);
}

}  // namespace
}  // namespace pixmond
