#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "image/CShpFile.h"
#include "image/IconSource.h"
#include "image/Palette.h"
#include "support/IconSetFiles.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/ShpBuilder.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"
#include "tools/qt/CGetData.h"
#include "tools/qt/CPaletteGrid.h"
#include "tools/qt/CShpCat.h"
#include "tools/qt/CShpMaker.h"
#include "tools/qt/CShpMakerPreview.h"
#include "tools/qt/CShpToBmp.h"
#include "tools/qt/ClickableLabel.h"
#include "tools/qt/DlgPals.h"
#include "ui/AppSettings.h"
#include "ui/qt/QtText.h"

namespace pixmond {
namespace {

using test::IndexRows;
using test::RowsFromText;

QRgb PaletteRgb(int index) {
    const auto& t = DefaultColourTable();
    return qRgb(t[size_t(index) * 4 + 2], t[size_t(index) * 4 + 1], t[size_t(index) * 4]);
}

QRgb Opaque(QRgb colour) { return colour | 0xFF000000u; }

std::vector<IndexRows> IconsOf(const std::filesystem::path& path) {
    CShpFile shp;
    std::vector<IndexRows> icons;
    if (!shp.OpenFile(path.string(), 1)) return icons;
    for (int n = 1; n <= shp.IconCount(); ++n) {
        shp.SelectIcon(n);
        shp.DecodeIcon();
        icons.push_back(test::RowsOf(shp));
    }
    return icons;
}

// The tool dialogs on files of their own, with the test doubles of the services and the pickers.
class ToolDialogsTest : public ::testing::Test {
protected:
    std::string Folder(const std::string& name = {}) const {
        std::filesystem::create_directories(dir_ / name);
        return (dir_.Path() / name).string() + "/";
    }
    void WriteBmp(const std::string& name, const std::vector<std::string>& rows) {
        ASSERT_TRUE(test::PictureOf(RowsFromText(rows)).SaveBmp(dir_.File(name), true, services_.messages));
    }
    std::string Store(const char* name) const { return services_.settings.GetString("Settings", name); }
    int StoreInt(const char* name) const { return services_.settings.GetInt("Settings", name, -1); }

