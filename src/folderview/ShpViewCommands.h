#pragma once
#include <string>

#include "base/Rect.h"
#include "tools/IconSaveCommands.h"

namespace pixmond {

class AppSettings;
class CShpViewModel;
class FolderImages;
class Pickers;
struct Services;

// The folder browser's commands on the file on show: saving its current icon or collage, each icon or a range of
// icons as a block ("Save as BMP/PNG" and the buttons "Icon", "All Icons", "Range"), and the SHP edits: a BMP
// inserted before the selected icon or appended, the selected icon removed. After an edit the folder is read again
// and the file reopened with the right icon selected.
class ShpViewCommands {
public:
    ShpViewCommands(CShpViewModel& view, FolderImages& images, Pickers& pickers, AppSettings& settings,
                    Services& services, IconSaveCommands::BlockDialog block);

    // The save commands work on an SHP or S16 file whose icons are listed.
    bool SaveEnabled() const;
    void SaveIconOrCollage(const Rect& pictureArea);
    void SaveEachIcon();
    void SaveBlock();
    // "Current icon is %d/%d [%s]": the icon, the file's icon count, the file's name.
    std::string BlockPrompt() const;

    // SHP files only. Insert puts the BMP in front of the selected icon and selects it; Append adds it after the
    // last icon and keeps the selection.
    void InsertBmp();
    void AppendBmp();
    // The selected icon, after the user said yes.
    void RemoveIcon();

    static constexpr const char* kBmpFilter = "Files (*.BMP)|*.bmp|";

private:
    IconSource* Source() const;
    bool IsShpOnShow() const;
    // Asks for the BMP, then inserts it as icon position (0 appends); the icon to select afterwards.
    void Insert(int position, int select);

    CShpViewModel& view_;
    FolderImages& images_;
    Pickers& pickers_;
    AppSettings& settings_;
    Services& services_;
    IconSaveCommands save_;
    IconSaveCommands::BlockDialog block_;
};

}  // namespace pixmond
