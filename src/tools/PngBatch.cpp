#include "tools/PngBatch.h"

#include "image/CBmpOrvel.h"
#include "image/IconSource.h"
#include "image/Palette.h"
#include "tools/SheetCrop.h"
#include "tools/ShpBuilders.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/CollectingMessages.h"
#include "ui/Progress.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {

// The picture of a PNG file; null when it cannot be read. The batches pass over such files without a word, so the
// reader's own complaints are kept here.
std::unique_ptr<IconSource> ReadQuietly(const std::string& path) {
    CollectingMessages quiet;
    std::unique_ptr<IconSource> picture = OpenIconSource(IconKind::Png, IconBytes::OfFile(path), quiet);
    return picture->Readable() ? std::move(picture) : nullptr;
}

}  // namespace

bool PngBatch::CheckList(bool listShowsShpOnly, int rows, Messages& messages) {
    if (!listShowsShpOnly && rows > 0) return true;
    messages.Notice("\nSelect some files in list to convert into SHP\n");
    return false;
}

std::vector<std::string> PngBatch::PngPaths() const {
    std::vector<std::string> paths;
    for (const std::string& row : rows_)
        if (IconKindOfName(row) == IconKind::Png) paths.push_back(folder_ + row);
    return paths;
}

bool PngBatch::ConvertPicture(const CBmpDib& picture, const std::string& output) {
    CBmpOrvel working(picture);
    if (working.Bits() && working.BitsPerPixel() != 8) {
        working.SetColourTable(DefaultColourTable());
        ConvertToPalette(working);
    }
    RemapToDefaultPalette(working);
    const int built = IsIconSheet(working.Width(), working.Height()) ? BuildShpFromSheet(output, working)
                                                                     : BuildShpWithClones(output, working);
    return built != 0;
}

namespace {

// False when the user cancelled.
bool Step(Progress* progress) {
    if (!progress) return true;
    progress->StepIt();
    return progress->PeekAndPump(true);
}

}  // namespace

int PngBatch::ConvertToShp(Messages& messages, Progress* progress) const {
    int converted = 0, failed = 0;
    for (const std::string& path : PngPaths()) {
        if (!Step(progress)) break;
        const std::unique_ptr<IconSource> picture = ReadQuietly(path);
        if (!picture) continue;
        const std::string output =
            (shpFolder_.empty() ? PathParts::Of(path).withoutExtension : shpFolder_ + PathParts::Of(path).title) +
            ".shp";
        if (ConvertPicture(picture->Bitmap(), output))
            ++converted;
        else
            ++failed;
    }
    if (converted > 0)
        messages.Notice(Format("Converted %d PNG files to SHP", converted));
    else
        messages.Notice("No PNG files have been converted to SHP");
    // A picture too large for an icon, or an output that cannot be written, is not a conversion.
    if (failed > 0) messages.Error(Format("%d PNG files could not be converted to SHP", failed));
    return converted;
}

int PngBatch::CropSheets(Messages& messages, Progress* progress) const {
    int changed = 0;
    for (const std::string& path : PngPaths()) {
        if (!Step(progress)) break;
        const std::unique_ptr<IconSource> source = ReadQuietly(path);
        if (!source) continue;
        CBmpDib& picture = source->Bitmap();
        const int width = picture.Width(), height = picture.Height();
        if ((width == 240 && height == 150) || !IsIconSheet(width, height)) continue;
        if (ContainsIgnoringCase(PathParts::Of(path).title, "_cropped")) continue;
        if (!CropSheet(picture)) continue;
        if (picture.Save(Format("%s_Cropped.png", PathParts::Of(path).withoutExtension.c_str()), messages)) ++changed;
    }
    if (changed > 0)
        messages.Notice(Format("%d PNG files changed", changed));
    else
        messages.Notice("No PNG files changed");
    return changed;
}

}  // namespace pixmond
