#include "folderview/CShpViewModel.h"

#include <algorithm>

#include "image/CBmpDib.h"
#include "ui/AppSettings.h"
#include "base/DisplayText.h"
#include "ui/FileSystem.h"
#include "base/Format.h"
#include "ui/Pickers.h"
#include "base/TextCase.h"

namespace pixmond {

CShpViewModel::CShpViewModel(const FileSystem& files, FolderImages& images, AppSettings& settings)
    : files_system_(files), images_(images), settings_(settings) {}

void CShpViewModel::Initialise() {
    outputType_ = settings_.outputImage;
    listMode_ = 0;
    SetFolder(settings_.s16Folder);
}

void CShpViewModel::SetFolder(const std::string& folder) {
    folder_ = WithTrailingSeparator(folder);
    Scan();
    HandleFileSelection();
}

void CShpViewModel::Reactivate() {
    const std::string shown = fileRow_ >= 0 ? files_[size_t(fileRow_)] : std::string();
    Scan();
    const auto again = std::find(files_.begin(), files_.end(), shown);
    if (again != files_.end()) fileRow_ = int(again - files_.begin());
    HandleFileSelection();
}

void CShpViewModel::SetListMode(int mode) {
    listMode_ = std::clamp(mode, 0, 3);
    Rescan();
}

void CShpViewModel::Rescan() {
    Scan();
    HandleFileSelection();
}

bool CShpViewModel::ChooseFolder(Pickers& pickers) {
    const std::string chosen = pickers.PickFolder(folder_, "Select new folder");
    if (chosen.empty()) return false;
    settings_.s16Folder = chosen;
    SetFolder(chosen);
    return true;
}

void CShpViewModel::Scan() {
    files_.clear();
    nameFilter_ = ToLower(nameFilter_);
    // The list box sorts by name without regard to case; each kind is listed once even when it is asked twice.
    static const struct { int mode; const char* pattern; } kPatterns[] = {{1, "*.shp"}, {2, "*.s16"}, {3, "*.png"}};
    if (!folder_.empty()) {
        for (const auto& p : kPatterns) {
            if (listMode_ != 0 && listMode_ != p.mode) continue;
            for (const FileEntry& entry : files_system_.List(folder_, p.pattern)) {
                if (entry.name == "." || entry.name == "..") continue;
                if (!nameFilter_.empty() && ToLower(entry.name).find(nameFilter_) == std::string::npos) continue;
                files_.push_back(entry.name);
            }
        }
    }
    std::stable_sort(files_.begin(), files_.end(),
                     [](const std::string& a, const std::string& b) { return CompareIgnoringCase(a, b) < 0; });
    fileRow_ = files_.empty() ? -1 : 0;
}

std::string CShpViewModel::FileRowText(int row) const {
    if (row < 0 || row >= int(files_.size())) return {};
    return DisplayText(files_[size_t(row)]);
}

void CShpViewModel::SelectFile(int row) {
    if (row < 0 || row >= int(files_.size())) return;
    fileRow_ = row;
    HandleFileSelection();
}

void CShpViewModel::HandleFileSelection() {
    if (fileRow_ < 0) {
        images_.CloseAll();
        iconRows_.clear();
        iconRow_ = -1;
        currentPath_ = folder_;
        kind_ = IconKind::Other;
        drawing_ = false;
        RefreshLabels();
        return;
    }
    currentPath_ = folder_ + files_[size_t(fileRow_)];
    const IconKind kind = IconKindOfName(currentPath_);
    // An unknown name leaves the last picture and its labels on show; a picture that cannot be read leaves
    // everything as it was.
    if (kind == IconKind::Other || !images_.Open(currentPath_, kind)) {
        if (kind == IconKind::Other) kind_ = kind;
        return;
    }
    kind_ = kind;
    if (ShowsPicture()) currentIcon_ = 0;
    FillIconList(0);
    drawing_ = true;
}

void CShpViewModel::FillIconList(int requested) {
    iconRows_.clear();
    iconRow_ = -1;
    if (files_.empty()) kind_ = IconKind::Other;
    const IconSource* source = kind_ == IconKind::Other ? nullptr : images_.Source();
    if (!source) {
        geometry_ = {};
    } else if (ShowsPicture()) {
        // The row names the size of a ninth of the picture, sheet or not.
        if (const CBmpDib* picture = images_.Picture()) {
            iconRows_.push_back(Format("Icons (%dx%d)", picture->Width() / 3, picture->Height() / 3));
            iconRow_ = 0;
        }
    } else {
        const int count = source->Count();
        for (int i = 1; i <= count; ++i) {
            const IconGeometry size = source->Geometry(i);
            iconRows_.push_back(Format("Icon #%i (%dx%d)", i, size.width, size.height));
        }
        if (count > 0) {
            int icon = requested == 0 ? currentIcon_ : requested;
            if (icon < 1 || icon > count) icon = 1;
            currentIcon_ = images_.SelectIcon(icon);
            iconRow_ = currentIcon_ - 1;
        }
    }
    RefreshLabels();
}

void CShpViewModel::SelectIcon(int row) {
    if (row < 0 || row >= int(iconRows_.size())) return;
    iconRow_ = row;
    if (kind_ != IconKind::Other && !ShowsPicture()) {
        currentIcon_ = images_.SelectIcon(row + 1);
        iconRow_ = currentIcon_ > 0 ? currentIcon_ - 1 : row;
    }
    RefreshLabels();
}

void CShpViewModel::SetPictureTexts() {
    const CBmpDib* picture = images_.Picture();
    if (!picture || !picture->Bits()) {
        pixelText_ = "No Pic loaded";
        typeText_.clear();
        return;
    }
    const std::uint8_t* bits = picture->Bits();
    // An 8-bit icon names the palette index of its first pixel, other pictures the colour.
    if (picture->BitsPerPixel() == 8) {
        const auto& table = picture->Colours();
        const int index = bits[0];
        pixelText_ = Format("Pal=%d (%d,%d,%d)", index, table[size_t(index) * 4 + 2], table[size_t(index) * 4 + 1],
                            table[size_t(index) * 4]);
    } else if (picture->ImageSize() >= 3) {
        pixelText_ = Format("RGB(%d,%d,%d)", bits[0], bits[1], bits[2]);
    } else {
        pixelText_ = "No Pic loaded";
    }
    typeText_ = Format("Image   %d bits", picture->BitsPerPixel());
}

void CShpViewModel::RefreshLabels() {
    const IconSource* source = kind_ == IconKind::Other ? nullptr : images_.Source();
    if (!source) return;
    if (ShowsPicture() || source->Count() > 0) {
        geometry_ = source->Geometry(source->Current());
        SetPictureTexts();
    } else {
        // A file that could not be read shows nothing rather than the last file's numbers.
        geometry_ = {};
        pixelText_ = "No Pic loaded";
        typeText_.clear();
    }
}

std::string CShpViewModel::SizeText() const { return Format("%d x %d", geometry_.width, geometry_.height); }
std::string CShpViewModel::StartText() const { return Format("%d , %d", geometry_.startX, geometry_.startY); }
std::string CShpViewModel::EndText() const { return Format("%d , %d", geometry_.endX, geometry_.endY); }

void CShpViewModel::ToggleCollage() {
    if (ShowsPicture()) {
        collage_ = true;
        return;
    }
    collage_ = !collage_;
    if (collage_) zoom_ = 1;
}

void CShpViewModel::ToggleMirror() { mirror_ = !mirror_; }

void CShpViewModel::SetZoom(int zoom) {
    zoom_ = std::clamp(zoom, 1, 5);
    if (!ShowsPicture()) collage_ = false;
}

bool CShpViewModel::ZoomChecked(int zoom) const {
    if (zoom == 1) return zoom_ == 1 || (collage_ && !ShowsPicture());
    return zoom_ == zoom;
}

void CShpViewModel::SetOutputType(int type) {
    outputType_ = type;
    settings_.outputImage = type;
}

void CShpViewModel::Draw(Canvas& canvas, const PixelRect& area) {
    const IconSource* source = drawing_ ? images_.Source() : nullptr;
    if (!source) return;
    // A picture is always drawn whole; only the icons of a file make a collage.
    if (source->IsPicture()) images_.Draw(canvas, area, zoom_, false, mirror_);
    else if (source->Count() > 0) images_.Draw(canvas, area, zoom_, collage_, mirror_);
}

}  // namespace pixmond
