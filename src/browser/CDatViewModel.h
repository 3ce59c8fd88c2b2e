#pragma once
#include <array>
#include <string>
#include <vector>

#include "browser/DatListModel.h"
#include "base/Rect.h"

namespace pixmond {

class Canvas;
class CDatFile;
class AppSettings;

// What the archive browser shows and does, without the widgets: the listed rows, the current entry and icon,
// the collage, zoom and mirror state, the labels and the description of the current entry. The window pulls
// its controls into here before a command and copies everything back afterwards.
class CDatViewModel {
public:
    CDatViewModel(CDatFile& dat, AppSettings& settings);

    CDatFile& Dat() { return dat_; }
    const CDatFile& Dat() const { return dat_; }
    DatListModel& List() { return list_; }
    const DatListModel& List() const { return list_; }

    // Loads the archive with its fakes; on success it becomes "Last", its descriptions are read, the filters
    // cleared and the first row selected. False (nothing else changed) when it does not load.
    bool ArchiveOpened(const std::string& path);
    // The description file beside the open archive; no records when there is none.
    void ReadDescriptions();
    // A description file the user picked for the open archive; the list is rebuilt at its first row.
    bool LoadDescriptionFile(const std::string& path);

    // Decides the rows afresh and selects the wanted row (kept inside the rows) and its entry.
    void RebuildList(int selection);
    // The user selected a row.
    void SelectRow(int row);
    // Makes the current entry current in the archive. When it has no icon to show: zero geometry, no icons label,
    // a grey picture and a note saying why.
    void SelectEntry();

    // Filters (as typed) and the commands that change what is listed.
    void SetFilters(const std::string& name, const std::array<std::string, kDescriptionFieldCount>& descriptive);
    void ApplyFilters() { RebuildList(0); }
    void ClearFilters();
    void SetListMode(int mode);
    void ToggleFakesTogether();

    // Moving inside the entry. Each does nothing when its condition does not hold.
    void First();
    void Previous();
    void Next();
    void NextPage();
    void GoTo(int position);

    void SetZoom(int zoom);
    void ToggleCollage();
    void ToggleMirror();

    // The area the picture is drawn in, already inside the picture frame's border.
    void SetDrawArea(const Rect& area) { drawArea_ = area; }
    const Rect& DrawArea() const { return drawArea_; }
    // Draws the current entry into the draw area: one icon, a collage from the position on, or a PNG sheet.
    void Draw(Canvas& canvas);

    // State.
    int ListMode() const { return list_.filters.listMode; }
    bool FakesTogether() const { return list_.filters.fakesTogether; }
    const std::vector<int>& Rows() const { return list_.Rows(); }
    int Listed() const { return int(list_.Rows().size()); }
    // Changes whenever the rows were decided afresh, even when they came out the same.
    int RowsVersion() const { return rowsVersion_; }
    int ListSelection() const { return listSelection_; }
    int CurrentEntry() const { return currentEntry_; }
    int Position() const { return position_; }
    int Shown() const { return shown_; }
    bool EndReached() const { return endReached_; }
    int Zoom() const { return zoom_; }
    bool Mirror() const { return mirror_; }
    bool Collage() const { return collage_; }
    bool CsvMode() const { return list_.descriptions.IsCsv(); }
    // The entry the commands act on, when it is a listed entry of the table.
    bool HasCurrentEntry() const;
    bool CurrentIsPng() const;
    bool CurrentIsFake() const;

    // Texts of the labels.
    std::string RowText(int row) const;
    const std::string& IconsLabel() const { return iconsLabel_; }
    const std::string& IconLabel() const { return iconLabel_; }
    std::string SizeText() const;
    std::string StartText() const;
    std::string EndText() const;
    const std::string& BitsText() const { return bitsText_; }
    const stIconTxItem& Record() const { return record_; }
    // Why the picture is empty (an entry without icons, a fake whose icon is missing, no row); empty otherwise.
    const std::string& Note() const { return note_; }
    static std::string FilterToolTip(int field);

    // Command states.
    bool ListModeEnabled(int mode) const { return ListMode() != mode; }
    bool ListModeChecked(int mode) const { return ListMode() == mode; }
    bool ZoomChecked(int zoom) const;
    bool CollageChecked() const;
    bool CollageEnabled() const { return !CurrentIsPng(); }
    bool ArchiveCommandsEnabled() const;
    bool BlockEnabled() const;
    bool SaveIconEnabled() const;

private:
    // Fills the labels, geometry and description of the current entry.
    void ShowCurrent();
    void ClearGeometry();
    void FillGeometry();
    void FillDescription();
    void Reposition(int position);
    bool HasEntries() const;
    std::string WhyNoIcons() const;

    CDatFile& dat_;
    AppSettings& settings_;
    DatListModel list_;
    Rect drawArea_;

    int rowsVersion_ = 0;
    int listSelection_ = -1;
    int currentEntry_ = -1;
    int position_ = 1;
    int shown_ = 0;
    bool endReached_ = false;
    int zoom_ = 1;
    bool mirror_ = false;
    bool collage_ = true;

    std::string iconsLabel_;
    std::string iconLabel_;
    int width_ = 0, height_ = 0, startX_ = 0, startY_ = 0, endX_ = 0, endY_ = 0;
    std::string bitsText_;
    stIconTxItem record_;
    std::string note_;
    std::string pickedFor_;  // the archive the user picked the description file for
};

}  // namespace pixmond
