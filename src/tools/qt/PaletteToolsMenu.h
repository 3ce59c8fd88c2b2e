#pragma once
#include "ui/qt/CFrameView.h"

class QAction;
class QMenu;
class QWidget;

namespace pixmond {

class DrawingPaletteCommands;

// The "&Palette Tools" menu of both browsers over their palette commands, with the same texts, status-bar
// prompts and order in each; "Compare 2 Palettes" opens the comparison dialog on the drawing palette. The menu
// is a child of the view; convert is its "Convert to Orvel Palette", which the archive browser's toolbar shows.
struct PaletteToolsMenu {
    QMenu* menu = nullptr;
    QAction* convert = nullptr;
};
PaletteToolsMenu BuildPaletteToolsMenu(DrawingPaletteCommands& commands, ViewContext& context, QWidget* view);

}  // namespace pixmond
