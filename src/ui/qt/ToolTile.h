#pragma once
#include <QColor>
#include <QIcon>
#include <QString>

class QAction;

namespace pixmond {

// A toolbar picture drawn rather than shipped: a rounded tile in the colour of the button's group with a label of
// one to three characters. Buttons of a long toolbar show only these (the full text is the tooltip and the status
// bar's), so the whole bar fits the window's least width.
QIcon ToolTile(const QString& label, const QColor& colour);

// The groups of a toolbar, each a colour.
namespace tile {
inline const QColor kTools{214, 120, 40};    // the other tools and views
inline const QColor kArchive{52, 101, 164};  // open, repack, unpack
inline const QColor kList{78, 154, 6};       // what the list shows
inline const QColor kView{110, 110, 110};    // zoom, collage, mirror
inline const QColor kSave{6, 140, 140};      // pictures written out
inline const QColor kEdit{190, 40, 40};      // changes to the archive
inline const QColor kPalette{140, 70, 160};  // the drawing palette
}  // namespace tile

// Gives the action its tile.
void SetTile(QAction* action, const QString& label, const QColor& colour);

}  // namespace pixmond
