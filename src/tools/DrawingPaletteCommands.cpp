#include "tools/DrawingPaletteCommands.h"

#include "base/Format.h"
#include "base/PathParts.h"
#include "base/SafeFile.h"
#include "image/Palette.h"
#include "image/PaletteFile.h"
#include "tools/ProposedNames.h"
#include "ui/AppSettings.h"
#include "ui/Messages.h"
#include "ui/Pickers.h"

namespace pixmond {

DrawingPaletteCommands::DrawingPaletteCommands(Target target, Pickers& pickers, AppSettings& settings,
                                               Messages& messages)
    : target_(std::move(target)), pickers_(pickers), settings_(settings), messages_(messages) {}

std::string DrawingPaletteCommands::Pick(const std::string& proposed, const char* title, const char* filter,
                                         bool open) {
    const std::string path = pickers_.PickFile(proposed, title, filter, kExtension, open);
    if (!path.empty()) settings_.SetPalFolder(PathParts::Of(path).folder);
    return path;
}

bool DrawingPaletteCommands::Changed(const CBmpDib::ColourTable& palette) {
    target_.setPalette(palette);
    if (target_.redraw) target_.redraw();
    return true;
}

bool DrawingPaletteCommands::LoadBinary() {
    if (!Available()) return false;
    const std::string path =
        Pick(ProposeName(ProposedName::BinaryPaletteToLoad, settings_.PalFolder(), {}), kBinaryTitle, kBinaryFilter, true);
    CBmpDib::ColourTable palette = target_.palette();
    return !path.empty() && ReadBinaryPalette(palette, path, messages_) && Changed(palette);
}

bool DrawingPaletteCommands::SaveBinary() {
    if (!Available()) return false;
    const std::string path =
        Pick(ProposeName(ProposedName::BinaryPaletteToSave, settings_.PalFolder(), {}), kBinaryTitle, kBinaryFilter, false);
    if (path.empty()) return false;
    const CBmpDib::ColourTable palette = target_.palette();
    SafeFile file(path);
    if (!file.IsOpen() || !file.Write(palette.data(), palette.size()) || !file.Commit()) {
        messages_.Error(Format("[%s] Not found", path.c_str()));
        return false;
    }
    return true;
}

bool DrawingPaletteCommands::LoadText() {
    if (!Available()) return false;
    const std::string path =
        Pick(ProposeName(ProposedName::TextPalette, settings_.PalFolder(), {}), kTextTitle, kTextFilter, true);
    CBmpDib::ColourTable palette = target_.palette();
    return !path.empty() && ReadPalette(palette, path, messages_) && Changed(palette);
}

bool DrawingPaletteCommands::SaveText() {
    if (!Available()) return false;
    const std::string path =
        Pick(ProposeName(ProposedName::TextPalette, settings_.PalFolder(), {}), kTextTitle, kTextFilter, false);
    return !path.empty() && WriteTextPalette(target_.palette(), path, messages_);
}

bool DrawingPaletteCommands::Reset() { return Available() && Changed(DefaultColourTable()); }

bool DrawingPaletteCommands::ConvertToDefault() {
    if (!Available()) return false;
    CBmpDib* picture = target_.picture ? target_.picture() : nullptr;
    if (!picture || !RemapToDefaultPalette(*picture)) return false;
    // Icons are decoded afresh from their file whenever they are drawn or saved, with their stored indices. The
    // palette that shows them as the converted picture gives each index the default colour it was remapped to.
    return Changed(SnappedToDefault(target_.palette()));
}

CBmpDib::ColourTable DrawingPaletteCommands::SnappedToDefault(const CBmpDib::ColourTable& palette) {
    // Every index once, remapped by the same rule as the picture.
    CBmpDib indices;
    indices.Create(256, 1, 8, false);
    CBmpDib::ColourTable snapped = palette;
    if (!indices.Allocate()) return snapped;
    for (int i = 0; i < 256; ++i) indices.Bits()[i] = std::uint8_t(i);
    indices.SetColourTable(palette);
    if (!RemapToDefaultPalette(indices)) return snapped;
    const CBmpDib::ColourTable& standard = DefaultColourTable();
    for (int i = 0; i < 256; ++i) {
        const int to = indices.Bits()[i];
        for (int c = 0; c < 3; ++c) snapped[size_t(i * 4 + c)] = standard[size_t(to * 4 + c)];
        snapped[size_t(i * 4 + 3)] = 0;
    }
    return snapped;
}

bool DrawingPaletteCommands::Comparison(PaletteComparison& palettes) const {
    if (!Available()) return false;
    palettes.first.table = target_.palette();
    palettes.first.name = PaletteComparison::kCurrentName;
    return true;
}

}  // namespace pixmond
