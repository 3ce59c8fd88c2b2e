#pragma once
#include <functional>
#include <string>

#include "image/CBmpDib.h"
#include "tools/PaletteComparison.h"

namespace pixmond {

class AppSettings;
class Messages;
class Pickers;

// The palette commands of both browsers, on the drawing palette of the browser's SHP reader: load and save it
// as a binary game palette or a text palette, reset it, convert the picture on show to the default palette,
// and the palettes the comparison starts from. Every picker starts in "PAL folder", and the chosen file's
// folder becomes "PAL folder"; Cancel changes nothing. A change is drawn at once.
class DrawingPaletteCommands {
public:
    // What the browser gives the commands.
    struct Target {
        std::function<bool()> available;  // unset: always; false: every command does nothing
        std::function<CBmpDib::ColourTable()> palette;
        std::function<void(const CBmpDib::ColourTable&)> setPalette;
        std::function<CBmpDib*()> picture;  // the SHP reader's picture, null when there is none
        std::function<void()> redraw;       // picture and labels
    };

    DrawingPaletteCommands(Target target, Pickers& pickers, AppSettings& settings, Messages& messages);

    // True when the palette changed or the file was written.
    bool LoadBinary();
    bool SaveBinary();
    bool LoadText();
    bool SaveText();
    bool Reset();
    // Re-indexes the SHP reader's picture to the default palette; the drawing palette becomes the one that shows
    // the stored indices as the converted picture (each index the default colour it was remapped to).
    bool ConvertToDefault();
    // That palette: each entry the default colour its index is remapped to under `palette`.
    static CBmpDib::ColourTable SnappedToDefault(const CBmpDib::ColourTable& palette);
    // A copy of the drawing palette as "Current palette", the second palette not given. False when the
    // commands are not available.
    bool Comparison(PaletteComparison& palettes) const;

    static constexpr const char* kBinaryTitle = "Select Game pal file";
    static constexpr const char* kBinaryFilter = "Palette binary files (*.PAL)|*.pal|";
    static constexpr const char* kTextTitle = "Select PSP pal file";
    static constexpr const char* kTextFilter = "PSP Palette text File (*.pal)|*.pal|";
    static constexpr const char* kExtension = ".pal";

private:
    bool Available() const { return !target_.available || target_.available(); }
    // The file picked, its folder remembered; empty when the user cancelled.
    std::string Pick(const std::string& proposed, const char* title, const char* filter, bool open);
    bool Changed(const CBmpDib::ColourTable& palette);

    Target target_;
    Pickers& pickers_;
    AppSettings& settings_;
    Messages& messages_;
};

}  // namespace pixmond
