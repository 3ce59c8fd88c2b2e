#include "tools/CShpCatLogic.h"

#include <algorithm>
#include <cstring>

#include "archive/CDatFile.h"
#include "ui/AppSettings.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond {

namespace {

constexpr int kUnitIcons = 9;
constexpr size_t kMaxArchiveName = 10;
// A box beyond this holds every icon the catalog takes anyway; the limit keeps the picture arithmetic in range.
constexpr int kMaxBox = 1000;
// Larger pictures are refused like a failed allocation rather than tried.
constexpr std::int64_t kMaxPictureBytes = std::int64_t(1) << 30;
constexpr Rgb kNameColour = MakeRgb(0, 0, 0);

// Archive entries that hold nine icons without being unit icons.
bool IsExcludedArchiveName(const std::string& name, IconKind kind) {
    if (name.size() > kMaxArchiveName) return true;
    if (name.find("BR_") != std::string::npos) return true;
    if (EqualIgnoringCase(name, "INFTRYR1.S16")) return true;
    if (kind != IconKind::Shp) return false;
    for (const char* other : {"G16.SHP", "LANCREAT.SHP", "MULTICHAT.SHP", "TEXTBOX.SHP"}) {
        if (EqualIgnoringCase(name, other)) return true;
    }
    return false;
}

std::string WithSeparator(const std::string& folder) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder;
    return folder + "/";
}

int CeilDiv(std::int64_t a, std::int64_t b) { return int(a / b + (a % b ? 1 : 0)); }

}  // namespace

CShpCatLogic::CShpCatLogic(Services& services, TextDrawer& text) : services_(services), text_(text), log_(services) {}

bool CShpCatLogic::Start(CatalogSource source, const std::string& inputName, int rowCount) {
    source_ = source;
    if (rowCount <= 0) {
        services_.messages.Notice("No icons on active view ...");
        return false;
    }
    inputLabel_ = Format("%s ... (%d items)", inputName.c_str(), rowCount);
    settings_.catalogName =
        source == CatalogSource::Archive ? PathParts::Of(inputName).title + "_Catalog" : std::string("FolderCatalog");
    NameLog();
    DeriveBox();
    return true;
}

void CShpCatLogic::NameLog() {
    logName_ = Format("%s%s.txt", WithSeparator(settings_.outputFolder).c_str(),
                      PathParts::Of(settings_.catalogName).title.c_str());
}

std::vector<CatalogIcon> CShpCatLogic::ArchiveCandidates(const CDatFile& dat, const std::vector<int>& rows) {
    std::vector<CatalogIcon> out;
    for (const int row : rows) {
        // A fake whose real icon is missing points at no data at all.
        if (!dat.InRange(row) || dat.IsNotLoadable(row)) continue;
        const TDatItem& item = dat.Item(row);
        const std::string name(item.Name());
        const IconKind kind = IconKindOfName(name);
        if (item.icons != kUnitIcons || kind == IconKind::Other || IsExcludedArchiveName(name, kind)) continue;
        CatalogIcon icon;
        icon.name = name.substr(0, kNameLength);
        icon.file = name;
        icon.entry = row;
        icon.kind = kind;
        out.push_back(std::move(icon));
    }
    return out;
}

std::vector<CatalogIcon> CShpCatLogic::FolderCandidates(const std::vector<std::string>& names) {
    std::vector<CatalogIcon> out;
    for (const std::string& name : names) {
        const IconKind kind = IconKindOfName(name);
        if (kind == IconKind::Other) continue;
        CatalogIcon icon;
        icon.name = name.substr(0, kNameLength);
        icon.file = name;
        icon.kind = kind;
        out.push_back(std::move(icon));
    }
    return out;
}

