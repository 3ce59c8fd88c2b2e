#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/SheetManifest.h"

namespace pixmond {

class ReadOnlyFile;
struct TDatItem;

// The icons of one SHP or S16 archive entry as its sheet holds them: SHP icons as palette indices, S16 icons
// as red, green, blue triples, rows top first. The export draws sheets from them and the import compares the
// edited sheets with them.
class SheetIcons {
public:
    struct Icon {
        SheetIcon record;                  // size, stored header, readable, hash of the pixels
        std::vector<std::uint8_t> pixels;  // empty when the icon cannot be decoded
    };

    // Decodes every icon of the entry; false, with the reason, when its directory cannot be read.
    bool Read(const std::shared_ptr<ReadOnlyFile>& archive, const TDatItem& item, std::string& problem);

    SheetKind Kind() const { return kind_; }
    const std::vector<Icon>& Icons() const { return icons_; }
    const SheetGrid& Grid() const { return grid_; }
    // Bytes a pixel takes: 1 for SHP icons, 3 for S16 icons.
    int PixelBytes() const { return kind_ == SheetKind::S16 ? 3 : 1; }

private:
    bool ReadShp(const std::shared_ptr<ReadOnlyFile>& archive, std::uint32_t offset, std::string& problem);
    bool ReadS16(const std::shared_ptr<ReadOnlyFile>& archive, std::uint32_t offset, std::string& problem);
    void Finish();

    SheetKind kind_ = SheetKind::Shp;
    std::vector<Icon> icons_;
    SheetGrid grid_;
};

}  // namespace pixmond
