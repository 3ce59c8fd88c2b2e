#pragma once
#include <string>

#include "image/IconSource.h"

namespace pixmond {

class Canvas;

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The folder browser's reader of the file on show: the icon source of its kind.
class FolderImages {
public:
    virtual ~FolderImages() = default;
    // Opens the file as a source of the kind at icon 1. False when it is a picture that cannot be read: the file
    // on show then stays. A file of icons that cannot be read is opened without icons.
    virtual bool Open(const std::string& path, IconKind kind) = 0;
    virtual void CloseAll() = 0;

    // The file on show; null when none is.
    virtual const IconSource* Source() const = 0;
    // The same, for the commands that save its icons.
    virtual IconSource* EditableSource() = 0;
    // Why the file opened last cannot be shown; empty when it can.
    virtual const std::string& Problem() const = 0;
    // Makes icon n current (clamped into 1..count) and decodes it; the number now current, 0 without icons.
    virtual int SelectIcon(int icon) = 0;
    // The picture decoded last (of a picture file, the picture); null when it did not decode.
    virtual const CBmpDib* Picture() const = 0;
    // The current icon (or the picture) at zoom, or a collage from the current icon on, into area.
    virtual void Draw(Canvas& canvas, const PixelRect& area, int zoom, bool collage, bool mirror) = 0;

    // The drawing palette: the colour table SHP files are drawn and saved with. It stays as set from file to
    // file; the SHP file on show takes a new one at once.
    virtual const CBmpDib::ColourTable& DrawingPalette() const = 0;
    virtual void SetDrawingPalette(const CBmpDib::ColourTable& palette) = 0;
    // The SHP reader's picture while an SHP file is on show, else null.
    virtual CBmpDib* ShpPicture() = 0;
};

}  // namespace pixmond
