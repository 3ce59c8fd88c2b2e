#pragma once
#include <map>
#include <string>
#include <vector>

#include "image/CBmpDib.h"
#include "tools/CatalogIcon.h"
#include "tools/CatalogIconReader.h"
#include "ui/CLog.h"
#include "image/Canvas.h"
#include "image/TextDrawer.h"
#include "ui/Services.h"

namespace pixmond {

class CDatFile;

// The choices of the catalog dialog, as the dialog's controls hold them.
struct CatalogSettings {
    int viewIcon = 3;      // 0..8: "Icon #1".."Icon #9"
    int columnsIndex = 2;  // 8 + index icons per row
    int rowsIndex = 4;     // 20 + 10 * index rows per picture
    int boxX = 90;         // icon box, at least 90 x 50
    int boxY = 60;
    bool includeName = true;
    int fontRow = 4;
    int fileType = 0;  // 0 .BMP, 1 .PNG, 2 .JPG
    bool namesInLog = false;
    std::string outputFolder;  // where pictures and the log go
    std::string catalogName;
};

// The icon catalog without its dialog: collects the view icon of every listed unit file, sorts the icons
// into those that fit the icon box and the big ones, estimates the pictures needed, and draws them into
// numbered 24-bit pictures with a text log.
class CShpCatLogic {
public:
    static constexpr int kMinBoxX = 90;
    static constexpr int kMinBoxY = 50;
    static constexpr int kNameStrip = 16;  // height of the name under an icon
    static constexpr int kBigLimit = 400;  // icons this wide or high are not catalogued
    static constexpr int kNameLength = 12;
    static constexpr Rgb kBackground = MakeRgb(248, 228, 216);
    static constexpr int kColumnChoices = 13;  // 8..20 icons per row
    static constexpr int kRowChoices = 14;     // 20..150 rows per picture

    // Names are drawn under the icons with text.
    CShpCatLogic(Services& services, TextDrawer& text);

    CatalogSettings& Settings() { return settings_; }
    const CatalogSettings& Settings() const { return settings_; }

    // Names the catalog after its source and fixes the log's name. False, with a notice, when the list is empty.
    bool Start(CatalogSource source, const std::string& inputName, int rowCount);
    // The log's name from the output folder and catalog name as they are now.
    void NameLog();
    // "%s ... (%d items)" of the input.
    std::string InputLabel() const { return inputLabel_; }

    // The records worth measuring: the unit files of the listed archive entries (rows are entry-table
    // indexes), or every icon file of a folder list.
    static std::vector<CatalogIcon> ArchiveCandidates(const CDatFile& dat, const std::vector<int>& rows);
    static std::vector<CatalogIcon> FolderCandidates(const std::vector<std::string>& names);

    // Box x and y kept at their minimum; the box is the icon box plus the name strip when names are drawn.
    void DeriveBox();
    // The rows of the "icons per row" and "rows per picture" choices: "%d icons (%d)" with the pixels they take.
    std::vector<std::string> ColumnChoices() const;
    std::vector<std::string> RowChoices() const;

    // Measures every candidate's view icon and sorts it into the fitting or the big icons; a cancel keeps
    // the icons measured so far.
    void Collect(const std::vector<CatalogIcon>& candidates, CatalogIconReader& reader);
    // Computes the picture size and the files needed; returns the estimate's text.
    std::string Estimate();
    // Draws and saves the pictures and writes the log; the number of pictures written.
    int Run(CatalogIconReader& reader);
    // Run, then the sets are emptied and the user is told where the catalog went.
    int Go(CatalogIconReader& reader);
    void Clear();

    const std::map<std::string, CatalogIcon>& Fitting() const { return fitting_; }
    const std::map<std::string, CatalogIcon>& Big() const { return big_; }
    // Names of listed files that could not be read while collecting.
    const std::vector<std::string>& Unreadable() const { return unreadable_; }
    const std::vector<std::string>& Written() const { return written_; }
    int BoxWidth() const { return boxWidth_; }
    int BoxHeight() const { return boxHeight_; }
    int BitmapWidth() const { return bitmapWidth_; }
    int BitmapHeight() const { return bitmapHeight_; }
    int BigBoxWidth() const { return bigBoxWidth_; }
    int BigBoxHeight() const { return bigBoxHeight_; }
    int FilesNeeded() const { return filesNeeded_; }
    int FittingRows() const { return fittingRows_; }
    int BigRows() const { return bigRows_; }
    const std::string& EstimateText() const { return estimateText_; }
    const std::string& LogName() const { return logName_; }
    // Where picture number `number` of the catalog goes.
    std::string PicturePath(int number) const;

private:
    struct Cursor {
        int x = 0, y = 0;
        int file = 1;  // number of the picture being filled
        int count = 0; // icons in it
    };
    void PlaceInSet(const CatalogIcon& icon);
    void WriteLogHeader();
    bool CreatePicture();
    void FillBackground();
    bool SavePicture(int number);
    // Draws one set in name order with the given cell; stops early when cancelled.
    bool DrawSet(const std::map<std::string, CatalogIcon>& set, CatalogIconReader& reader, Cursor& at, int cellWidth,
                 int cellHeight, bool logAlways, const char* skipped, Progress& progress);
    bool DrawIcon(CatalogIconReader& reader, const CatalogIcon& icon, int x, int y, bool lineOpen);
    void DrawName(const std::string& name, int x, int bottom, int width);
    void NextPicture(Cursor& at);

    Services& services_;
    TextDrawer& text_;
    CatalogSettings settings_;
    CatalogSource source_ = CatalogSource::Folder;
    std::string inputLabel_;
    std::map<std::string, CatalogIcon> fitting_;
    std::map<std::string, CatalogIcon> big_;
    std::vector<std::string> unreadable_;
    std::vector<std::string> written_;
    int boxWidth_ = 90, boxHeight_ = 76;
    int bitmapWidth_ = 0, bitmapHeight_ = 0;
    int bigBoxWidth_ = 0, bigBoxHeight_ = 0;
    int bigIconHeight_ = 0;  // the highest big icon; the big box adds the name strip to it
    std::string widestBigName_, highestBigName_;
    int highestBigHeight_ = 0;
    int filesNeeded_ = 0, fittingRows_ = 0, bigRows_ = 0;
    std::string estimateText_;
    CBmpDib picture_;
    std::string logName_;
    CLog log_;
};

}  // namespace pixmond
