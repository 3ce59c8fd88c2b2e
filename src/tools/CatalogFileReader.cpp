#include "tools/CatalogFileReader.h"

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

bool CatalogFileReader::Open(const CatalogIcon& record, int icon) {
    loaded_ = false;
    source_.reset();
    IconBytes bytes;
    if (dat_) {
        if (!dat_->InRange(record.entry)) return false;
        bytes = {dat_->File(), dat_->Item(record.entry).offset, record.file};
    } else {
        bytes = IconBytes::OfFile(folder_ + record.file);
    }
    if (!bytes.file) return false;
    source_ = OpenIconSource(record.kind, bytes, *quiet_);
    // A picture stands for nine icons whatever it holds; a file of icons must hold nine.
    return source_ && source_->Readable() && source_->Count() == kUnitIcons && source_->Geometry(icon).readable;
}

bool CatalogFileReader::Measure(const CatalogIcon& record, int icon, int& width, int& height) {
    if (!Open(record, icon)) return false;
    const IconGeometry size = source_->Geometry(icon);
    width = size.width;
    height = size.height;
    return width > 0 && height > 0;
}

bool CatalogFileReader::Load(const CatalogIcon& record, int icon, int& width, int& height) {
    if (!Open(record, icon) || !source_->Decode(icon)) return false;
    const IconGeometry size = source_->Geometry(icon);
    if (size.width <= 0 || size.height <= 0) return false;
    loaded_ = true;
    width = size.width;
    height = size.height;
    return true;
}

bool CatalogFileReader::CopyTo(CBmpDib& target, int x, int y) {
    if (!loaded_ || !target.Bits() || target.BitsPerPixel() != 24 || target.TopDown()) return false;
    CBmpDib& icon = source_->Bitmap();
    if (icon.BitsPerPixel() == 8) {
        // The transparent index shows the catalog's background whatever the palette says of it.
        CBmpDib::ColourTable table = ownTable_ ? table_ : icon.Colours();
        table[kTransparentIndex * 4] = std::uint8_t(BlueOf(CShpCatLogic::kBackground));
        table[kTransparentIndex * 4 + 1] = std::uint8_t(GreenOf(CShpCatLogic::kBackground));
        table[kTransparentIndex * 4 + 2] = std::uint8_t(RedOf(CShpCatLogic::kBackground));
        icon.SetColourTable(table);
    }
    return source_->CopyIcon(target, x, y);
}

}  // namespace pixmond
