#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

#include "app/CApp.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "browser/qt/CDatPicture.h"
#include "browser/qt/CDatView.h"
#include "folderview/qt/CShpView.h"
#include "support/DatSample.h"
#include "support/FolderSample.h"
#include "support/FrameTest.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/TestFiles.h"
#include "tools/DrawingPaletteCommands.h"
#include "tools/qt/DlgPals.h"
#include "ui/AppSettings.h"

namespace pixmond {
namespace {

// A binary palette file of count bytes whose every entry is the colour.
void WriteBinaryPalette(const std::filesystem::path& path, size_t count, QRgb colour) {
    std::vector<std::uint8_t> bytes(count);
    for (size_t i = 0; i + 3 < count; i += 4) {
        bytes[i] = std::uint8_t(qBlue(colour));
        bytes[i + 1] = std::uint8_t(qGreen(colour));
        bytes[i + 2] = std::uint8_t(qRed(colour));
    }
    test::WriteBytes(path, bytes);
}

int Count(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) | 0xFF000000u) == (colour | 0xFF000000u);
    return count;
}

// Every pixel of after is the pixel of before or the colour.
bool OnlyRecoloured(const QImage& before, const QImage& after, QRgb colour) {
    if (before.size() != after.size()) return false;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y) && (after.pixel(x, y) | 0xFF000000u) != (colour | 0xFF000000u))
                return false;
    return true;
}

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* action : actions) texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return texts;
}

// Both browsers in the real frame: the sample archive in archive/, the sample folder in folder/.
class PaletteToolsMenuTest : public test::FrameTest {
protected:
    PaletteToolsMenuTest() {
        std::filesystem::create_directories(dir_ / "archive");
        std::filesystem::create_directories(dir_ / "folder");
        archive_ = test::WriteDatSample(dir_ / "archive");
        test::WriteFolderSample(dir_ / "folder");
        services_.settings.SetString("Settings", "S16 folder", (dir_ / "folder").string());
        settings_.SetPalFolder(dir_.Path().string() + "/");
        ShowFrame<CFrameView>(CMainFrame::kShpMode);
    }
    // Answers the picker with the file and runs the menu command of that text.
    void Run(QMenu* menu, const char* text, const std::filesystem::path& file = {}) {
        if (!file.empty()) pickers_.QueueFile(file.string());
        for (QAction* action : menu->actions()) {
            if (action->text() != QString::fromLatin1(text)) continue;
            action->trigger();
            return;
        }
        ADD_FAILURE() << text;
    }
    CDatView* OpenArchive() {
        frame_->SwitchView(CMainFrame::kDatMode);
        auto* view = dynamic_cast<CDatView*>(frame_->ActiveView());
        return view && doc_.OnOpenDocument(archive_.string()) ? view : nullptr;
    }
    void SelectRow(CDatView* view, const QString& text) {
        auto* model = view->EntryList()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 0).data().toString() == text) view->EntryList()->setCurrentIndex(model->index(r, 0));
        ASSERT_EQ(view->EntryList()->currentIndex().data().toString(), text);
    }
    void SelectFile(CShpView* view, const QString& name) {
        const auto items = view->FileList()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        view->FileList()->setCurrentItem(items.front());
    }
    std::filesystem::path File(const char* name) const { return dir_ / name; }

    std::filesystem::path archive_;
};

TEST_F(PaletteToolsMenuTest, TheArchiveBrowserDrawsWithALoadedPaletteUntilItIsReset) {
    CDatView* view = OpenArchive();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Texts(view->PaletteMenu()->actions()),
              (QStringList{"Load &Palette (binary Game format)", "Save Palette (binary Game format)", "|",
                           "Load  Palette (PSP && Wendal ascii format)", "Save Palette (PSP && Wendal ascii format)",
                           "|", "Reset to default Orvel palette", "Convert to Orvel Palette", "|",
                           "Compare 2 Palettes"}));
    EXPECT_EQ(view->PaletteMenu()->title(), QStringLiteral("&Palette Tools"));
    const QStringList bar = Texts(view->ToolBar()->actions());
    EXPECT_EQ(bar.mid(bar.size() - 3), (QStringList{"|", "Convert to Orvel Palette", "About"}));

    SelectRow(view, QStringLiteral("ARMOUR.SHP  (9)"));
    const auto paint = [view] { return view->Picture()->grab().toImage(); };
    const QImage shown = paint();
    const QRgb full = qRgb(1, 2, 3), shorter = qRgb(4, 5, 6), text = qRgb(10, 20, 30);
    WriteBinaryPalette(File("full.pal"), 1024, full);
    Run(view->PaletteMenu(), "Load &Palette (binary Game format)", File("full.pal"));
    const QImage loaded = paint();
    const int icon = Count(loaded, full);
    EXPECT_EQ(Count(shown, full), 0);
    EXPECT_GT(icon, 9 * 40 * 30 / 2);
    EXPECT_TRUE(OnlyRecoloured(shown, loaded, full));

    // 768 bytes reach the armoured cars' index 30 as well.
    WriteBinaryPalette(File("short.pal"), 768, shorter);
    Run(view->PaletteMenu(), "Load &Palette (binary Game format)", File("short.pal"));
    const QImage second = paint();
    EXPECT_EQ(Count(second, shorter), icon);

    // Another entry, another archive and back: the palette stays.
    SelectRow(view, QStringLiteral("TIGER.SHP  (20)"));
    EXPECT_GT(Count(paint(), shorter), 0);
    ASSERT_TRUE(doc_.OnOpenDocument(archive_.string()));
    SelectRow(view, QStringLiteral("ARMOUR.SHP  (9)"));
    EXPECT_EQ(paint(), second);

    std::string lines = "JASP-PAL\nOrvel Shp Tool\n256\n";
    for (int i = 0; i < 256; ++i) lines += "10 20 30\n";
    test::WriteText(File("PSP_some.pal"), lines);
    Run(view->PaletteMenu(), "Load  Palette (PSP && Wendal ascii format)", File("PSP_some.pal"));
    EXPECT_EQ(Count(paint(), text), icon);

    Run(view->PaletteMenu(), "Reset to default Orvel palette");
    EXPECT_EQ(paint(), shown);
    EXPECT_EQ(services_.messages.Errors(), std::vector<std::string>{});
    EXPECT_EQ(settings_.PalFolder(), dir_.Path().string() + "/");
}

