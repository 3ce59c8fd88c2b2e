#pragma once
#include <QDialog>

#include "tools/PaletteComparison.h"
#include "ui/qt/CFrameView.h"

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace pixmond {

class ClickableLabel;
class CPaletteGrid;

// "Compare palettes tool": two palettes as colour grids and as a list of their entries, either of them
// replaced from a palette file. Nothing outside the dialog changes but the remembered palette folder.
class DlgPals : public QDialog {
    Q_OBJECT
public:
    // The caller gives the palettes it has (a copy of the drawing palette as "Current palette", as a rule);
    // an unnamed palette is the default one.
    DlgPals(ViewContext& context, PaletteComparison palettes, QWidget* parent = nullptr);

    // The first (0) or second (1) palette from a file the user picks.
    void LoadPalette(int which);
    // A click on cell `index` of a grid: its row is selected, or none when it is not listed.
    void SelectIndex(int index);

    const PaletteComparison& Palettes() const { return palettes_; }
    QTableWidget* List() const { return list_; }
    ClickableLabel* NameLabel(int which) const { return names_[which]; }
    QPushButton* LoadButton(int which) const { return loads_[which]; }
    CPaletteGrid* Grid(int which) const { return grids_[which]; }
    QCheckBox* OnlyDifferencesBox() const { return only_; }
    QPushButton* CloseButton() const { return close_; }
    int SelectedRow() const { return selectedRow_; }

private:
    void FillList();
    void SelectRow(int row);
    void PushFields();

    ViewContext& context_;
    PaletteComparison palettes_;
    int selectedRow_ = -1;
    ClickableLabel* names_[2] = {};
    QPushButton* loads_[2] = {};
    CPaletteGrid* grids_[2] = {};
    QTableWidget* list_ = nullptr;
    QCheckBox* only_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace pixmond
