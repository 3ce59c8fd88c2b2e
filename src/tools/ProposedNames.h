#pragma once
#include <string>

namespace pixmond {

// The names the save, report and palette commands of both browsers offer in their pickers.
enum class ProposedName {
    Icon,             // "%s%s_%d%s": folder, title, icon number, output extension
    Collage,          // "%s%s_all%s": folder, title, output extension
    ArchiveBlock,     // "%s%s_block.bmp": folder, title (the archive browser's block)
    FolderBlock,      // "%s%s_block%s": folder, title, output extension (the folder browser's block)
    ItemsReport,      // the source (an archive's path) without its extension, plus "_list.txt"
    ItemsOnlyReport,  // the source with its extension replaced by ".txt"
    BinaryPaletteToLoad,  // "%s*.pal": folder
    BinaryPaletteToSave,  // "%sGAME.pal": folder
    TextPalette,          // "%sPSP_*.pal": folder, for loading and saving alike
};

// The name proposed for one command. source is the entry's name or the file's path (its folder and extension are
// dropped: the title is what is left) or, for the reports, the archive's path; folder ends in its separator (the
// "BMP folder" or "PAL folder"); outputImage is the "Output image" setting (0 .BMP, 1 .PNG, 2 .JPG, anything else
// .BMP). Names that need no folder, title, icon or type ignore them.
std::string ProposeName(ProposedName what, const std::string& folder, const std::string& source, int icon = 0,
                        int outputImage = 0);

}  // namespace pixmond
