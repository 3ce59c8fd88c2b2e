#include "tools/ViewToolCommands.h"

#include "archive/CDatFile.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "image/CShpEditor.h"
#include "image/CShpFile.h"
#include "image/IconSource.h"
#include "tools/PngBatch.h"
#include "ui/AppSettings.h"
#include "ui/CollectingMessages.h"
#include "ui/Pickers.h"
#include "ui/Progress.h"
#include "ui/Services.h"

namespace pixmond {

bool ViewToolCommands::NationPictures(IconSource* reader) {
    if (!reader || reader->Kind() != IconKind::Shp) return false;
    auto* shp = dynamic_cast<CShpFile*>(&reader->Bitmap());
    if (!shp) return false;
    if (!CShpEditor::IsNationPicturesCount(reader->Count())) {
        services_.messages.Notice(
            Format("cannot create, Shp file has %d icons, (neither 220, nor 129)", reader->Count()));
        return false;
    }
    if (!CShpEditor::IsNationPicturesName(reader->Name())) return false;
    const std::string folder = pickers_.PickFolder(settings_.S16Folder(), kNationFolderTitle);
    if (folder.empty()) return false;
    return CShpEditor(services_).SaveNationPictures(*shp, folder);
}

int ViewToolCommands::ArchivePngToShp(const CDatFile& dat, const std::vector<int>& rows, int listMode) {
    Messages& messages = services_.messages;
    if (listMode == kUnitsOnlyMode || rows.empty()) {
        messages.Notice("\nSelect some files in list to extract as SHP\n");
        return 0;
    }
    const std::string folder = pickers_.PickFolder(settings_.S16Folder(), kExtractFolderTitle);
    if (folder.empty() || !dat.File()) return 0;
    std::vector<int> pngs;
    for (int entry : rows)
        if (dat.IsPng(entry) && !dat.IsNotLoadable(entry)) pngs.push_back(entry);
    const std::vector<std::string> stored = dat.StoredNames();
    auto progress = services_.progress.OpenWindow("Convert/Extract PNG to SHP");
    progress->SetRange(0, int(pngs.size()), 1);
    progress->SetText("Extracting the PNG entries as SHP files...\n\nHit Cancel or ESC to abort.");
    int written = 0, failed = 0;
    std::vector<std::string> refused;
    for (int entry : pngs) {
        progress->StepIt();
        if (!progress->PeekAndPump(true)) break;
        const TDatItem& item = dat.Item(entry);
        // A fake entry is written under its own name, from the bytes of the icon it stands for.
        const std::string name =
            size_t(entry) < stored.size() && !stored[size_t(entry)].empty() ? stored[size_t(entry)] : std::string(item.Name());
        // An archive is not trusted to name files: a name with a folder in it would land outside the one chosen.
        if (!CDatFile::IsSafeFileName(name)) {
            refused.push_back(name);
            continue;
        }
        CollectingMessages quiet;
        const std::unique_ptr<IconSource> picture =
            OpenIconSource(IconKind::Png, IconBytes{dat.File(), item.offset, name}, quiet);
        if (!picture || !picture->Readable()) continue;
        if (PngBatch::ConvertPicture(picture->Bitmap(), folder + PathParts::Of(name).title + ".shp"))
            ++written;
        else
            ++failed;
    }
    progress->Hide();
    if (written > 0)
        messages.Notice(Format("Extracted %d PNG files to SHP", written));
    else
        messages.Notice("No PNG files have been extracted to SHP");
    // A picture too large for an icon, or an SHP that cannot be written, is not an extraction.
    if (failed > 0) messages.Error(Format("%d PNG files could not be extracted to SHP", failed));
    for (const std::string& name : refused)
        messages.Error(Format("%s cannot be a file name in %s", name.c_str(), folder.c_str()));
    return written;
}

int ViewToolCommands::FolderPngToShp(const std::string& folder, const std::vector<std::string>& rows, int listMode) {
    if (!PngBatch::CheckList(listMode == kUnitsOnlyMode, int(rows.size()), services_.messages)) return 0;
    const PngBatch batch(folder, rows);
    auto progress = services_.progress.OpenWindow("Convert PNG files to SHP");
    progress->SetRange(0, batch.PngCount(), 1);
    progress->SetText("Converting the PNG files of the list to SHP...\n\nHit Cancel or ESC to abort.");
    const int converted = batch.ConvertToShp(services_.messages, progress.get());
    progress->Hide();
    return converted;
}

int ViewToolCommands::FolderCropPng(const std::string& folder, const std::vector<std::string>& rows, int listMode) {
    if (!PngBatch::CheckList(listMode == kUnitsOnlyMode, int(rows.size()), services_.messages)) return 0;
    const PngBatch batch(folder, rows);
    auto progress = services_.progress.OpenWindow("Crop PNG files");
    progress->SetRange(0, batch.PngCount(), 1);
    progress->SetText("Cropping the PNG sheets of the list to 240 x 150...\n\nHit Cancel or ESC to abort.");
    const int changed = batch.CropSheets(services_.messages, progress.get());
    progress->Hide();
    return changed;
}

}  // namespace pixmond
