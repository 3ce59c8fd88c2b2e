#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/CApp.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "folderview/qt/CShpView.h"
#include "image/Palette.h"
#include "support/FolderSample.h"
#include "support/TestFiles.h"
#include "ui/AppSettings.h"
#include "support/FrameTest.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"

namespace pixmond {
namespace {

// The folder browser in the real frame, on a sample folder, driven by keys and commands.
class ShpViewTest : public test::FrameTest {
protected:
    ShpViewTest() {
        test::WriteFolderSample(dir_.Path());
        services_.settings.SetString("Settings", "S16 folder", dir_.Path().string());
        view_ = ShowFrame<CShpView>(CMainFrame::kShpMode);
    }
    void SelectFile(const QString& name) {
        const auto items = view_->FileList()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        view_->FileList()->setCurrentItem(items.front());
    }
    // The picture area as drawn now, in its own pixels.
    QImage Picture() const { return view_->PictureArea()->grab().toImage(); }
    static QRgb Palette(int index) {
        const auto& t = DefaultColourTable();
        return qRgb(t[size_t(index) * 4 + 2], t[size_t(index) * 4 + 1], t[size_t(index) * 4]);
    }
    static QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }

    CShpView* view_ = nullptr;
};

TEST_F(ShpViewTest, ArrowKeysMoveThroughFilesAndIconsAndTheLabelsFollow) {
    ASSERT_NE(view_, nullptr);
    EXPECT_EQ(view_->FileList()->currentRow(), 0);
    EXPECT_EQ(view_->IconList()->item(0)->text(), QStringLiteral("Icon #1 (3x2)"));
    view_->FileList()->setFocus();
    QTest::keyClick(view_->FileList(), Qt::Key_End);
    EXPECT_EQ(view_->PathLabel()->text().toStdString(), (dir_.Path() / "wide.png").string());
    EXPECT_EQ(view_->SizeLabel()->text(), QStringLiteral("241 x 150"));
    QTest::keyClick(view_->FileList(), Qt::Key_Up);
    EXPECT_EQ(view_->FileList()->currentItem()->text(), QStringLiteral("Tiger.shp"));
    EXPECT_EQ(view_->IconList()->count(), 3);
    EXPECT_EQ(view_->SizeLabel()->text(), QStringLiteral("6 x 5"));
    EXPECT_EQ(view_->StartLabel()->text(), QStringLiteral("1 , 1"));
    EXPECT_EQ(view_->EndLabel()->text(), QStringLiteral("4 , 3"));
    EXPECT_EQ(view_->TypeLabel()->text(), QStringLiteral("Image   8 bits"));
    EXPECT_TRUE(view_->PixelLabel()->text().startsWith(QStringLiteral("Pal=159 (")));

    QTest::keyClick(view_->IconList(), Qt::Key_Down);
    EXPECT_EQ(view_->IconList()->currentRow(), 1);
    EXPECT_EQ(view_->SizeLabel()->text(), QStringLiteral("3 x 3"));
    QTest::keyClick(view_->IconList(), Qt::Key_Down);
    EXPECT_EQ(view_->SizeLabel()->text(), QStringLiteral("2 x 2"));

    EXPECT_TRUE(view_->SelectFileNamed("PLANE.S16"));
    EXPECT_FALSE(view_->SelectFileNamed("none.shp"));
    EXPECT_EQ(view_->FileList()->currentItem()->text(), QStringLiteral("Plane.s16"));
    EXPECT_EQ(view_->TypeLabel()->text(), QStringLiteral("Image   24 bits"));
    EXPECT_EQ(view_->IconList()->item(1)->text(), QStringLiteral("Icon #2 (6x3)"));
}

TEST_F(ShpViewTest, ZoomMirrorAndCollageRedrawThePicture) {
    SelectFile(QStringLiteral("Tiger.shp"));
    view_->ZoomAction(3)->trigger();
    EXPECT_TRUE(view_->ZoomAction(3)->isChecked());
    EXPECT_FALSE(view_->CollageAction()->isChecked());
    QImage picture = Picture();
    // The icon starts 2 pixels inside the frame; icon pixel (1,1) is 'A' (index 1), 3 screen pixels wide.
    EXPECT_EQ(At(picture, 2 + 3, 2 + 3), Palette(1));
    EXPECT_EQ(At(picture, 2 + 5, 2 + 5), Palette(1));
    EXPECT_EQ(At(picture, 2 + 12, 2 + 3), Palette(2));
    EXPECT_EQ(At(picture, 2 + 3, 2 + 9), Palette(3));

    view_->MirrorAction()->trigger();
    EXPECT_TRUE(view_->MirrorAction()->isChecked());
    picture = Picture();
    EXPECT_EQ(At(picture, 2 + 3, 2 + 3), Palette(2));
    EXPECT_EQ(At(picture, 2 + 12, 2 + 3), Palette(1));

    view_->CollageAction()->trigger();
    EXPECT_TRUE(view_->CollageAction()->isChecked());
    EXPECT_FALSE(view_->ZoomAction(1)->isChecked());
    EXPECT_FALSE(view_->ZoomAction(3)->isChecked());
    picture = Picture();
    EXPECT_EQ(At(picture, 2 + 4, 2 + 1), Palette(1));

    // Pictures follow the mirror too: the sheet's right half shows at the left.
    SelectFile(QStringLiteral("sheet.png"));
    EXPECT_FALSE(view_->CollageAction()->isEnabled());
    picture = Picture();
    EXPECT_EQ(At(picture, 2 + 10, 2 + 10), qRgb(10, 100, 30));
    view_->MirrorAction()->trigger();
    picture = Picture();
    EXPECT_EQ(At(picture, 2 + 10, 2 + 10), qRgb(200, 100, 30));
}

// A file that cannot be read clears the picture and every label of the file before, and the error names it; the
// pixel label names red, green and blue in that order.
TEST_F(ShpViewTest, AFileThatCannotBeReadLeavesNothingOfTheFileBefore) {
    test::WriteText(dir_.Path() / "BAD.png", "not a picture");
    QTest::mouseClick(view_->FilterButton(), Qt::LeftButton);
    SelectFile(QStringLiteral("wide.png"));
    EXPECT_EQ(view_->PixelLabel()->text(), QStringLiteral("RGB(200,20,30)"));
    SelectFile(QStringLiteral("Tiger.shp"));
    ASSERT_EQ(At(Picture(), 2 + 1, 2 + 1), Palette(1));
    services_.messages.Clear();  // BAD.png, the first file, was named when the folder was read again
    SelectFile(QStringLiteral("BAD.png"));
    EXPECT_EQ(view_->IconList()->count(), 0);
    EXPECT_EQ(view_->SizeLabel()->text(), QStringLiteral("0 x 0"));
    EXPECT_EQ(view_->EndLabel()->text(), QStringLiteral("0 , 0"));
    EXPECT_EQ(view_->TypeLabel()->text(), QStringLiteral("Image   type"));
    EXPECT_EQ(view_->PixelLabel()->text(), QStringLiteral("No Pic loaded"));
    EXPECT_NE(At(Picture(), 2 + 1, 2 + 1), Palette(1));
    ASSERT_EQ(services_.messages.Errors().size(), 1u);
    EXPECT_EQ(services_.messages.Errors()[0].rfind((dir_.Path() / "BAD.png").string() + " cannot be shown.", 0), 0u);

    // The folder picker starts at the folder shown; an empty folder keeps nothing of the last file either.
    SelectFile(QStringLiteral("Tiger.shp"));
    test::TempDir empty;
    pickers_.QueueFolder(empty.Path().string());
    QTest::mouseClick(view_->FolderButton(), Qt::LeftButton);
    EXPECT_EQ(pickers_.requests.back().initial, dir_.Path().string() + "/");
    EXPECT_EQ(view_->SizeLabel()->text(), QStringLiteral("0 x 0"));
    EXPECT_EQ(view_->PixelLabel()->text(), QStringLiteral("No Pic loaded"));
    EXPECT_NE(At(Picture(), 2 + 1, 2 + 1), Palette(1));
}

TEST_F(ShpViewTest, FilterModeFolderAndOutputControls) {
    view_->FilterEdit()->setText(QStringLiteral("PL"));
    QTest::mouseClick(view_->FilterButton(), Qt::LeftButton);
    EXPECT_EQ(view_->FileList()->count(), 1);
    EXPECT_EQ(view_->FilterEdit()->text(), QStringLiteral("pl"));
    view_->FilterEdit()->clear();
    view_->ListModeCombo()->setCurrentIndex(3);
    emit view_->ListModeCombo()->activated(3);
    EXPECT_EQ(view_->FileList()->count(), 2);

    view_->OutputCombo()->setCurrentIndex(1);
    emit view_->OutputCombo()->activated(1);
    EXPECT_EQ(settings_.OutputImage(), 1);

    test::TempDir other;
    pickers_.QueueFolder(other.Path().string());
    QTest::mouseClick(view_->FolderButton(), Qt::LeftButton);
    EXPECT_EQ(view_->FileList()->count(), 0);
    EXPECT_EQ(settings_.S16Folder(), other.Path().string() + "/");
    EXPECT_EQ(view_->PathLabel()->text().toStdString(), other.Path().string() + "/");
}

}  // namespace
}  // namespace pixmond
