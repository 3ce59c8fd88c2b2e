#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <functional>
#include <string>
#include <vector>

#include "image/BlockParams.h"
#include "image/COrvelShp.h"
#include "base/Rect.h"

namespace pixmond {

// One directory slot of an SHP file. The second offset is kept as read; nothing reads pixels through it.
struct ShpDirectoryEntry {
    std::uint32_t imageOffset = 0;
    std::uint32_t secondOffset = 0;
};

// An SHP file (or an SHP inside an archive at a base offset) with its directory and a copy of every icon
// header, read at open. Icons are numbered from 1. Each reader owns its pixel buffer.
class CShpFile : public COrvelShp {
public:
    static constexpr std::uint32_t kDirectoryStart = 8;

    CShpFile();

    // Opens the file and reads its directory; false only when the file cannot be opened (an unreadable
    // directory leaves IconCount() at 0 and says why in Problem()).
    bool OpenFile(const std::string& path, int icon = 1);
    // Reads through a file shared with an archive; the SHP data starts at baseOffset. ReadDirectory follows.
    bool AttachArchiveFile(std::shared_ptr<ReadOnlyFile> file, std::uint32_t baseOffset);
    // Reads count, directory and icon headers, then selects icon. Returns the selected icon, 0 on failure
    // or when the file holds no icon.
    int ReadDirectory(int icon = 1);
    // Makes icon n (clamped into 1..count) current. 0 when no icon is loaded.
    int SelectIcon(int n);
    // Bytes of icon n's record (header and stream), found by walking its codes; 0 when it cannot be read.
    // The current icon is left as it is.
    std::uint32_t IconRecordSize(int n) const;
    void CloseFile() override;

    const std::vector<ShpDirectoryEntry>& Directory() const { return directory_; }
    // The icon headers as stored in the file, in icon order; an icon whose record lies past the end of the
    // file has a zero header and IconReadable() false.
    const std::vector<ShpIconHeader>& StoredHeaders() const { return headers_; }
    // True once a directory was read, even one of no icons.
    bool HasDirectory() const { return hasDirectory_; }
    bool IconReadable(int n) const { return n >= 1 && n <= int(readable_.size()) && readable_[size_t(n - 1)]; }

    // ---- The icons as a set: drawing, collages, saving (CShpFileImageSet.cpp) ----
    // Operations that visit several icons make the icon that was current before current again.

    // Fills the rectangle grey and draws the current icon fitted to it (zoom 1 to 5). The decode result,
    // 0 when nothing was drawn.
    int DrawIcon(Canvas& canvas, const Rect& rect, int zoom);
    // Draws as many icons as fit, from first on; the number placed. done: every icon up to the last one
    // of the file was placed.
    int DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done);
    // Turns the area's size into the size the icons from first on take in it; the first icon used.
    int CollageSize(int& width, int& height, int first);
    // Decodes the current icon and saves it by the path's extension.
    bool SaveIcon(const std::string& path, Messages& messages);
    // Saves every icon as "BASE_NNN.EXT" (outputImage 0 .BMP, 1 .PNG, 2 .JPG) and says how it went.
    // The number of icons not saved. step, when given, is called after each icon; false stops the saving.
    int SaveAllIcons(const std::string& path, int outputImage, Messages& messages,
                     const std::function<bool()>& step = {});
    // The collage of the area, as one 8-bit picture on the transparent colour.
    bool SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages);
    // A grid of icons as one 8-bit picture.
    bool SaveBlock(const BlockParams& params, Messages& messages);
    // Writes the decoded icon into a bottom-up buffer (stride bytes a row, height rows) with its top-left
    // corner at (x, y): mode -1 as palette indices, mode 24 as blue, green, red of the colour table.
    // Pixels outside the buffer are dropped. The icon height, 0 for another mode or no decoded icon.
    int CopyIconTo(std::span<std::uint8_t> buffer, int x, int y, int stride, int height, int mode) const;

private:
    int IconWidthOf(int n) const;
    int IconHeightOf(int n) const;
    // Copies the width x height part of the decoded icon whose top-left is (0, top).
    void CopyIconPart(std::span<std::uint8_t> buffer, int x, int y, int stride, int height, int mode, int top,
                      int partWidth, int partHeight) const;
    // Decodes icon n after selecting it; false when it cannot be decoded.
    bool DecodeNumber(int n);
    // Reads the start of the SHP data, up to a little past the last record's header, into body_.
    void ReadBody(std::uint64_t fileSize);
    // For each icon, the bytes from its pixel stream to the next record start or the end of the file.
    void MeasureRecordSpace(std::uint64_t fileSize);

    std::vector<ShpDirectoryEntry> directory_;
    std::vector<ShpIconHeader> headers_;
    std::vector<bool> readable_;
    std::vector<std::uint64_t> recordSpace_;
    bool hasDirectory_ = false;
};

}  // namespace pixmond