    test::TempDir dir_;
    RecordingServices services_;
    AppSettings settings_{services_.settings};
    ScriptedPickers pickers_;
    ViewContext context_{services_.Get(), settings_, pickers_};
};

TEST_F(ToolDialogsTest, ShpMakerRunsEachModeOnTheListedBitmapsAndKeepsItsChoices) {
    WriteBmp("a.bmp", {"AB", "CD"});
    WriteBmp("b.bmp", {"ABC", "..D"});
    WriteBmp("c.bmp", {"EE", "FF", "GG"});
    WriteBmp("n.bmp", {"AABBCCDDEEFFGGHHII", "AABBCCDDEEFFGGHHII"});
    test::WriteText(dir_ / "notes.txt", "not a bitmap");
    services_.settings.SetString("Settings", "BMP folder", Folder());

    auto maker = std::make_unique<CShpMaker>(context_);
    EXPECT_EQ(maker->FolderLabel()->text().toStdString(), Folder());
    ASSERT_EQ(maker->BitmapList()->count(), 4);
    EXPECT_TRUE(maker->ModeButton(2)->isChecked());
    EXPECT_FALSE(maker->ThreeByThreeBox()->isEnabled());
    // The first bitmap is in focus: its bottom-left pixel and the transparent index are proposed.
    EXPECT_EQ(maker->InfoLabel()->text(), QStringLiteral("8 bits 2 x 2\nPix 0 is: Pal=3 (212,212,212)"));
    EXPECT_EQ(maker->ReplaceList()->currentIndex(), 3);
    EXPECT_EQ(maker->WithList()->currentText(), QStringLiteral("159 (248,228,216)"));
    EXPECT_TRUE(maker->ReplaceButton()->isEnabled());
    EXPECT_FALSE(maker->SaveBmpButton()->isEnabled());

    // The preview: at its own size on grey, or stretched over the whole area.
    maker->resize(980, 660);
    maker->PreviewBox()->click();
    QImage shown = maker->Preview()->grab().toImage();
    EXPECT_EQ(Opaque(shown.pixel(2, 2)), PaletteRgb(1));
    EXPECT_EQ(Opaque(shown.pixel(10, 10)), qRgb(192, 192, 192));
    maker->ZoomButton()->click();
    EXPECT_EQ(maker->ZoomButton()->text(), QStringLiteral("Zoomed"));
    shown = maker->Preview()->grab().toImage();
    EXPECT_EQ(Opaque(shown.pixel(10, 10)), PaletteRgb(1));
    EXPECT_EQ(Opaque(shown.pixel(shown.width() - 4, shown.height() - 4)), PaletteRgb(4));

    // A pattern without extension lists name.bmp; the icon list survives the filter of its own folder.
    maker->SpecEdit()->setText(QStringLiteral("b"));
    maker->ApplyButton()->click();
    ASSERT_EQ(maker->BitmapList()->count(), 1);
    EXPECT_EQ(maker->BitmapList()->item(0)->text(), QStringLiteral("b.bmp"));
    maker->SpecEdit()->setText(QString());
    maker->ApplyButton()->click();
    ASSERT_EQ(maker->BitmapList()->count(), 4);

    // Mode 2: a and c selected together (Enter), b by a double click; b moved up, a removed with Delete.
    QListWidget* bitmaps = maker->BitmapList();
    bitmaps->clearSelection();
    bitmaps->item(0)->setSelected(true);
    bitmaps->item(2)->setSelected(true);
    QTest::keyClick(bitmaps, Qt::Key_Return);
    const QRect b = bitmaps->visualItemRect(bitmaps->item(1));
    QTest::mouseClick(bitmaps->viewport(), Qt::LeftButton, {}, b.center());
    QTest::mouseDClick(bitmaps->viewport(), Qt::LeftButton, {}, b.center());
    QListWidget* icons = maker->IconList();
    ASSERT_EQ(icons->count(), 3);
    EXPECT_EQ(icons->item(2)->text(), QStringLiteral("#003 : b"));
    icons->setCurrentRow(2);
    maker->UpButton()->click();
    icons->setCurrentRow(0);
    QTest::keyClick(icons, Qt::Key_Delete);
    ASSERT_EQ(icons->count(), 2);
    EXPECT_EQ(icons->item(0)->text(), QStringLiteral("#001 : b"));
    EXPECT_EQ(icons->item(1)->text(), QStringLiteral("#002 : c"));
    pickers_.QueueFile(dir_.File("list.shp"));
    maker->MakeButton()->click();
    EXPECT_EQ(pickers_.requests.back().title, "Select Shp to create");
    EXPECT_EQ(pickers_.requests.back().initial, Folder() + "*.shp");
    EXPECT_EQ(IconsOf(dir_ / "list.shp"), (std::vector<IndexRows>{RowsFromText({"ABC", "..D"}),
                                                                   RowsFromText({"EE", "FF", "GG"})}));
    EXPECT_EQ(services_.messages.Notices().back(), "\n " + dir_.File("list.shp") + " was created \n");

    // Mode 0: nine copies of each selected bitmap beside it.
    maker->ModeButton(0)->click();
    EXPECT_FALSE(icons->isEnabled());
    bitmaps->clearSelection();
    bitmaps->setCurrentRow(0, QItemSelectionModel::Select);
    maker->MakeButton()->click();
    EXPECT_EQ(IconsOf(dir_ / "a.shp"), std::vector<IndexRows>(9, RowsFromText({"AB", "CD"})));
    EXPECT_EQ(services_.messages.Notices().back(), "\nDone !\n1 files created all with 9 icons\n");

    // Mode 1 with the box off: nine cells side by side.
    maker->ModeButton(1)->click();
    ASSERT_TRUE(maker->ThreeByThreeBox()->isEnabled());
    maker->ThreeByThreeBox()->setChecked(false);
    bitmaps->clearSelection();
    bitmaps->setCurrentRow(3, QItemSelectionModel::Select);
    maker->MakeButton()->click();
    const auto cells = IconsOf(dir_ / "n.shp");
    ASSERT_EQ(cells.size(), 9u);
    EXPECT_EQ(cells[8], RowsFromText({"II", "II"}));

    // The choices: the folder at once (also for the folder browser), the rest on Exit.
    pickers_.QueueFolder(Folder());
    maker->FolderButton()->click();
    EXPECT_EQ(pickers_.requests.back().title, "Select Bitmap files folder");
    EXPECT_EQ(Store("S16 folder"), Folder());
    maker->ExitButton()->click();
    EXPECT_EQ(Store("Folder"), Folder());
    EXPECT_EQ(StoreInt("Option"), 1);
    EXPECT_EQ(StoreInt("3x3"), 0);
    EXPECT_EQ(StoreInt("Preview"), 1);
    maker = std::make_unique<CShpMaker>(context_);
    EXPECT_TRUE(maker->ModeButton(1)->isChecked());
    EXPECT_FALSE(maker->ThreeByThreeBox()->isChecked());
    EXPECT_TRUE(maker->PreviewBox()->isChecked());
    EXPECT_TRUE(services_.messages.Errors().empty());
}

TEST_F(ToolDialogsTest, CatalogGoWritesTheEstimatedPicturesWhereTheUserChose) {
    CatalogList list;
    list.inputName = Folder("units");
    for (const char* name : {"T1.SHP", "T2.SHP"}) {
        test::WriteBytes(dir_ / "units" / name, test::UnitShp(40, 30, 5));
        list.names.push_back(name);
    }
    // Big icons one to a row, so that they need a second picture.
    for (const char* name : {"B1.SHP", "B2.SHP", "B3.SHP", "B4.SHP"}) {
        test::WriteBytes(dir_ / "units" / name, test::UnitShp(380, 390, 7));
        list.names.push_back(name);
    }
    test::WriteBytes(dir_ / "units" / "TEN.SHP", test::UnitShp(40, 30, 5, 10));
    list.names.push_back("TEN.SHP");
    services_.settings.SetString("Settings", "BMP folder", Folder("old"));

    CShpCat catalog(context_, list);
    EXPECT_EQ(catalog.InputLabel()->text().toStdString(), Folder("units") + " ... (7 items)");
    EXPECT_EQ(catalog.OutputLabel()->text().toStdString(), Folder("old"));
    EXPECT_EQ(catalog.NameEdit()->text(), QStringLiteral("FolderCatalog"));
    EXPECT_EQ(catalog.ViewIconCombo()->currentText(), QStringLiteral("Icon #4"));
    EXPECT_EQ(catalog.FontCombo()->itemText(4), QStringLiteral("MS Sans Serif  80"));
    EXPECT_EQ(catalog.RowsCombo()->itemText(4), QStringLiteral("60 icons (4560)"));
    EXPECT_EQ(catalog.EstimateLabel()->text(), QStringLiteral("Will need:  1 files"));

    // A smaller box is raised to its least; at 8 x 20 icons a picture the big icons need a second one.
    catalog.BoxXEdit()->setText(QStringLiteral("20"));
    emit catalog.BoxXEdit()->editingFinished();
    EXPECT_EQ(catalog.BoxXEdit()->text(), QStringLiteral("90"));
    catalog.ColumnsCombo()->setCurrentIndex(0);
    emit catalog.ColumnsCombo()->activated(0);
    catalog.RowsCombo()->setCurrentIndex(0);
    emit catalog.RowsCombo()->activated(0);
    EXPECT_EQ(catalog.RowsCombo()->itemText(0), QStringLiteral("20 icons (1520)"));
    EXPECT_EQ(catalog.EstimateLabel()->text(), QStringLiteral("Will need:  2 files"));

    catalog.TypeCombo()->setCurrentIndex(1);
    emit catalog.TypeCombo()->activated(1);
    EXPECT_EQ(StoreInt("Output image"), 1);
    pickers_.QueueFolder(Folder("out"));
    catalog.OutputButton()->click();
    EXPECT_EQ(pickers_.requests.back().title, "Select output folder");
    EXPECT_EQ(Store("BMP folder"), Folder("out"));

    catalog.GoButton()->click();
    EXPECT_EQ(catalog.result(), QDialog::Accepted);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / "FolderCatalog01.PNG"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / "FolderCatalog02.PNG"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "FolderCatalog03.PNG"));
    // The log lies beside the pictures and is shown.
    ASSERT_EQ(services_.shell.opened.size(), 1u);
    EXPECT_EQ(services_.shell.opened[0], dir_ / "out" / "FolderCatalog.txt");
    EXPECT_EQ(services_.messages.Notices().back(), "\tDone!!!  \nCatalog output to: " + Folder("out") + "   \n");

