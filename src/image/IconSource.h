#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/Rect.h"
#include "image/BlockParams.h"
#include "image/CBmpDib.h"
#include "image/IconKind.h"

namespace pixmond {

class Canvas;
class Messages;
class ReadOnlyFile;

// Where the bytes of an icon file are: a file of its own, an archive entry inside the archive's shared file, or
// bytes in memory (ReadOnlyFile::FromBytes). Readers read from offset on; name is what messages and saved files
// call it (the path, or the entry's name).
struct IconBytes {
    std::shared_ptr<ReadOnlyFile> file;  // null when the file could not be opened
    std::uint32_t offset = 0;
    std::string name;

    // The file at path, opened for reading.
    static IconBytes OfFile(const std::string& path);
};

// Width, height and box of an icon as stored: an SHP icon's header, an S16 icon's entry (the box is its content), a
// picture's icon from (0, 0) to its size.
struct IconGeometry {
    int width = 0, height = 0, startX = 0, startY = 0, endX = 0, endY = 0;
    // True for an icon of the file whose sizes could be read. An SHP icon whose record lies past the end of the
    // file has the sizes of an empty header.
    bool readable = false;
    bool operator==(const IconGeometry&) const = default;
};

// What every consumer needs of an icon file, whatever its kind: the SHP reader, the S16 reader, or one PNG picture.
// Icons are numbered from 1; one of them is current. A picture is drawn and saved whole whichever icon is asked
// for; its nine icons are the cells of a 3 x 3 sheet, or each the whole picture when it is no sheet.
// Operations that visit several icons make the icon that was current before current again.
class IconSource {
public:
    virtual ~IconSource() = default;

    virtual IconKind Kind() const = 0;
    bool IsPicture() const { return Kind() == IconKind::Png; }
    // The path or entry name the source was opened on.
    virtual const std::string& Name() const = 0;
    // The file could be read: an SHP or S16 directory (perhaps of no icon), or a picture that decoded.
    virtual bool Readable() const = 0;
    // The icons: the count of an SHP or S16 directory (0 when it cannot be read), nine for a picture.
    virtual int Count() const = 0;
    // Why the file or the icon decoded last cannot be shown, in the reader's words; problems of the whole file
    // name it.
    virtual std::string Problem() const = 0;
    // Icon n as stored; all zero (and not readable) for a number that is not an icon.
    virtual IconGeometry Geometry(int n) const = 0;

    // Makes icon n current, clamped into 1..Count(); the icon now current, 0 without icons. A picture answers 1.
    virtual int Select(int n) = 0;
    virtual int Current() const = 0;
    // Makes icon n current and decodes it into Bitmap(); false when n is no icon or does not decode.
    virtual bool Decode(int n) = 0;
    // The reader's bitmap: the icon decoded last, or the picture. Its colour table colours the icons of 8-bit
    // sources; its mirror flag applies when drawing.
    virtual CBmpDib& Bitmap() = 0;
    const CBmpDib& Bitmap() const { return const_cast<IconSource*>(this)->Bitmap(); }
    // Copies the icon decoded last into a 24-bit bottom-up target with its top-left corner at (x, y), dropping what
    // falls outside: indices through the colour table; of a picture the cell of the icon decoded. False when
    // nothing was copied.
    virtual bool CopyIcon(CBmp& target, int x, int y) const = 0;

    // Fills the rectangle grey and draws the current icon fitted to it (zoom 1 to 5); a picture is drawn whole.
    // The decode result, 0 when no icon was drawn.
    virtual int DrawIcon(Canvas& canvas, const Rect& rect, int zoom) = 0;
    // Draws as many icons as fit, from first on; the number placed. done: the last icon was placed. A picture
    // draws itself whole instead.
    virtual int DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done) = 0;
    // Saves the current icon (decoded afresh), or the whole picture, by the path's extension.
    virtual bool SaveIcon(const std::string& path, Messages& messages) = 0;
    // Saves every icon as "BASE_NNN.EXT" (outputImage 0 .BMP, 1 .PNG, 2 .JPG) and says how it went; the number of
    // icons not saved. A picture only says "Not implemented". step, when given, is called after each icon saved,
    // in icon order on the calling thread; false stops the saving (the icons not saved count as not saved).
    virtual int SaveAllIcons(const std::string& path, int outputImage, Messages& messages,
                             const std::function<bool()>& step = {}) = 0;
    // The collage of the area from first on as one picture; a picture saves itself whole.
    virtual bool SaveCollage(const std::string& path, const Rect& rect, int first, Messages& messages) = 0;
    // A grid of icons as one picture; false for a picture, which has no icons of its own.
    virtual bool SaveBlock(const BlockParams& params, Messages& messages) = 0;
};

// The source of the kind, reading bytes: the one place that chooses a reader. The icon files open at icon 1; a
// picture is decoded at once, and the PNG loader reports to messages why it cannot be (a file that could not be
// opened is only said by Problem()). Null for IconKind::Other.
std::unique_ptr<IconSource> OpenIconSource(IconKind kind, const IconBytes& bytes, Messages& messages);

}  // namespace pixmond
