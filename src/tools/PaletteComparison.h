#pragma once
#include <string>
#include <vector>

#include "image/CBmpDib.h"

namespace pixmond {

class Messages;

// Two 256-colour palettes side by side: the rows of their entries, all or only those whose colours differ,
// the 16 x 16 grids they are drawn in, and palettes read from files. Both palettes are copies; loading a
// file never touches the palette the program draws with.
class PaletteComparison {
public:
    struct Palette {
        CBmpDib::ColourTable table{};  // blue, green, red, 0 per entry
        std::string name;              // empty until given: Start() then puts the default palette there
    };
    // One list row: "%03d", then "%3d, %3d, %3d" of each palette.
    struct Row {
        int index = 0;
        std::string indexText, firstText, secondText;
    };

    static constexpr int kCell = 10;       // side of one colour cell, in pixels
    static constexpr int kGridCells = 16;  // cells per grid row and column
    static constexpr int kGridSide = kGridCells * kCell + 1;
    static constexpr const char* kDefaultName = "Default Orvel palette";
    static constexpr const char* kCurrentName = "Current palette";
    // The file picker of either palette.
    static constexpr const char* kPickTitle = "Select PSP pal file";
    static constexpr const char* kPickFilter = "PSP Palette text File (*.pal)|*.pal|";
    static constexpr const char* kPickExtension = ".pal";

    Palette first, second;
    bool onlyDifferences = false;

    // A palette nobody named becomes the default palette.
    void Start();
    // Entries are the same when red, green and blue are; the fourth byte does not count.
    static bool SameColour(const CBmpDib::ColourTable& a, const CBmpDib::ColourTable& b, int index);
    bool Differs(int index) const { return !SameColour(first.table, second.table, index); }
    int Differences() const;
    // The rows in index order; with only differences set, the indexes whose colours are the same are left out.
    std::vector<Row> Rows() const;
    // The list row showing the palette index, -1 when that index is not listed.
    int RowOfIndex(int index) const;
    // The index of the cell under a point given from the grid's top-left corner; -1 outside the cells.
    static int IndexAt(int x, int y);
    // The top-left corner of the cell of an index, from the grid's top-left corner.
    static int CellX(int index) { return index % kGridCells * kCell; }
    static int CellY(int index) { return index / kGridCells * kCell; }

    // Where the picker starts: "%sPSP_*.pal" in the palette folder.
    static std::string PickerStart(const std::string& palFolder);
    // Reads a palette file into the first (0) or second (1) palette and names it after the file. False, with
    // the palette and its name unchanged, when the file cannot be read.
    bool Load(int which, const std::string& path, Messages& messages);
    Palette& Side(int which) { return which == 0 ? first : second; }

    // A file that starts with "JAS" is a text palette whatever its name; any other is read as up to 256
    // entries of four bytes, and a short file changes only the whole entries it holds.
    static bool ReadComparedPalette(CBmpDib::ColourTable& table, const std::string& path, Messages& messages);
};

}  // namespace pixmond
