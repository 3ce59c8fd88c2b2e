#pragma once
#include <cstdint>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "image/BlockParams.h"
#include "image/CBmpDib.h"
#include "base/Rect.h"

namespace pixmond {

class Messages;
class ReadOnlyFile;

// One 40-byte directory entry of an S16 file, as stored.
struct S16Entry {
    std::int32_t contentWidth = 0;   // pixels per coded row
    std::int32_t contentHeight = 0;  // coded rows
    std::int32_t xOffset = 0;        // of the content inside the icon
    std::int32_t yOffset = 0;
    std::int32_t width = 0;          // icon size
    std::int32_t height = 0;
    std::uint32_t dataOffset = 0;    // from the start of the data area
    std::int32_t dataSize = 0;       // negative: the icon's 24-bit image size
    std::int32_t encoding = 0;       // 1 runs, anything else raw
    std::uint32_t reserved = 0;
};

// The reader of S16 files (16-bit colour icons), decoding one icon at a time into a 24-bit bottom-up bitmap.
// It reads a file of its own or an archive entry at a base offset in the archive's shared file; it can also
// hold one PNG picture instead (then it has no icons and the from-PNG flag is set).
class CShp3 : public CBmpDib {
public:
    static constexpr int kEntrySize = 40;
    static constexpr int kMaxWidth = 800;
    static constexpr int kMaxHeight = 600;
    static constexpr std::int64_t kMaxArea = 480000;
    static constexpr std::int64_t kMaxDataBytes = 921600;
    static constexpr Rgb kBackground = MakeRgb(248, 0, 248);

    CShp3();

    // Opens the path (closing what was open) and reads its directory with icon 1 current. True once the
    // file is open, whatever the directory held.
    bool OpenFile(const std::string& path);
    // Reads from a file shared with others (an archive) at baseOffset; ReadDirectory is up to the caller.
    bool AttachArchiveFile(std::shared_ptr<ReadOnlyFile> file, std::uint32_t baseOffset);
    // Reads count and entries at the base offset and selects the icon; 0 when the directory is unusable
    // or empty.
    int ReadDirectory(int icon = 1);
    // Clamps n into 1..count and makes that entry current; 0 when there are no icons.
    int SelectIcon(int n);
    // Sizes the bitmap for the current entry; false when the icon size is out of range.
    bool PrepareImage();
    // Decodes the current icon; the number of content pixels placed, 0 on failure.
    int DecodeIcon();
    // Frees the directory; the file stays open until the next OpenFile.
    void CloseFile();

    // Loads a PNG picture (a file, or the shared file at an offset) as this set's one picture: no icons, the
    // from-PNG flag set. 1 on success, the loader's failure code otherwise (the loader has reported it).
    std::int32_t LoadPngPicture(const std::string& path, Messages& messages);
    std::int32_t LoadPngPicture(std::shared_ptr<ReadOnlyFile> file, std::uint32_t baseOffset, Messages& messages);

    // The colour of a 16-bit 5-6-5 value.
    static Rgb ColourOf(std::uint16_t value);

    int IconCount() const { return count_; }
    // True once a directory was read, even one of no icons.
    bool HasDirectory() const { return hasDirectory_; }
    int CurrentIcon() const { return currentIcon_; }
    // The current entry, or null when none is current.
    const S16Entry* CurrentEntry() const { return currentIcon_ > 0 ? &entries_[size_t(currentIcon_ - 1)] : nullptr; }
    const std::vector<S16Entry>& Entries() const { return entries_; }
    std::uint32_t BaseOffset() const { return baseOffset_; }
    void SetBaseOffset(std::uint32_t offset) { baseOffset_ = offset; }
    // Absolute file position of the current icon's data.
    std::uint64_t DataPosition() const { return dataPosition_; }
    const std::shared_ptr<ReadOnlyFile>& File() const { return file_; }

    // ---- The icons as a set: drawing, collages, saving (CShp3ImageSet.cpp) ----
    // Operations that visit several icons make the icon that was current before current again. A set
    // without icons that holds a PNG picture draws and saves that picture.

    // Fills the rectangle grey and draws the current icon (or the PNG picture) fitted to it, zoom 1 to 5.
    // The decode result; 0 when nothing was decoded (a PNG picture is drawn and gives 0 as well).
    int DrawIcon(Canvas& canvas, const Rect& rect, int zoom);
    // Draws as many icons as fit, from first on; the number placed. done: every icon up to the last one
    // of the file was placed.
    int DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done);
    // Turns the area's size into the size the icons from first on take in it; tight leaves no gaps
    // between icons. The first icon used.
    int CollageSize(int& width, int& height, int first, bool tight);
    // Saves the current icon (decoded afresh) or the PNG picture by the path's extension.
    bool SaveIcon(const std::string& path, Messages& messages);
    // Saves every icon as "BASE_NNN.EXT" (outputImage 0 .BMP, 1 .PNG, 2 .JPG) and says how it went.
    // The number of icons not saved. step, when given, is called after each icon; false stops the saving.
    int SaveAllIcons(const std::string& path, int outputImage, Messages& messages,
                     const std::function<bool()>& step = {});
    // The collage of the area as one 24-bit picture.
    bool SaveCollage(const std::string& path, const Rect& rect, int first, bool tight, Messages& messages);
    // A grid of icons as one 24-bit picture.
    bool SaveBlock(const BlockParams& params, Messages& messages);
    // Copies the whole decoded picture into a 24-bit target at (x, y), dropping what falls outside.
    // The picture's height, 0 when there is nothing to copy.
    int CopyImageTo(int x, int y, CBmp& target) const;
    // Copies cell 0..8 of a 3 x 3 sheet (cells 0-2 are the bottom row), or the whole picture when it is
    // not a sheet (IsIconSheet). The picture's height; 0 when the cell lies outside the picture.
    int CopyCellTo(int x, int y, CBmp& target, int cell) const;
    // Forgets the picture held (pixels, PNG flag), so a failed load shows nothing old.
    void ClearPicture();
    // Why the current icon does not decode, for reports.
    std::string DecodeProblem() const;

private:
    int IconWidthOf(int n) const;
    int IconHeightOf(int n) const;
    bool DecodeNumber(int n);
    // A 24-bit copy of the part of this picture from (left, top), dropping what falls outside the target.
    void CopyPart(int left, int top, int partWidth, int partHeight, CBmp& target, int x, int y) const;

    void FillBackground();
    void DecodeRuns(std::int64_t content, int cw, int x0, int y0, std::int64_t& placed);
    void DecodeRaw(std::int64_t content, int cw, int x0, int y0, std::int64_t& placed);

    std::shared_ptr<ReadOnlyFile> file_;
    std::uint32_t baseOffset_ = 0;
    int count_ = 0;
    bool hasDirectory_ = false;
    std::vector<S16Entry> entries_;
    int currentIcon_ = 0;
    std::uint64_t dataPosition_ = 0;
    std::vector<std::uint8_t> scratch_;
};

}  // namespace pixmond