    CShpCat empty(context_, CatalogList{});
    EXPECT_EQ(services_.messages.Notices().back(), "No icons on active view ...");
    EXPECT_FALSE(empty.GoButton()->isEnabled());
}

TEST_F(ToolDialogsTest, ConverterWritesTheNineIconFilesOfTheFolder) {
    Folder("in");
    test::WriteBytes(dir_ / "in" / "TANK.SHP", test::UnitShp({{6, 5}, {6, 5}, {6, 5}, {6, 5}, {5, 4}, {6, 5},
                                                               {6, 5}, {6, 5}, {4, 6}},
                                                              3));
    test::WriteBytes(dir_ / "in" / "jeep.s16", test::UnitS16(4, 4, MakeRgb(8, 64, 200)));
    test::WriteBytes(dir_ / "in" / "TEN.SHP", test::UnitShp(4, 4, 3, 10));
    test::WriteText(dir_ / "in" / "notes.txt", "skipped");
    services_.settings.SetString("Settings", "S16 folder", Folder("in"));

    CShpToBmp converter(context_);
    EXPECT_EQ(converter.FileList()->count(), 3);
    EXPECT_EQ(converter.CountLabel()->text(),
              QStringLiteral("3 files in folder (only those with 9 icons will be converted though)"));
    // No output folder yet: nowhere to write.
    EXPECT_FALSE(converter.OkButton()->isEnabled());
    pickers_.QueueFolder(Folder("out"));
    converter.OutputButton()->click();
    EXPECT_EQ(pickers_.requests.back().title, "Folder for image files");
    EXPECT_EQ(Store("BMP folder"), Folder("out"));
    converter.TypeCombo()->setCurrentIndex(1);
    emit converter.TypeCombo()->activated(1);
    EXPECT_EQ(StoreInt("Output image"), 1);

    converter.OkButton()->click();
    EXPECT_EQ(converter.result(), QDialog::Accepted);
    EXPECT_EQ(services_.messages.Notices().back(), "Done!\n2 files converted");
    EXPECT_EQ(QImage(PathToQString((dir_ / "out" / "TANK.PNG").string())).size(), QSize(18, 18));
    EXPECT_EQ(QImage(PathToQString((dir_ / "out" / "jeep.PNG").string())).size(), QSize(12, 12));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "TEN.PNG"));
}