void CShpCatLogic::DeriveBox() {
    settings_.boxX = std::clamp(settings_.boxX, kMinBoxX, kMaxBox);
    settings_.boxY = std::clamp(settings_.boxY, kMinBoxY, kMaxBox);
    settings_.columnsIndex = std::clamp(settings_.columnsIndex, 0, kColumnChoices - 1);
    settings_.rowsIndex = std::clamp(settings_.rowsIndex, 0, kRowChoices - 1);
    settings_.viewIcon = std::clamp(settings_.viewIcon, 0, kUnitIcons - 1);
    boxWidth_ = settings_.boxX;
    boxHeight_ = settings_.boxY + (settings_.includeName ? kNameStrip : 0);
    // The name strip of a big icon is as high as that of the others, so a name never covers the tallest icon.
    bigBoxHeight_ = bigIconHeight_ > 0 ? bigIconHeight_ + (settings_.includeName ? kNameStrip : 0) : 0;
}

std::vector<std::string> CShpCatLogic::ColumnChoices() const {
    std::vector<std::string> rows;
    for (int n = 8; n <= 20; ++n) rows.push_back(Format("%d icons (%d)", n, n * boxWidth_));
    return rows;
}

std::vector<std::string> CShpCatLogic::RowChoices() const {
    std::vector<std::string> rows;
    for (int n = 20; n <= 150; n += 10) rows.push_back(Format("%d icons (%d)", n, n * boxHeight_));
    return rows;
}

void CShpCatLogic::Clear() {
    fitting_.clear();
    big_.clear();
    unreadable_.clear();
    bigBoxWidth_ = bigBoxHeight_ = bigIconHeight_ = 0;
    widestBigName_.clear();
    highestBigName_.clear();
    highestBigHeight_ = 0;
}

void CShpCatLogic::Collect(const std::vector<CatalogIcon>& candidates, CatalogIconReader& reader) {
    Clear();
    DeriveBox();
    if (candidates.empty()) return;
    auto progress = services_.progress.OpenWindow("Icon catalog");
    progress->SetRange(0, int(candidates.size()));
    progress->SetText("Measuring icons ...");
    for (const CatalogIcon& candidate : candidates) {
        CatalogIcon icon = candidate;
        if (reader.Measure(candidate, settings_.viewIcon + 1, icon.width, icon.height) && icon.width > 0 &&
            icon.height > 0) {
            PlaceInSet(icon);
        } else {
            unreadable_.push_back(candidate.file);
        }
        progress->StepIt();
        // Cancelled: the catalog is made of the icons measured so far.
        if (!progress->PeekAndPump()) break;
    }
    DeriveBox();
}

void CShpCatLogic::PlaceInSet(const CatalogIcon& icon) {
    if (icon.width <= settings_.boxX && icon.height <= settings_.boxY) {
        fitting_.emplace(icon.file, icon);
        return;
    }
    if (icon.width >= kBigLimit || icon.height >= kBigLimit) return;
    if (!big_.emplace(icon.file, icon).second) return;
    if (icon.width > bigBoxWidth_) {
        bigBoxWidth_ = icon.width;
        widestBigName_ = icon.name;
    }
    if (icon.height > bigIconHeight_) {
        bigIconHeight_ = icon.height;
        highestBigName_ = icon.name;
        highestBigHeight_ = icon.height;
    }
}

std::string CShpCatLogic::Estimate() {
    const int fitting = int(fitting_.size());
    const int big = int(big_.size());
    fittingRows_ = bigRows_ = filesNeeded_ = 0;
    if (fitting == 0 && big == 0) {
        estimateText_ = "No icons found";
        return estimateText_;
    }
    bitmapHeight_ = (20 + 10 * settings_.rowsIndex) * boxHeight_;
    bitmapWidth_ = (8 + settings_.columnsIndex) * boxWidth_;
    const int columns = bitmapWidth_ / boxWidth_;
    fittingRows_ = CeilDiv(fitting, columns);
    // A single row is drawn on a picture cut to it. Not when big icons follow: they need the whole picture
    // (a big box is always narrower and lower than the full picture, never than a cut one).
    if (fittingRows_ < 2 && fitting > 0 && big == 0) {
        int widest = 0, highest = 0;
        for (const auto& [key, icon] : fitting_) {
            widest = std::max(widest, icon.width);
            highest = std::max(highest, icon.height);
        }
        boxWidth_ = widest;
        boxHeight_ = highest + (settings_.includeName ? kNameStrip : 0);
        bitmapHeight_ = boxHeight_;
        bitmapWidth_ = fitting * boxWidth_;
    }
    if (bigBoxWidth_ > 0) {
        const int perRow = bitmapWidth_ / bigBoxWidth_;
        bigRows_ = perRow > 0 ? CeilDiv(big, perRow) : 1;
    }
    const std::int64_t total = std::int64_t(fittingRows_) * boxHeight_ + std::int64_t(bigRows_) * bigBoxHeight_;
    filesNeeded_ = bitmapHeight_ > 0 ? CeilDiv(total, bitmapHeight_) : 0;
    estimateText_ = Format("Will need:  %d files", filesNeeded_);
    return estimateText_;
}

