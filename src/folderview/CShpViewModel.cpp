#include "folderview/CShpViewModel.h"

#include <algorithm>
#include <filesystem>

#include "image/CBmpDib.h"
#include "ui/AppSettings.h"
#include "base/DisplayText.h"
#include "ui/FileSystem.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "ui/Pickers.h"
#include "base/TextCase.h"

namespace pixmond {

CShpViewModel::CShpViewModel(const FileSystem& files, FolderImages& images, AppSettings& settings, Messages& messages)
    : files_system_(files), images_(images), settings_(settings), messages_(messages) {}

void CShpViewModel::Initialise() {
    listMode_ = 0;
    SetFolder(settings_.S16Folder());
}

void CShpViewModel::SetFolder(const std::string& folder) {
    // A folder given relative to the working folder (--folder icons) is kept whole, so that paths, messages
    // and the folder picker all name it the same way.
    std::error_code ec;
    const std::filesystem::path whole = folder.empty() ? std::filesystem::path()
                                                       : std::filesystem::absolute(folder, ec);
    folder_ = WithTrailingSeparator(ec ? folder : whole.lexically_normal().string());
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
    settings_.SetS16Folder(chosen);
    SetFolder(chosen);
    return true;
}

void CShpViewModel::Scan() {
    files_.clear();
    nameFilter_ = ToLower(nameFilter_);
    // Files are listed by name without regard to case; each kind is listed once even when it is asked twice.
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

void CShpViewModel::FileRewritten(int requested) {
    const std::string shown = fileRow_ >= 0 ? files_[size_t(fileRow_)] : std::string();
    Scan();
    const auto again = std::find(files_.begin(), files_.end(), shown);
    if (again != files_.end()) fileRow_ = int(again - files_.begin());
    if (requested > 0) currentIcon_ = requested;
    // The file is read afresh: what was said about it before may no longer hold.
    reported_.clear();
    HandleFileSelection();
}

void CShpViewModel::HandleFileSelection() {
    if (fileRow_ < 0) {
        currentPath_ = folder_;
        ClearFile();
        return;
    }
    currentPath_ = folder_ + files_[size_t(fileRow_)];
    const IconKind kind = IconKindOfName(currentPath_);
    if (!OpenCurrentFile(kind)) {
        // Nothing of the file shown before stays.
        ClearFile();
        ShowUnreadable(kind);
        return;
    }
    kind_ = kind;
    drawing_ = true;
    if (ShowsPicture()) currentIcon_ = 0;
    FillIconList(0);
    ShowMissingIcons();
}

bool CShpViewModel::OpenCurrentFile(IconKind kind) {
    if (kind == IconKind::Other || !images_.Open(currentPath_, kind)) return false;
    return images_.Problem().empty();
}

void CShpViewModel::ShowUnreadable(IconKind kind) {
    const std::string name = DisplayText(files_[size_t(fileRow_)]);
    if (kind == IconKind::Other) {
        note_ = Format("%s is no SHP, S16 or PNG file.", name.c_str());
        return;
    }
    std::string problem = DisplayText(images_.Problem());
    if (problem.empty()) problem = "It cannot be read.";
    note_ = Format("%s cannot be shown.\n%s", name.c_str(), problem.c_str());
    ReportOnce(Format("%s cannot be shown.\n%s", DisplayText(currentPath_).c_str(), problem.c_str()));
}

void CShpViewModel::ShowMissingIcons() {
    note_.clear();
    const std::string name = DisplayText(files_[size_t(fileRow_)]);
    const IconSource* source = images_.Source();
    const int count = ShowsPicture() || !source ? 0 : source->Count();
    const int missing = count - int(iconNumbers_.size());
    if (!ShowsPicture() && count == 0) note_ = Format("%s holds no icons.", name.c_str());
    if (missing <= 0) {
        reported_.clear();
        return;
    }
    // Only the icons the file holds are listed; the rest is said once.
    const std::string damage = Format("%d of its %d icons lie past the end of the file%s", missing, count,
                                      iconNumbers_.empty() ? "; none can be shown." : " and are not listed.");
    if (iconNumbers_.empty()) note_ = Format("%s is damaged:\n%s", name.c_str(), damage.c_str());
    ReportOnce(Format("%s is damaged: %s", DisplayText(currentPath_).c_str(), damage.c_str()));
}

void CShpViewModel::ReportOnce(const std::string& text) {
    // A rescan, a return to this view or a redraw of the same file does not say it again.
    if (reported_ == currentPath_) return;
    reported_ = currentPath_;
    messages_.Error(text);
}

void CShpViewModel::ClearFile() {
    images_.CloseAll();
    kind_ = IconKind::Other;
    drawing_ = false;
    iconRows_.clear();
    iconNumbers_.clear();
    iconRow_ = -1;
    geometry_ = {};
    pixelText_ = "No Pic loaded";
    typeText_.clear();
    note_.clear();
}

void CShpViewModel::FillIconList(int requested) {
    iconRows_.clear();
    iconNumbers_.clear();
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
            if (!size.readable) continue;
            iconRows_.push_back(Format("Icon #%i (%dx%d)", i, size.width, size.height));
            iconNumbers_.push_back(i);
        }
        if (!iconNumbers_.empty()) {
            int icon = requested == 0 ? currentIcon_ : requested;
            if (std::find(iconNumbers_.begin(), iconNumbers_.end(), icon) == iconNumbers_.end())
                icon = iconNumbers_.front();
            currentIcon_ = images_.SelectIcon(icon);
            iconRow_ = int(std::find(iconNumbers_.begin(), iconNumbers_.end(), currentIcon_) - iconNumbers_.begin());
        }
    }
    RefreshLabels();
}

void CShpViewModel::SelectIcon(int row) {
    if (row < 0 || row >= int(iconRows_.size())) return;
    iconRow_ = row;
    if (!ShowsPicture() && row < int(iconNumbers_.size()))
        currentIcon_ = images_.SelectIcon(iconNumbers_[size_t(row)]);
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
        // Stored blue, green, red; the label names them red, green, blue.
        pixelText_ = Format("RGB(%d,%d,%d)", bits[2], bits[1], bits[0]);
    } else {
        pixelText_ = "No Pic loaded";
    }
    typeText_ = Format("Image   %d bits", picture->BitsPerPixel());
}

void CShpViewModel::RefreshLabels() {
    const IconSource* source = kind_ == IconKind::Other ? nullptr : images_.Source();
    if (!source) return;
    if (ShowsPicture() || !iconNumbers_.empty()) {
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

// A picture is drawn whole at the zoom, never as a collage; exactly one of the two kinds of check is on.
bool CShpViewModel::ZoomChecked(int zoom) const { return !CollageChecked() && zoom_ == zoom; }

void CShpViewModel::SetOutputType(int type) {
    settings_.SetOutputImage(type);
}

int CShpViewModel::OutputType() const { return settings_.OutputImage(); }

void CShpViewModel::Draw(Canvas& canvas, const PixelRect& area) {
    const IconSource* source = drawing_ ? images_.Source() : nullptr;
    if (!source) return;
    // A picture is always drawn whole; only the icons of a file make a collage.
    if (source->IsPicture()) images_.Draw(canvas, area, zoom_, false, mirror_);
    else if (!iconNumbers_.empty()) images_.Draw(canvas, area, zoom_, collage_, mirror_);
}

}  // namespace pixmond
