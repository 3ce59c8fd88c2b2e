#include "tools/CatalogFileReader.h"

#include <algorithm>
#include <span>

#include "archive/CDatFile.h"
#include "tools/CShpCatLogic.h"
#include "ui/Messages.h"

namespace pixmond {

namespace {

constexpr int kUnitIcons = 9;
constexpr int kTransparentIndex = 159;

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

void CatalogFileReader::PngCell(int& width, int& height) const {
    width = set_.Width();
    height = set_.Height();
    if (CShp3::IsSheet(width, height)) {
        width /= 3;
        height /= 3;
    }
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
        case kCatalogPng:
            if (!OpenPng(record)) return false;
            PngCell(width, height);
            break;
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
            width_ = shp_.Width();
            height_ = shp_.Height();
            break;
        case kCatalogS16:
            if (!OpenS16(record, icon) || set_.DecodeIcon() == 0) return false;
            width_ = set_.Width();
            height_ = set_.Height();
            break;
        case kCatalogPng:
            if (!OpenPng(record)) return false;
            PngCell(width_, height_);
            cell_ = std::clamp(icon, 1, kUnitIcons) - 1;
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
    if (!loaded_ || !target.Bits() || target.BitsPerPixel() != 24 || target.TopDown()) return false;
    switch (loaded_) {
        case kCatalogShp: {
            // The transparent index shows the catalog's background whatever the palette says of it.
            CBmpDib::ColourTable table = ownTable_ ? table_ : shp_.Colours();
            table[kTransparentIndex * 4] = std::uint8_t(BlueOf(CShpCatLogic::kBackground));
            table[kTransparentIndex * 4 + 1] = std::uint8_t(GreenOf(CShpCatLogic::kBackground));
            table[kTransparentIndex * 4 + 2] = std::uint8_t(RedOf(CShpCatLogic::kBackground));
            shp_.SetColourTable(table);
            const std::span<std::uint8_t> pixels(target.Bits(), target.ImageSize());
            return shp_.CopyIconTo(pixels, x, y, target.Stride(), target.Height(), 24) > 0;
        }
        case kCatalogS16:
            return set_.CopyImageTo(x, y, target) > 0;
        case kCatalogPng:
            return set_.CopyCellTo(x, y, target, cell_) > 0;
        default:
            return false;
    }
}

}  // namespace pixmond
