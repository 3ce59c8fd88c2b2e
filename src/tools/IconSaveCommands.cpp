#include "tools/IconSaveCommands.h"

#include <memory>

#include "base/Format.h"
#include "base/PathParts.h"
#include "image/IconSource.h"
#include "image/NumberedIcons.h"
#include "tools/ProposedNames.h"
#include "ui/AppSettings.h"
#include "ui/Pickers.h"
#include "ui/Services.h"

namespace pixmond {

bool IconSaveCommands::SaveIconOrCollage(IconSource& source, const std::string& name, int icon, bool collage,
                                         const Rect& area) {
    const std::string proposed = ProposeName(collage ? ProposedName::Collage : ProposedName::Icon,
                                             settings_.BmpFolder(), name, icon, settings_.OutputImage());
    const std::string path = pickers_.PickFile(proposed, "File for picture", kPictureFilter, "", false);
    if (path.empty()) return false;
    settings_.SetBmpFolder(PathParts::Of(path).folder);
    if (collage) return source.SaveCollage(path, area, icon, services_.messages);
    return source.SaveIcon(path, services_.messages);
}

bool IconSaveCommands::SaveEachIcon(IconSource& source, const std::string& name) {
    const std::string folder = pickers_.PickFolder(settings_.BmpFolder(), "Select folder for Bitmaps");
    if (folder.empty()) return false;
    return SaveNumbered(source, folder + PathParts::Of(name).title, settings_.OutputImage());
}

bool IconSaveCommands::SaveNumbered(IconSource& source, const std::string& base, int outputImage) {
    const int count = source.Count();
    // The folder picker cannot ask before replacing files, so the command does, once for them all.
    int existing = 0;
    std::string first;
    for (int n = 1; n <= count; ++n) {
        const std::string path = NumberedIconPath(base, n, outputImage);
        if (!services_.files.Exists(path)) continue;
        if (existing++ == 0) first = PathParts::Of(path).name;
    }
    if (existing > 0 &&
        !services_.messages.Question(Format("%d of the %d pictures are in %s already (%s is one).\n"
                                            "Do you want to replace them?",
                                            existing, count, PathParts::Of(base).folder.c_str(), first.c_str())))
        return false;

    const std::unique_ptr<Progress> progress = services_.progress.OpenWindow("Saving icons");
    if (progress) {
        progress->SetRange(0, count);
        progress->SetText(Format("Saving the %d icons of %s", count, source.Name().c_str()));
    }
    const int failures = source.SaveAllIcons(base, outputImage, services_.messages, [&progress] {
        if (!progress) return true;
        progress->StepIt();
        return progress->PeekAndPump();
    });
    if (progress) progress->Hide();
    return failures == 0;
}

}  // namespace pixmond