TEST_F(ToolDialogsTest, BlockDialogSavesThePictureOfTheRangeItShows) {
    // Twenty icons of 6 x 5, icon 5 wider and lower; icon n is filled with index n.
    test::WriteBytes(dir_ / "TIGER.SHP", test::SolidShp(20, [](int n, int& w, int& h) {
                         w = n == 5 ? 7 : 6;
                         h = n == 5 ? 4 : 5;
                     }));
    auto shp = OpenIconSource(IconKind::Shp, IconBytes::OfFile(dir_.File("TIGER.SHP")), services_.messages);
    ASSERT_TRUE(shp && shp->Readable());
    shp->Select(3);
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CGetData*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(),
                  QStringLiteral("Create a block of icons, with no separatos (Quarnel compatible)"));
        EXPECT_EQ(dialog->PromptLabel()->text(), QStringLiteral("Current icon is 3/20 [TIGER.SHP]"));
        EXPECT_EQ(dialog->AvailableLabel()->text(), QStringLiteral(" / 18 "));
        EXPECT_TRUE(dialog->SizeLabel()->text().startsWith(QStringLiteral("Include icons 3-20\n")));
        EXPECT_EQ(dialog->FileLabel()->text().toStdString(), dir_.File("TIGER_3-20.BMP"));
        // Seven icons in three rows: three columns, the last row holds one icon.
        dialog->CountEdit()->setText(QStringLiteral("7"));
        emit dialog->CountEdit()->editingFinished();
        dialog->RowsEdit()->selectAll();
        QTest::keyClicks(dialog->RowsEdit(), QStringLiteral("3"));
        EXPECT_EQ(dialog->CellSizeLabel()->text(), QStringLiteral("7 x 5 (width/height)"));
        EXPECT_EQ(dialog->SizeLabel()->text(),
                  QStringLiteral("Include icons 3-9\nBitmap size : 21 x 15   (3 Rows, 3 Cols)"));
        dialog->LastEdit()->setText(QString());
        emit dialog->LastEdit()->editingFinished();
        EXPECT_EQ(services_.messages.Errors(), (std::vector<std::string>{"Enter an integer."}));
        dialog->LastEdit()->setText(QStringLiteral("9"));
        dialog->TypeCombo()->setCurrentIndex(1);
        emit dialog->TypeCombo()->activated(1);
        EXPECT_EQ(dialog->FileLabel()->text().toStdString(), dir_.File("TIGER_3-9.PNG"));
        checked = true;
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(CGetData::Run(context_, "Current icon is 3/20 [TIGER.SHP]", shp.get(), 3,
                              dir_.File("TIGER_block.bmp")));
    ASSERT_TRUE(checked);
    EXPECT_EQ(StoreInt("Output image"), 1);
    const QImage block(PathToQString(dir_.File("TIGER_3-9.PNG")));
    ASSERT_EQ(block.size(), QSize(21, 15));
    for (int k = 0; k < 9; ++k) {
        const QRgb expected = k < 7 ? PaletteRgb(3 + k) : PaletteRgb(kTransparentIndex);
        EXPECT_EQ(Opaque(block.pixel(k % 3 * 7, k / 3 * 5)), expected) << "cell " << k;
    }
    // Icon 5 is lower than its cell: the row below it stays background.
    EXPECT_EQ(Opaque(block.pixel(7 * 2, 4)), PaletteRgb(kTransparentIndex));
}

