#pragma once
#include <string>
#include <vector>

#include "folderview/FolderImages.h"

namespace pixmond {

class Canvas;
class FileSystem;
class Pickers;
struct AppSettings;

// What the folder browser shows and does, without the widgets: the file list with its list modes and name
// filter, the icon list, the labels, and the collage, zoom and mirror state. The view copies its controls
// from here after every call.
class CShpViewModel {
public:
    CShpViewModel(const FileSystem& files, FolderImages& images, AppSettings& settings);

    // The first update: folder from "S16 folder", output type from "Output image", scan and select.
    void Initialise();
    // The view became active again: the folder is scanned anew; the file shown stays when it is still there.
    void Reactivate();

    // List mode (0 all, 1 SHP, 2 S16, 3 PNG) and name filter, then rescan and select the first file.
    void SetListMode(int mode);
    void SetNameFilter(const std::string& filter) { nameFilter_ = filter; }
    void Rescan();
    // The picker's folder becomes the browsed folder and "S16 folder"; false when the user cancelled.
    bool ChooseFolder(Pickers& pickers);
    void SetFolder(const std::string& folder);

    void SelectFile(int row);
    void SelectIcon(int row);

    void ToggleCollage();
    void ToggleMirror();
    void SetZoom(int zoom);
    void SetOutputType(int type);

    bool CollageChecked() const { return collage_; }
    bool CollageEnabled() const { return !ShowsPicture(); }
    bool MirrorChecked() const { return mirror_; }
    bool ZoomChecked(int zoom) const;

    // Draws the current picture into the area; nothing for a file of no known kind.
    void Draw(Canvas& canvas, const PixelRect& area);

    // The controls' contents. File names are kept as their bytes; FileRowText gives the shown form.
    const std::vector<std::string>& Files() const { return files_; }
    std::string FileRowText(int row) const;
    int FileRow() const { return fileRow_; }
    const std::vector<std::string>& IconRows() const { return iconRows_; }
    int IconRow() const { return iconRow_; }
    int ListMode() const { return listMode_; }
    const std::string& NameFilter() const { return nameFilter_; }
    const std::string& Folder() const { return folder_; }
    const std::string& CurrentPath() const { return currentPath_; }
    IconKind Kind() const { return kind_; }
    int CurrentIcon() const { return currentIcon_; }
    int Zoom() const { return zoom_; }
    int OutputType() const { return outputType_; }
    const IconGeometry& Geometry() const { return geometry_; }
    const std::string& PixelText() const { return pixelText_; }
    const std::string& TypeText() const { return typeText_; }
    std::string SizeText() const;
    std::string StartText() const;
    std::string EndText() const;

private:
    void Scan();
    void HandleFileSelection();
    void FillIconList(int requested);
    void RefreshLabels();
    // A picture file (PNG) is shown whole: no icon list of its own, no collage.
    bool ShowsPicture() const { return kind_ == IconKind::Png; }
    void SetPictureTexts();

    const FileSystem& files_system_;
    FolderImages& images_;
    AppSettings& settings_;

    int listMode_ = 0;
    std::string nameFilter_;
    std::string folder_;
    std::string currentPath_;
    IconKind kind_ = IconKind::Other;  // of the file chosen
    bool drawing_ = false;             // a file is on show; a name of no kind leaves the one before
    int currentIcon_ = 0;
    bool collage_ = true;
    bool mirror_ = false;
    int zoom_ = 1;
    IconGeometry geometry_;
    std::string pixelText_;
    std::string typeText_;
    int outputType_ = 0;

    std::vector<std::string> files_;
    int fileRow_ = -1;
    std::vector<std::string> iconRows_;
    int iconRow_ = -1;
};

}  // namespace pixmond