TEST_F(PaletteToolsMenuTest, TheFolderBrowserKeepsThePaletteFromFileToFileAndActsOnlyOnShpFiles) {
    auto* view = dynamic_cast<CShpView*>(frame_->ActiveView());
    ASSERT_NE(view, nullptr);
    SelectFile(view, QStringLiteral("JEEP.SHP"));
    const auto paint = [view] { return view->PictureArea()->grab().toImage(); };
    const QImage shown = paint();
    const QRgb colour = qRgb(1, 2, 3);
    WriteBinaryPalette(File("full.pal"), 1024, colour);
    Run(view->PaletteMenu(), "Load &Palette (binary Game format)", File("full.pal"));
    const QImage loaded = paint();
    EXPECT_GT(Count(loaded, colour), 0);
    EXPECT_TRUE(OnlyRecoloured(shown, loaded, colour));
    EXPECT_EQ(view->PixelLabel()->text(), QStringLiteral("Pal=6 (1,2,3)"));

    // An S16 file has no palette to load: no picker opens.
    SelectFile(view, QStringLiteral("Plane.s16"));
    const size_t asked = pickers_.requests.size();
    Run(view->PaletteMenu(), "Load &Palette (binary Game format)");
    Run(view->PaletteMenu(), "Save Palette (binary Game format)");
    EXPECT_EQ(pickers_.requests.size(), asked);

    SelectFile(view, QStringLiteral("Tiger.shp"));
    EXPECT_GT(Count(paint(), colour), 0);
    SelectFile(view, QStringLiteral("JEEP.SHP"));
    EXPECT_EQ(paint(), loaded);
    Run(view->PaletteMenu(), "Save Palette (binary Game format)", File("GAME.pal"));
    EXPECT_EQ(test::ReadBytes(File("GAME.pal")), test::ReadBytes(File("full.pal")));

    // Converting snaps each colour to the nearest one of the game's palette, so the icon keeps its look as far as
    // that palette allows (every entry was (1,2,3): all take the default colour nearest to it); the comparison
    // starts from the drawing palette.
    CBmpDib::ColourTable all{};
    for (int i = 0; i < 256; ++i) all[size_t(i * 4)] = 3, all[size_t(i * 4 + 1)] = 2, all[size_t(i * 4 + 2)] = 1;
    const CBmpDib::ColourTable snapped = DrawingPaletteCommands::SnappedToDefault(all);
    const QRgb near = qRgb(snapped[6 * 4 + 2], snapped[6 * 4 + 1], snapped[6 * 4]);
    Run(view->PaletteMenu(), "Convert to Orvel Palette");
    const QImage converted = paint();
    EXPECT_GT(Count(converted, near), 0);
    EXPECT_EQ(Count(converted, colour), 0);
    EXPECT_TRUE(OnlyRecoloured(loaded, converted, near));
    EXPECT_EQ(view->PixelLabel()->text(),
              QStringLiteral("Pal=6 (%1,%2,%3)").arg(qRed(near)).arg(qGreen(near)).arg(qBlue(near)));
    bool compared = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<DlgPals*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Palettes().first.name, "Current palette");
        EXPECT_EQ(dialog->Palettes().second.name, "Default Orvel palette");
        EXPECT_EQ(dialog->Palettes().first.table, snapped);
        compared = true;
        dialog->reject();
    });
    Run(view->PaletteMenu(), "Compare 2 Palettes");
    EXPECT_TRUE(compared);
}

}  // namespace
}  // namespace pixmond
