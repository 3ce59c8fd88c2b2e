#include "tools/qt/PaletteToolsMenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "tools/DrawingPaletteCommands.h"
#include "tools/qt/DlgPals.h"

namespace pixmond {

namespace {

void ComparePalettes(DrawingPaletteCommands& commands, ViewContext& context, QWidget* view) {
    PaletteComparison palettes;
    if (!commands.Comparison(palettes)) return;
    DlgPals dialog(context, std::move(palettes), view);
    dialog.exec();
}

}  // namespace

PaletteToolsMenu BuildPaletteToolsMenu(DrawingPaletteCommands& commands, ViewContext& context, QWidget* view) {
    PaletteToolsMenu built;
    // A menu text's "&&" is one ampersand on screen.
    built.menu = new QMenu(QStringLiteral("&Palette Tools"), view);
    const auto add = [&](const char* text, const char* tip, auto run) {
        QAction* action = built.menu->addAction(QString::fromLatin1(text));
        action->setStatusTip(QString::fromLatin1(tip));
        QObject::connect(action, &QAction::triggered, view, run);
        return action;
    };
    add("Load &Palette (binary Game format)", "Loads ewxternal .PAL file", [&commands] { commands.LoadBinary(); });
    add("Save Palette (binary Game format)", "Saves current palette to a PAL file",
        [&commands] { commands.SaveBinary(); });
    built.menu->addSeparator();
    add("Load  Palette (PSP && Wendal ascii format)", "Load Palette in text format, once edited",
        [&commands] { commands.LoadText(); });
    add("Save Palette (PSP && Wendal ascii format)", "Saves palette as text file, so you can edit it",
        [&commands] { commands.SaveText(); });
    built.menu->addSeparator();
    add("Reset to default Orvel palette", "Reload internal Orvel palette", [&commands] { commands.Reset(); });
    built.convert = add("Convert to Orvel Palette", "Changes to Orvel Palette using current colors",
                        [&commands] { commands.ConvertToDefault(); });
    built.convert->setIconText(QStringLiteral("Orvel Pal"));
    built.convert->setToolTip(QStringLiteral("Change to Orvel Pal."));
    built.menu->addSeparator();
    add("Compare 2 Palettes", "Report palette diffs",
        [&commands, &context, view] { ComparePalettes(commands, context, view); });
    return built;
}

}  // namespace pixmond
