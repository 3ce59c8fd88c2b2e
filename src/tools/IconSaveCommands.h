#pragma once
#include <functional>
#include <string>

#include "base/Rect.h"

namespace pixmond {

class AppSettings;
class IconSource;
class Pickers;
struct Services;

// The save commands both browsers share, on the icon file they show: a picture of the current icon or of the
// collage, every icon under a numbered name, a block of icons through the block dialog. The browsers decide which
// source, name and icon; these ask, remember the folder and save. Every picture goes through the safe writer, and
// no file is replaced without a question: the save picker asks its own, the numbered icons ask one for all.
class IconSaveCommands {
public:
    // Runs the block dialog on the source (prompt, 1-based first icon, proposed file); false when cancelled.
    using BlockDialog = std::function<bool(const std::string& prompt, IconSource& source, int position,
                                           const std::string& proposedFile)>;

    static constexpr const char* kPictureFilter =
        "Image files (BMP, PNG, JPG )|*.bmp;*.png;*.jpg|Files (*.BMP)|*.bmp|Files (*.PNG)|*.png|Files (*.JPG)|*.jpg|";

    IconSaveCommands(Pickers& pickers, AppSettings& settings, Services& services)
        : pickers_(pickers), settings_(settings), services_(services) {}

    // "File for picture" proposes name's icon (or its collage) in "BMP folder" with the "Output image" extension;
    // the chosen file's folder becomes "BMP folder"; the source saves its current icon, or the collage of an area
    // of that size from icon first on. False when cancelled or nothing was written.
    bool SaveIconOrCollage(IconSource& source, const std::string& name, int icon, bool collage, const Rect& area);
    // "Select folder for Bitmaps" from "BMP folder" (which stays as it was); every icon of the source is saved as
    // the folder + name's title + "_NNN" + the "Output image" extension. False when cancelled or declined.
    bool SaveEachIcon(IconSource& source, const std::string& name);
    // The icons as base_NNN.EXT with a progress window that can cancel; when some of those files exist the user is
    // asked first. False when the user declined or cancelled, or an icon was not saved.
    bool SaveNumbered(IconSource& source, const std::string& base, int outputImage);

private:
    Pickers& pickers_;
    AppSettings& settings_;
    Services& services_;
};

}  // namespace pixmond
