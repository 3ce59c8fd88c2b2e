#pragma once
#include <string>
#include <vector>

namespace pixmond {

class CBmpDib;
class Messages;
class Progress;

// The folder browser's two batches over the PNG files of its list (rows of other kinds are passed over;
// unreadable PNG files are skipped without a message). folder ends with a separator; rows are file names.
class PngBatch {
public:
    PngBatch(std::string folder, std::vector<std::string> rows) : folder_(std::move(folder)), rows_(std::move(rows)) {}

    // Each PNG becomes an SHP beside it: a 3 x 3 sheet (at least 240 x 150, sides divisible by 3) gives its
    // nine cells, any other picture nine copies of itself. Returns the files converted.
    // A progress display, when given, steps once a file and stops the batch when cancelled.
    int ConvertToShp(Messages& messages, Progress* progress = nullptr) const;
    // Each 3 x 3 sheet other than 240 x 150 is cropped to the size its icons need and saved beside it as
    // "%s_Cropped.png". Returns the files written.
    int CropSheets(Messages& messages, Progress* progress = nullptr) const;
    // One picture as an SHP file: it takes the default palette, then a 3 x 3 sheet gives its nine cells and any
    // other picture nine copies of itself. False when the SHP could not be built or written.
    static bool ConvertPicture(const CBmpDib& picture, const std::string& output);
    // The files a batch visits: the PNG files among the rows.
    int PngCount() const { return int(PngPaths().size()); }

    // The batches need a list of files to work on; says so when there is none.
    static bool CheckList(bool listShowsShpOnly, int rows, Messages& messages);
    // SHP files go into this folder instead of beside their PNG files (the command line's choice).
    void SetShpFolder(std::string folder) { shpFolder_ = std::move(folder); }

private:
    std::vector<std::string> PngPaths() const;
    std::string folder_;
    std::vector<std::string> rows_;
    std::string shpFolder_;
};

}  // namespace pixmond
