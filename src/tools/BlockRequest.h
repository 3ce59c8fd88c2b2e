#pragma once
#include <string>
#include <vector>

#include "image/BlockParams.h"

namespace pixmond {

class IconSource;
class Messages;
class Settings;

// The values of the save-block dialog and the rules that tie them together: which icons go into the block,
// in how many rows and columns, the cell size they need, the output type and the file. The dialog pulls its
// controls into the public values, calls the matching step, and pushes the values back.
class BlockRequest {
public:
    struct IconSize {
        int width = 0;
        int height = 0;
    };

    explicit BlockRequest(Settings& settings) : settings_(settings) {}

    // The sizes of the source's icons, in order.
    static std::vector<IconSize> SizesOf(const IconSource& source);

    // Sets everything up for the icons of a source from position (1-based) to its end. Returns false when
    // the proposed file has no '_' to build a name on: the caller then offers the file picker.
    bool Start(std::vector<IconSize> sizes, int position, const std::string& proposedFile);

    // The count edit lost focus: count is kept within the icons available (2 at least, when there are two).
    bool CountChanged();
    // The last-icon edit lost focus.
    bool LastChanged();
    // The rows edit changed; a value below 1 is raised to 1 and false returned.
    bool RowsChanged();
    // A new output type (0 BMP, 1 PNG, 2 JPG) is stored as "Output image" and given to the file name.
    void OutputTypeChanged(int type);
    // A file chosen with the picker; its folder becomes "BMP folder".
    void FilePicked(const std::string& path);
    // "%s_%d-%d%s" from the part of the name before its last '_'; false when the name has none.
    bool ReproposeFileName();

    // The block as the builders take it.
    BlockParams Params() const;
    // OK: the block is built by the source it was started on.
    bool SaveTo(IconSource& source, Messages& messages) const;

    std::string AvailableText() const;
    std::string CellSizeText() const;
    std::string SizeText() const;
    // The extension of the output type: ".BMP", ".PNG" or ".JPG".
    const char* Extension() const;

    int start = 0;       // 0-based first icon
    int available = 0;   // icons from start to the end of the source
    int count = 0;
    int last = 0;        // start + count: the last icon, 1-based
    int rows = 1;
    int cols = 1;
    int cellWidth = 0;
    int cellHeight = 0;
    bool drawLines = false;
    int outputType = 0;
    std::string fileName;

private:
    void Columns();
    void CellSize();
    Settings& settings_;
    std::vector<IconSize> sizes_;
};

}  // namespace pixmond
