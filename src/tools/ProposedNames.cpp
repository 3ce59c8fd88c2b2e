#include "tools/ProposedNames.h"

#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/AppSettings.h"

namespace pixmond {

std::string ProposeName(ProposedName what, const std::string& folder, const std::string& source, int icon,
                        int outputImage) {
    const PathParts parts = PathParts::Of(source);
    const char* f = folder.c_str();
    const char* title = parts.title.c_str();
    const char* extension = AppSettings::ExtensionOf(outputImage);
    switch (what) {
    case ProposedName::Icon: return Format("%s%s_%d%s", f, title, icon, extension);
    case ProposedName::Collage: return Format("%s%s_all%s", f, title, extension);
    case ProposedName::ArchiveBlock: return Format("%s%s_block.bmp", f, title);
    case ProposedName::FolderBlock: return Format("%s%s_block%s", f, title, extension);
    case ProposedName::ItemsReport: return parts.withoutExtension + "_list.txt";
    case ProposedName::ItemsOnlyReport: return parts.withoutExtension + ".txt";
    case ProposedName::BinaryPaletteToLoad: return Format("%s*.pal", f);
    case ProposedName::BinaryPaletteToSave: return Format("%sGAME.pal", f);
    case ProposedName::TextPalette: return Format("%sPSP_*.pal", f);
    }
    return {};
}

}  // namespace pixmond
