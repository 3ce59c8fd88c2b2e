#pragma once
#include <string>
#include <vector>

#include "folderview/FolderImages.h"

namespace pixmond {

class Canvas;
class FileSystem;
class Messages;
class Pickers;
class AppSettings;

// What the folder browser shows and does, without the widgets: the file list with its list modes and name
// filter, the icon list, the labels, and the collage, zoom and mirror state. The view copies its controls
// from here after every call. A file that cannot be read, or holds less than it promises, is said once in an
// error that names it, and in the note on the empty picture.
class CShpViewModel {
public:
    CShpViewModel(const FileSystem& files, FolderImages& images, AppSettings& settings, Messages& messages);

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
    // The file on show was rewritten: the folder is read again (list mode and filter kept), the same file shown and
    // its icon list refilled with icon `requested` selected (0 keeps the current icon; a number the file does not
    // hold gives its first icon).
    void FileRewritten(int requested);

    void ToggleCollage();
    void ToggleMirror();
    void SetZoom(int zoom);
    void SetOutputType(int type);

    // A picture is never a collage: exactly one of collage and a zoom is checked.
    bool CollageChecked() const { return collage_ && !ShowsPicture(); }
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
    // "Output image" as the store holds it now.
    int OutputType() const;
    const IconGeometry& Geometry() const { return geometry_; }
    const std::string& PixelText() const { return pixelText_; }
    const std::string& TypeText() const { return typeText_; }
    // Why nothing, or less than the file promises, is shown; empty for a sound file.
    const std::string& Note() const { return note_; }
    std::string SizeText() const;
    std::string StartText() const;
    std::string EndText() const;

private:
    void Scan();
    void HandleFileSelection();
    // Opens the selected file as a source of its kind; false when it cannot be read at all.
    bool OpenCurrentFile(IconKind kind);
    // No file on show: no icons, zero geometry, empty texts.
    void ClearFile();
    // The notes (and the one error) for a file that cannot be read, or holds fewer icons than it promises.
    void ShowUnreadable(IconKind kind);
    void ShowMissingIcons();
    void ReportOnce(const std::string& text);
    void FillIconList(int requested);
    void RefreshLabels();
    // A picture file (PNG) is shown whole: no icon list of its own, no collage.
    bool ShowsPicture() const { return kind_ == IconKind::Png; }
    void SetPictureTexts();

    const FileSystem& files_system_;
    FolderImages& images_;
    AppSettings& settings_;
    Messages& messages_;

    int listMode_ = 0;
    std::string nameFilter_;
    std::string folder_;
    std::string currentPath_;
    IconKind kind_ = IconKind::Other;  // of the file chosen
    bool drawing_ = false;             // a file is on show
    int currentIcon_ = 0;
    bool collage_ = true;
    bool mirror_ = false;
    int zoom_ = 1;
    IconGeometry geometry_;
    std::string pixelText_;
    std::string typeText_;

    std::vector<std::string> files_;
    int fileRow_ = -1;
    std::vector<std::string> iconRows_;
    std::vector<int> iconNumbers_;  // the icon each row shows: only icons the file holds are listed
    int iconRow_ = -1;
    std::string note_;
    std::string reported_;  // the file last named in an error, so that it is named once
};

}  // namespace pixmond
