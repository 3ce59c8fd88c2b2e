#pragma once
#include <string>
#include <vector>

#include "image/BlockParams.h"

namespace pixmond {

class IconSource;
class Messages;
struct Services;

// The batch converter without its window: every nine-icon SHP and S16 file of a folder becomes one
// picture of its icons placed 3 x 3, written as BMP or PNG into a second folder.
class ShpToBmpConverter {
public:
    explicit ShpToBmpConverter(Services& services) : services_(services) {}

    // Folders and type from "S16 folder", "BMP folder" and "Output image".
    void Load();
    void ChooseInputFolder(const std::string& folder);
    // The output folder is stored as "BMP folder" at once.
    void ChooseOutputFolder(const std::string& folder);
    // 0 BMP, 1 PNG; stored as "Output image" at once.
    void ChooseType(int type);

    // Names in the input folder matching "*.s??", sorted.
    std::vector<std::string> ListFiles() const;
    static std::string CountLine(int files);
    // "%s%s%s": output folder, the file's title, ".BMP" / ".PNG" (/ ".JPG") by type.
    static std::string OutputPath(const std::string& folder, const std::string& name, int type);
    // Nine icons from the first, 3 rows of 3, no lines; the cell takes the largest icon.
    static BlockParams NineIconBlock(const std::string& path, int cellWidth, int cellHeight);
    // The largest width and height of the icons whose sizes could be read.
    static void CellSizeOf(const IconSource& source, int& width, int& height);

    // Converts every listed file with exactly nine icons; others are passed over. Returns the files written.
    int Convert();

    std::string inputFolder;
    std::string outputFolder;
    int outputType = 0;

private:
    // One file, on a worker: its messages go to messages, its picture is written as write says.
    bool ConvertOne(const std::string& name, Messages& messages, const ImageWriteOptions& write) const;
    Services& services_;
};

}  // namespace pixmond