TEST_F(ToolDialogsTest, PaletteGridClicksSelectTheRowOfTheirIndex) {
    PaletteComparison palettes;
    palettes.first.table = DefaultColourTable();
    palettes.first.name = PaletteComparison::kCurrentName;
    settings_.SetPalFolder(Folder("pals"));
    DlgPals dialog(context_, palettes);
    EXPECT_EQ(dialog.NameLabel(1)->text(), QStringLiteral("Default Orvel palette"));
    EXPECT_EQ(dialog.List()->rowCount(), 256);
    EXPECT_EQ(dialog.List()->item(255, 2)->text(), QStringLiteral("252, 124, 124"));
    dialog.OnlyDifferencesBox()->click();
    EXPECT_EQ(dialog.List()->rowCount(), 0);

    // Entries 1 and 17 of the second palette from a short binary file.
    std::vector<std::uint8_t> bytes(18 * 4, 0);
    for (int i = 0; i < 18; ++i) {
        const auto& t = DefaultColourTable();
        std::copy(t.begin() + i * 4, t.begin() + i * 4 + 4, bytes.begin() + i * 4);
    }
    bytes[1 * 4 + 2] = 1;  // red of entry 1
    bytes[17 * 4] = 2;     // blue of entry 17
    Folder("other");
    test::WriteBytes(dir_ / "other" / "PSP_two.pal", bytes);
    pickers_.QueueFile(dir_.File("other/PSP_two.pal"));
    dialog.LoadButton(1)->click();
    EXPECT_EQ(pickers_.requests.back().initial, Folder("pals") + "PSP_*.pal");
    EXPECT_EQ(pickers_.requests.back().title, "Select PSP pal file");
    EXPECT_EQ(dialog.NameLabel(1)->text(), QStringLiteral("PSP_two.pal"));
    EXPECT_EQ(dialog.NameLabel(0)->text(), QStringLiteral("Current palette"));
    ASSERT_EQ(dialog.List()->rowCount(), 2);
    EXPECT_EQ(dialog.List()->item(1, 0)->text(), QStringLiteral("017"));
    EXPECT_EQ(dialog.List()->item(0, 2)->text(), QStringLiteral("  1, 240, 240"));

    // A click on the cell of index 17 finds its row; index 16 is not listed.
    QTest::mouseClick(dialog.Grid(1), Qt::LeftButton, {}, QPoint(15, 15));
    EXPECT_EQ(dialog.SelectedRow(), 1);
    EXPECT_EQ(dialog.List()->currentRow(), 1);
    QTest::mouseClick(dialog.Grid(0), Qt::LeftButton, {}, QPoint(5, 15));
    EXPECT_EQ(dialog.SelectedRow(), -1);
    EXPECT_TRUE(dialog.List()->selectedItems().isEmpty());
    dialog.OnlyDifferencesBox()->click();
    QTest::mouseClick(dialog.Grid(0), Qt::LeftButton, {}, QPoint(5, 15));
    EXPECT_EQ(dialog.List()->currentRow(), 16);

    const QImage second = dialog.Grid(1)->grab().toImage();
    EXPECT_EQ(Opaque(second.pixel(15, 5)), qRgb(1, 240, 240));
    EXPECT_EQ(Opaque(second.pixel(25, 5)), PaletteRgb(2));
    EXPECT_EQ(settings_.PalFolder(), Folder("other"));
}

}  // namespace
}  // namespace pixmond