std::string CShpCatLogic::PicturePath(int number) const {
    AppSettings type;
    type.outputImage = settings_.fileType;
    return Format("%s%s%02d%s", WithSeparator(settings_.outputFolder).c_str(), settings_.catalogName.c_str(), number,
                  type.OutputExtension());
}

void CShpCatLogic::WriteLogHeader() {
    const int columns = 8 + settings_.columnsIndex;
    const int rows = 20 + 10 * settings_.rowsIndex;
    log_.Printf("Selected %d x %d (%d) icons / file (fitting icon box size)", columns, rows, columns * rows);
    if (settings_.includeName) {
        log_.Printf("Icon box size adjusted to: %d x %d (icon name selected) ", boxWidth_, boxHeight_);
    } else {
        log_.Printf("Icon box size: %d x %d", settings_.boxX, settings_.boxY);
    }
    log_.Printf("%d icons fitting icon box size", int(fitting_.size()));
    if (!big_.empty()) {
        log_.Printf("%d big icons will use a bigger box size: %d x %d ", int(big_.size()), bigBoxWidth_, bigBoxHeight_);
        log_.Printf("\tMax width  because icon: %s  width:%d", widestBigName_.c_str(), bigBoxWidth_);
        log_.Printf("\tMax height because icon: %s  height: %d", highestBigName_.c_str(), highestBigHeight_);
    }
    log_.Printf("\nBitmap set to 24 bits, %d x %d pixels ... %d files needed\n\n", bitmapWidth_, bitmapHeight_,
                filesNeeded_);
}

bool CShpCatLogic::CreatePicture() {
    const std::int64_t bytes = std::int64_t(CBmp::StrideFor(bitmapWidth_, 24)) * bitmapHeight_;
    if (bitmapWidth_ <= 0 || bitmapHeight_ <= 0 || bytes > kMaxPictureBytes) return false;
    picture_.Create(bitmapWidth_, bitmapHeight_, 24);
    if (!picture_.Allocate()) return false;
    FillBackground();
    return true;
}

void CShpCatLogic::FillBackground() {
    std::uint8_t* bits = picture_.Bits();
    const int stride = picture_.Stride();
    for (int x = 0; x < bitmapWidth_; ++x) {
        bits[x * 3] = std::uint8_t(BlueOf(kBackground));
        bits[x * 3 + 1] = std::uint8_t(GreenOf(kBackground));
        bits[x * 3 + 2] = std::uint8_t(RedOf(kBackground));
    }
    std::memset(bits + bitmapWidth_ * 3, 0, size_t(stride - bitmapWidth_ * 3));
    for (int row = 1; row < bitmapHeight_; ++row) std::memcpy(bits + std::int64_t(row) * stride, bits, size_t(stride));
}

bool CShpCatLogic::SavePicture(int number) {
    const std::string path = PicturePath(number);
    if (!picture_.Save(path, services_.messages)) return false;
    written_.push_back(path);
    return true;
}

void CShpCatLogic::NextPicture(Cursor& at) {
    SavePicture(at.file);
    ++at.file;
    FillBackground();
    at.x = at.y = at.count = 0;
}

