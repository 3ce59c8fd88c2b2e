#pragma once
#include <string>

#include "tools/IconSaveCommands.h"

namespace pixmond {

class AppSettings;
class CDatViewModel;
class Pickers;

// The archive browser's "Save as BMP/PNG" commands on the current entry: its icon or the collage as the view shows
// it, each of its icons, a range of its icons as a block. Names are built from the entry's name.
class DatSaveCommands {
public:
    DatSaveCommands(CDatViewModel& view, Pickers& pickers, AppSettings& settings, IconSaveCommands::BlockDialog block);

    // Each does nothing without a current entry whose icons can be read.
    void SaveIconOrCollage();
    void SaveEachIcon();
    // Not for a picture: the block dialog on the entry's icons, proposing "%s%s_block.bmp" in "BMP folder".
    void SaveBlock();

    // What the block dialog is told of the current entry: "Current icon is %d/%d [%s]" for an SHP entry, nothing
    // for an S16 entry.
    std::string BlockPrompt() const;

private:
    IconSource* Source() const;
    std::string EntryName() const;

    CDatViewModel& view_;
    AppSettings& settings_;
    IconSaveCommands save_;
    IconSaveCommands::BlockDialog block_;
};

}  // namespace pixmond
