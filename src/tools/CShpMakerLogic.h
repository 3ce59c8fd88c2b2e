#pragma once
#include <string>
#include <vector>

#include "image/CBmpOrvel.h"
#include "tools/ShpIconList.h"
#include "tools/ShpMakerSettings.h"

namespace pixmond {

struct Services;

// What the Shp maker does, without its window: the three ways of building SHP files from the bitmaps of one
// folder, the icon list, and the preview bitmap with its colour replacement and re-indexing. The dialog
// pulls its controls into these values, calls in, and shows what comes back.
class CShpMakerLogic {
public:
    static constexpr int kExpressBatch = ShpMakerSettings::kExpressBatch;
    static constexpr int kNineIconBitmap = ShpMakerSettings::kNineIconBitmap;
    static constexpr int kIconList = ShpMakerSettings::kIconList;

    explicit CShpMakerLogic(Services& services);

    // The maker's stored choices, live in the settings store.
    ShpMakerSettings Stored() const;
    // The folder the bitmaps are listed from and named in, with its separator; empty: names are paths.
    std::string folder;
    std::string fileSpec = "*.bmp";
    ShpIconList iconList;

    // The folder starts at the stored "Folder".
    void LoadSettings();
    // A chosen bitmap folder is stored as "Folder", and as "S16 folder": where a folder browser that has not
    // started yet will start.
    void ChooseFolder(const std::string& folder);

    // The listing pattern of a typed file fileSpec: empty gives "*.bmp"; without an extension a last space
    // becomes "*" and ".bmp" is added.
    static std::string FilePattern(const std::string& fileSpec);
    // The bitmap list: names of the folder's files matching the file fileSpec, sorted.
    std::vector<std::string> ListBitmaps() const;
    std::string PathOf(const std::string& name) const;

    // Checks before a run in a mode: a bitmap selection in modes 0 and 1, icons in the list in mode 2 (says why not).
    bool ReadyToRun(int mode, int selectedCount) const;
    // Mode 0: for each bitmap, an SHP beside it with nine copies of the whole bitmap. Returns the files made.
    int MakeClones(const std::vector<std::string>& names);
    // Mode 1: for each bitmap, an SHP beside it with the nine cells of the bitmap (3 x 3, else 9 x 1).
    int MakeFromNineIconBitmaps(const std::vector<std::string>& names, bool threeByThree);
    // Mode 2: one SHP at output, an icon per title of the icon list. A bitmap that cannot be loaded or encoded
    // is left out of the file (and named in a message); nothing is written when none can.
    bool MakeFromIconList(const std::string& output);
    // The same for bitmaps given by their paths, in order.
    bool MakeFromBitmaps(const std::string& output, const std::vector<std::string>& paths);

    // Focus change: loads the bitmap as the preview; a bitmap that is not 8-bit is converted to the default
    // palette when asked (the preview then differs from its file).
    bool LoadPreview(const std::string& name, bool defaultPaletteForDeepBitmaps);
    const CBmpOrvel& Preview() const { return preview_; }
    bool Changed() const { return changed_; }
    std::string BitmapInfo() const;
    // The colour of palette entry index (0..255) of the preview.
    Rgb PaletteColour(int index) const;
    // The replacement proposed: the index of the bottom-left pixel (the background a bitmap usually has) by the
    // transparent index; -1 when there is nothing to replace.
    int ReplaceProposal() const;
    int WithProposal() const;
    // Colour replacement works on an 8-bit preview.
    bool CanReplace() const { return preview_.Bits() && preview_.BitsPerPixel() == 8; }
    bool CanSave() const { return changed_; }
    // Every pixel of index from becomes index to; false when nothing changes (an index outside 0..255, the same
    // index twice, no 8-bit preview).
    bool ReplaceColour(int from, int to);
    bool ChangeToDefaultPalette();
    // Writes the changed preview as "%s%sX.bmp" (folder, the bitmap's title).
    bool SaveChanged(const std::string& name);

private:
    void Report(int created, int failed, const char* doneText) const;
    Services& services_;
    CBmpOrvel preview_;
    bool changed_ = false;
};

}  // namespace pixmond