bool CShpCatLogic::DrawIcon(CatalogIconReader& reader, const CatalogIcon& icon, int x, int y, bool lineOpen) {
    int width = 0, height = 0;
    if (!reader.Load(icon, settings_.viewIcon + 1, width, height)) return false;
    // Inside a "Cat#" line the complaint stays on that line; alone it makes a line of its own.
    const char* end = lineOpen ? "" : "\n";
    if (std::int64_t(x) + width > bitmapWidth_) {
        log_.Append("Icon out of boundaries Ico.cx=%d x=%d, Bmp.cx=%d%s", width, x, bitmapWidth_, end);
        return false;
    }
    if (std::int64_t(y) + height > bitmapHeight_) {
        log_.Append("Icon out of boundaries Ico.cy=%d y=%d, Bmp.cy=%d%s", height, y, bitmapHeight_, end);
        return false;
    }
    return reader.CopyTo(picture_, x, y);
}

void CShpCatLogic::DrawName(const std::string& name, int x, int bottom, int width) {
    text_.DrawCentred(picture_, x, bottom - kNameStrip, width, kNameStrip, ToUpper(name), settings_.fontRow,
                               kNameColour);
}

bool CShpCatLogic::DrawSet(const std::map<std::string, CatalogIcon>& set, CatalogIconReader& reader, Cursor& at,
                           int cellWidth, int cellHeight, bool logAlways, const char* skipped, Progress& progress) {
    for (const auto& [key, icon] : set) {
        const bool logLine = logAlways || settings_.namesInLog;
        if (logLine) {
            log_.Append("Cat#%d, Icon#%d - %s %d x %d ", at.file, at.count + 1, icon.name.c_str(), icon.width,
                        icon.height);
        }
        const bool drawn = DrawIcon(reader, icon, at.x, at.y, logLine);
        if (logLine) log_.Append("%s", drawn ? " .. added\n" : skipped);
        ++at.count;
        if (settings_.includeName) DrawName(icon.name, at.x, at.y + cellHeight, cellWidth);
        at.x += cellWidth;
        if (at.x + cellWidth > bitmapWidth_) {
            at.x = 0;
            at.y += cellHeight;
        }
        if (at.y > bitmapHeight_ - cellHeight) NextPicture(at);
        progress.StepIt();
        if (!progress.PeekAndPump()) return false;
    }
    return true;
}

int CShpCatLogic::Run(CatalogIconReader& reader) {
    written_.clear();
    DeriveBox();
    Estimate();
    if (filesNeeded_ < 1) return 0;
    bitmapHeight_ += 4;
    if (logName_.empty()) NameLog();
    log_.SetName(logName_);
    WriteLogHeader();
    if (!settings_.outputFolder.empty()) services_.files.CreateFolder(settings_.outputFolder);
    if (!CreatePicture()) {
        log_.Append(" Not enough  memory to create bitmap\n");
        log_.Close(true);
        return 0;
    }
    auto progress = services_.progress.OpenWindow("Icon catalog");
    progress->SetRange(0, int(fitting_.size() + big_.size()));
    progress->SetText(Format("Drawing %d icons ...", int(fitting_.size() + big_.size())));
    Cursor at;
    bool going = DrawSet(fitting_, reader, at, boxWidth_, boxHeight_, false, " .. Skipped!\n", *progress);
    if (going && !big_.empty()) {
        at.y = at.count > 0 ? at.y + boxHeight_ : 0;
        at.x = 0;
        // The big icons would start below the end of the picture: they begin the next one instead.
        if (at.count > 0 && at.y > bitmapHeight_ - bigBoxHeight_) NextPicture(at);
        going = DrawSet(big_, reader, at, bigBoxWidth_, bigBoxHeight_, true, " .. skipped\n", *progress);
    }
    if (!going) log_.Append("\nCancelled by the user\n");
    if (at.count > 0) SavePicture(at.file);
    picture_.Create(0, 0, 24);
    picture_.Allocate();
    log_.Close(true);
    return int(written_.size());
}

int CShpCatLogic::Go(CatalogIconReader& reader) {
    const int written = Run(reader);
    fitting_.clear();
    big_.clear();
    services_.messages.Notice(Format("\tDone!!!  \nCatalog output to: %s   \n", settings_.outputFolder.c_str()));
    return written;
}

}  // namespace pixmond
