#include "tools/SheetIcons.h"

#include "archive/TDatItem.h"
#include "base/ByteHash.h"
#include "image/CShp3.h"
#include "image/CShpFile.h"

namespace pixmond {

bool SheetIcons::Read(const std::shared_ptr<ReadOnlyFile>& archive, const TDatItem& item, std::string& problem) {
    icons_.clear();
    grid_ = {};
    kind_ = item.Kind() == IconKind::S16 ? SheetKind::S16 : SheetKind::Shp;
    const bool read =
        kind_ == SheetKind::S16 ? ReadS16(archive, item.offset, problem) : ReadShp(archive, item.offset, problem);
    if (read) Finish();
    return read;
}

bool SheetIcons::ReadShp(const std::shared_ptr<ReadOnlyFile>& archive, std::uint32_t offset, std::string& problem) {
    CShpFile shp;
    shp.AttachArchiveFile(archive, offset);
    shp.ReadDirectory(1);
    if (!shp.HasDirectory()) {
        problem = "its icon directory cannot be read";
        return false;
    }
    icons_.resize(size_t(shp.IconCount()));
    for (int n = 1; n <= shp.IconCount(); ++n) {
        Icon& icon = icons_[size_t(n - 1)];
        icon.record.header = shp.StoredHeaders()[size_t(n - 1)];
        icon.record.width = icon.record.header.Width();
        icon.record.height = icon.record.header.Height();
        icon.record.readable = shp.IconReadable(n) && shp.SelectIcon(n) == n && shp.DecodeIcon() > 0 &&
                               shp.Width() == icon.record.width && shp.Height() == icon.record.height;
        if (!icon.record.readable) continue;
        icon.pixels.resize(size_t(shp.Width()) * size_t(shp.Height()));
        for (int y = 0; y < shp.Height(); ++y)
            for (int x = 0; x < shp.Width(); ++x)
                icon.pixels[size_t(y) * size_t(shp.Width()) + size_t(x)] = shp.GetIndex(x, y);
    }
    return true;
}

bool SheetIcons::ReadS16(const std::shared_ptr<ReadOnlyFile>& archive, std::uint32_t offset, std::string& problem) {
    CShp3 set;
    set.AttachArchiveFile(archive, offset);
    set.ReadDirectory(1);
    if (set.IconCount() == 0 && set.Entries().empty()) {
        // An S16 of no icons is sound; one whose count does not fit its data is not.
        std::uint8_t count[4] = {1, 1, 1, 1};
        if (!archive->ReadExact(offset, count, 4) || count[0] | count[1] | count[2] | count[3]) {
            problem = "its icon directory cannot be read";
            return false;
        }
    }
    icons_.resize(size_t(set.IconCount()));
    for (int n = 1; n <= set.IconCount(); ++n) {
        Icon& icon = icons_[size_t(n - 1)];
        const S16Entry& entry = set.Entries()[size_t(n - 1)];
        icon.record.width = entry.width;
        icon.record.height = entry.height;
        icon.record.readable = set.SelectIcon(n) == n && set.DecodeIcon() > 0 && set.Width() == entry.width &&
                               set.Height() == entry.height;
        if (!icon.record.readable) continue;
        icon.pixels.resize(size_t(set.Width()) * size_t(set.Height()) * 3);
        std::uint8_t* out = icon.pixels.data();
        for (int y = 0; y < set.Height(); ++y)
            for (int x = 0; x < set.Width(); ++x, out += 3) {
                const Rgb c = set.PixelRgb(x, y);
                out[0] = std::uint8_t(RedOf(c));
                out[1] = std::uint8_t(GreenOf(c));
                out[2] = std::uint8_t(BlueOf(c));
            }
    }
    return true;
}

void SheetIcons::Finish() {
    std::vector<SheetGrid::Size> sizes;
    for (Icon& icon : icons_) {
        if (!icon.record.readable) {
            icon.pixels.clear();
            icon.record.hash.clear();
        } else {
            icon.record.hash = ByteHash::Of(icon.pixels);
        }
        sizes.push_back({icon.record.readable ? icon.record.width : 0, icon.record.readable ? icon.record.height : 0});
    }
    grid_ = SheetGrid::For(sizes);
}

}  // namespace pixmond
