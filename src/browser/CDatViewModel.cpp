#include "browser/CDatViewModel.h"

#include "archive/CDatFile.h"
#include "image/ImageSetColours.h"
#include "ui/AppSettings.h"
#include "image/Canvas.h"
#include "base/Format.h"
#include "base/PathParts.h"

namespace pixmond {

CDatViewModel::CDatViewModel(CDatFile& dat, AppSettings& settings) : dat_(dat), settings_(settings) {}

bool CDatViewModel::ArchiveOpened(const std::string& path) {
    if (!dat_.Load(path, true)) {
        // An archive that could not be read leaves an empty table behind; rows must not point into it.
        if (!dat_.Loaded()) RebuildList(0);
        return false;
    }
    settings_.last = path;
    settings_.lastFolder = PathParts::Of(path).folder;
    ReadDescriptions();
    RebuildList(0);
    return true;
}

void CDatViewModel::ReadDescriptions() {
    list_.ReadDescriptionsBeside(dat_.Path(), dat_.GetServices().files);
}

bool CDatViewModel::LoadDescriptionFile(const std::string& path) {
    if (!list_.ReadDescriptionFile(path)) return false;
    RebuildList(0);
    return true;
}

bool CDatViewModel::HasEntries() const { return dat_.Total() >= 1; }

bool CDatViewModel::HasCurrentEntry() const { return dat_.InRange(currentEntry_); }

bool CDatViewModel::CurrentIsPng() const { return dat_.IsPng(currentEntry_); }

bool CDatViewModel::CurrentIsFake() const { return HasCurrentEntry() && dat_.Item(currentEntry_).fake != 0; }

void CDatViewModel::RebuildList(int selection) {
    list_.Rebuild(dat_.Items());
    ++rowsVersion_;
    listSelection_ = list_.ClampSelection(selection);
    currentEntry_ = listSelection_ >= 0 ? list_.Rows()[size_t(listSelection_)] : -1;
    SelectEntry();
    // Without a row nothing is current; the counts still tell what the filters left.
    if (listSelection_ < 0) iconsLabel_ = list_.IconsLabel(dat_.RealCount(), dat_.FakeCount(), dat_.Total());
}

void CDatViewModel::SelectRow(int row) {
    if (!dat_.Loaded() || row < 0 || row >= Listed()) return;
    listSelection_ = row;
    currentEntry_ = list_.Rows()[size_t(row)];
    SelectEntry();
}

void CDatViewModel::SelectEntry() {
    if (!HasEntries()) return;
    if (!dat_.SelectEntry(currentEntry_)) {
        position_ = 0;
        shown_ = 0;
        ClearGeometry();
        return;
    }
    position_ = 1;
    ShowCurrent();
}

void CDatViewModel::SetFilters(const std::string& name,
                               const std::array<std::string, kDescriptionFieldCount>& descriptive) {
    list_.filters.name = name;
    list_.filters.descriptive = descriptive;
}

void CDatViewModel::ClearFilters() {
    list_.ClearFilters();
    RebuildList(0);
}

void CDatViewModel::SetListMode(int mode) {
    if (mode < 0 || mode >= DatListModel::kListModeCount) return;
    list_.filters.listMode = mode;
    RebuildList(0);
}

void CDatViewModel::ToggleFakesTogether() {
    list_.filters.fakesTogether = !list_.filters.fakesTogether;
    RebuildList(listSelection_);
}

void CDatViewModel::Reposition(int position) {
    // Without a listed entry the archive may still hold the one shown before; it must not come back.
    if (!HasCurrentEntry()) return;
    position_ = dat_.SelectIcon(position);
    ShowCurrent();
}

void CDatViewModel::First() {
    if (HasEntries()) Reposition(1);
}

void CDatViewModel::Previous() {
    if (HasEntries() && position_ > 1) Reposition(position_ - 1);
}

void CDatViewModel::Next() {
    if (HasEntries() && !endReached_ && position_ <= dat_.CurrentIcons()) Reposition(position_ + 1);
}

void CDatViewModel::NextPage() {
    if (HasEntries() && !endReached_) Reposition(position_ + shown_);
}

void CDatViewModel::GoTo(int position) {
    if (dat_.RealCount() >= 1) Reposition(position);
}

void CDatViewModel::SetZoom(int zoom) {
    if (zoom < 1 || zoom > 5) return;
    zoom_ = zoom;
    // A zoom means one icon at a time; a PNG sheet is always shown whole.
    if (!CurrentIsPng() && collage_) {
        collage_ = false;
        endReached_ = false;
    }
}

void CDatViewModel::ToggleCollage() {
    collage_ = !collage_;
    if (!HasEntries()) return;
    if (CurrentIsPng()) {
        collage_ = true;
    } else if (collage_) {
        zoom_ = 1;
        endReached_ = true;
    } else {
        endReached_ = false;
        position_ = dat_.SelectIcon(position_);
        ShowCurrent();
    }
}

void CDatViewModel::ToggleMirror() { mirror_ = !mirror_; }

void CDatViewModel::Draw(Canvas& canvas) {
    const Rect& r = drawArea_;
    if (IconSource* source = dat_.CurrentSource()) source->Bitmap().SetMirror(mirror_);
    if (!HasEntries() || position_ < 1 || !dat_.HasCurrentEntry()) {
        canvas.FillRect(r.left, r.top, r.Width(), r.Height(), kIconBackground);
        return;
    }
    if (CurrentIsPng()) {
        dat_.DrawIcon(canvas, r, zoom_);
        shown_ = 9;
        // The label counts the nine cells of the sheet, not what an earlier entry showed.
        ShowCurrent();
    } else if (collage_) {
        bool done = false;
        shown_ = dat_.DrawCollage(canvas, r, position_, done);
        endReached_ = done;
        ShowCurrent();
    } else {
        shown_ = dat_.CurrentIcons();
        position_ = dat_.SelectIcon(position_);
        dat_.DrawIcon(canvas, r, zoom_);
    }
}

void CDatViewModel::ShowCurrent() {
    if (!HasEntries()) return;
    const int icons = dat_.CurrentIcons();
    iconLabel_ = collage_ ? Format("%d-%d / %d icons", position_, position_ + shown_ - 1, icons)
                          : Format("%d / %d icons", position_, icons);
    iconsLabel_ = list_.IconsLabel(dat_.RealCount(), dat_.FakeCount(), dat_.Total());
    FillGeometry();
    FillDescription();
}

void CDatViewModel::ClearGeometry() {
    width_ = height_ = startX_ = startY_ = endX_ = endY_ = 0;
    bitsText_.clear();
}

void CDatViewModel::FillGeometry() {
    ClearGeometry();
    if (!HasCurrentEntry() || dat_.IsNotLoadable(currentEntry_) || !dat_.HasCurrentEntry()) return;
    const IconSource& source = *dat_.CurrentSource();
    // A picture's icon is a cell of its sheet, or the whole picture.
    const IconGeometry icon = source.Geometry(source.Current());
    width_ = icon.width;
    height_ = icon.height;
    startX_ = icon.startX;
    startY_ = icon.startY;
    endX_ = icon.endX;
    endY_ = icon.endY;
    bitsText_ = Format("%d bits", source.Bitmap().BitsPerPixel());
}

void CDatViewModel::FillDescription() {
    const stIconTxItem* record = HasCurrentEntry() ? list_.RecordOf(dat_.Item(currentEntry_)) : nullptr;
    record_ = record ? *record : stIconTxItem{};
}

std::string CDatViewModel::RowText(int row) const {
    // A window may ask while an operation reloads the archive under its rows.
    if (row < 0 || row >= Listed() || !dat_.InRange(list_.Rows()[size_t(row)])) return {};
    return DatListModel::RowText(dat_.Item(list_.Rows()[size_t(row)]));
}

std::string CDatViewModel::SizeText() const { return Format("%d x %d", width_, height_); }
std::string CDatViewModel::StartText() const { return Format("%d , %d", startX_, startY_); }
std::string CDatViewModel::EndText() const { return Format("%d , %d", endX_, endY_); }

std::string CDatViewModel::FilterToolTip(int field) {
    if (field < 0 || field >= kDescriptionFieldCount) return "Set filter for icon name.";
    return Format("filter by %s Type empty braces {} for empty entries, $ allows concatenate conditions,  ~ for "
                  "no-empty entries and ! for \"not like\"",
                  kDescriptionFieldNames[size_t(field)]);
}

bool CDatViewModel::ZoomChecked(int zoom) const {
    if (zoom == 1) return zoom_ == 1 || (collage_ && CurrentIsPng());
    return zoom_ == zoom;
}

bool CDatViewModel::ArchiveCommandsEnabled() const { return dat_.ArchiveOpen(); }

bool CDatViewModel::BlockEnabled() const { return dat_.ArchiveOpen() && !CurrentIsPng(); }

bool CDatViewModel::SaveIconEnabled() const {
    return dat_.ArchiveOpen() && !CurrentIsPng() && HasCurrentEntry() && dat_.Item(currentEntry_).icons == 9;
}

}  // namespace pixmond
