#include "tools/CatalogFileReader.h"

#include <algorithm>

#include "archive/CDatFile.h"
#include "tools/CShpCatLogic.h"
#include "ui/Messages.h"

namespace pixmond {

namespace {

constexpr int kUnitIcons = 9;
constexpr int kTransparentIndex = 159;
constexpr int kSheetMinWidth = 240;
constexpr int kSheetMinHeight = 150;

class QuietMessages : public Messages {
public:
    void Notice(const std::string&) override {}
    void Error(const std::string&) override {}
    bool Question(const std::string&) override { return false; }
};

}  // namespace

CatalogFileReader::CatalogFileReader(const CDatFile& dat) : dat_(&dat), quiet_(std::make_unique<QuietMessages>()) {}

CatalogFileReader::CatalogFileReader(std::string folder)
    : folder_(std::move(folder)), quiet_(std::make_unique<QuietMessages>()) {
    if (!folder_.empty() && folder_.back() != '/' && folder_.back() != '\\') folder_ += '/';
}

CatalogFileReader::~CatalogFileReader() = default;

void CatalogFileReader::SetColourTable(const CBmpDib::ColourTable& table) {
    table_ = table;
    ownTable_ = true;
}

std::string CatalogFileReader::PathOf(const CatalogIcon& record) const { return folder_ + record.file; }

bool CatalogFileReader::OpenShp(const CatalogIcon& record, int icon) {
    if (dat_) {
        if (!dat_->InRange(record.entry) || !shp_.AttachArchiveFile(dat_->File(), dat_->Item(record.entry).offset))
            return false;
        if (shp_.ReadDirectory(icon) == 0) return false;
    } else {
        if (!shp_.OpenFile(PathOf(record), icon)) return false;
    }
    return shp_.IconCount() == kUnitIcons && shp_.CurrentIcon() == icon && shp_.IconReadable(icon);
}

bool CatalogFileReader::OpenS16(const CatalogIcon& record, int icon) {
    if (dat_) {
        if (!dat_->InRange(record.entry) || !set_.AttachArchiveFile(dat_->File(), dat_->Item(record.entry).offset))
            return false;
        if (set_.ReadDirectory(icon) == 0) return false;
    } else {
        // A folder file is measured by the icon that is drawn, as an archive entry is.
        if (!set_.OpenFile(PathOf(record)) || set_.SelectIcon(icon) == 0) return false;
    }
    return set_.IconCount() == kUnitIcons && set_.CurrentEntry() != nullptr;
}

bool CatalogFileReader::OpenPng(const CatalogIcon& record) {
    if (dat_) {
        if (!dat_->InRange(record.entry)) return false;
        return set_.LoadPngPicture(dat_->File(), dat_->Item(record.entry).offset, *quiet_) == 1 && set_.Bits();
    }
    return set_.LoadPngPicture(PathOf(record), *quiet_) == 1 && set_.Bits();
}

void CatalogFileReader::PngCell(int icon, int& left, int& top, int& width, int& height) const {
    const int w = set_.Width(), h = set_.Height();
    if (w >= kSheetMinWidth && h >= kSheetMinHeight && w % 3 == 0 && h % 3 == 0) {
        const int cell = std::clamp(icon, 1, kUnitIcons) - 1;
        width = w / 3;
        height = h / 3;
        // The sheet's first row of icons is its bottom row.
        left = (cell % 3) * width;
        top = h - height - (cell / 3) * height;
        return;
    }
    left = top = 0;
    width = w;
    height = h;
}

bool CatalogFileReader::Measure(const CatalogIcon& record, int icon, int& width, int& height) {
    loaded_ = 0;
    switch (record.kind) {
        case kCatalogShp:
            if (!OpenShp(record, icon)) return false;
            width = shp_.IconHeader().Width();
            height = shp_.IconHeader().Height();
            break;
        case kCatalogS16:
            if (!OpenS16(record, icon)) return false;
            width = set_.CurrentEntry()->width;
            height = set_.CurrentEntry()->height;
            break;
        case kCatalogPng: {
            if (!OpenPng(record)) return false;
            int left = 0, top = 0;
            PngCell(icon, left, top, width, height);
            break;
        }
        default:
            return false;
    }
    return width > 0 && height > 0;
}

bool CatalogFileReader::Load(const CatalogIcon& record, int icon, int& width, int& height) {
    loaded_ = 0;
    switch (record.kind) {
        case kCatalogShp:
            if (!OpenShp(record, icon) || shp_.DecodeIcon() == 0) return false;
            left_ = top_ = 0;
            width_ = shp_.Width();
            height_ = shp_.Height();
            break;
        case kCatalogS16:
            if (!OpenS16(record, icon) || set_.DecodeIcon() == 0) return false;
            left_ = top_ = 0;
            width_ = set_.Width();
            height_ = set_.Height();
            break;
        case kCatalogPng:
            if (!OpenPng(record)) return false;
            PngCell(icon, left_, top_, width_, height_);
            break;
        default:
            return false;
    }
    if (width_ <= 0 || height_ <= 0) return false;
    loaded_ = record.kind;
    width = width_;
    height = height_;
    return true;
}

bool CatalogFileReader::CopyTo(CBmpDib& target, int x, int y) {
    if (!loaded_ || !target.Bits()) return false;
    const CBmpDib& source = loaded_ == kCatalogShp ? static_cast<const CBmpDib&>(shp_) : set_;
    const CBmpDib::ColourTable& table = ownTable_ ? table_ : source.Colours();
    const int firstRow = std::max(0, -y), lastRow = std::min(height_, target.Height() - y);
    const int firstCol = std::max(0, -x), lastCol = std::min(width_, target.Width() - x);
    for (int row = firstRow; row < lastRow; ++row) {
        for (int col = firstCol; col < lastCol; ++col) {
            Rgb colour;
            if (loaded_ == kCatalogShp) {
                const int index = source.GetIndex(left_ + col, top_ + row);
                colour = index == kTransparentIndex
                             ? CShpCatLogic::kBackground
                             : MakeRgb(table[size_t(index) * 4 + 2], table[size_t(index) * 4 + 1], table[size_t(index) * 4]);
            } else {
                colour = source.PixelRgb(left_ + col, top_ + row);
            }
            target.SetColour(x + col, y + row, colour);
        }
    }
    return true;
}

}  // namespace pixmond
