#pragma once
#include <string>

namespace pixmond {

class Canvas;
class CBmpDib;

// Kinds of the files a folder browser lists.
enum FileKind { kKindNone = 0, kKindShp = 1, kKindS16 = 2, kKindPng = 3 };

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Width, height and bounding box of an icon, as the labels show them.
struct IconGeometry {
    int width = 0, height = 0, startX = 0, startY = 0, endX = 0, endY = 0;
    bool operator==(const IconGeometry&) const = default;
};

// The two image holders of the folder browser: the SHP reader, and the image set that holds an S16 file or
// one PNG picture. Kinds 1 and 2 address the icons of the open file; kind 3 the picture.
class FolderImages {
public:
    virtual ~FolderImages() = default;
    // Opens at icon 1; a file that cannot be read leaves no icons.
    virtual void OpenShp(const std::string& path) = 0;
    virtual void OpenS16(const std::string& path) = 0;
    // False when the file cannot be read; the holders are then as they were.
    virtual bool OpenPng(const std::string& path) = 0;
    virtual void CloseAll() = 0;

    virtual int IconCount(int kind) const = 0;
    // Whether icon n (from 1) of the open file lies inside the file, so that it can be shown (kinds 1 and 2).
    virtual bool IconHeld(int kind, int icon) const = 0;
    // Why the file last opened for the kind could not be read; empty when it could.
    virtual std::string Problem(int kind) const = 0;
    // The width and height shown in the icon list's row of an icon (numbered from 1).
    virtual IconGeometry IconSize(int kind, int icon) const = 0;
    // Clamps into 1..count, decodes it; the number now current, 0 without icons.
    virtual int SelectIcon(int kind, int icon) = 0;
    // Geometry of the current icon (kinds 1 and 2).
    virtual IconGeometry CurrentGeometry(int kind) const = 0;
    // The decoded picture of the kind's holder; null when it has no pixels.
    virtual const CBmpDib* Picture(int kind) const = 0;

    // The current icon (or, for kind 3, the picture) at zoom, or a collage from the current icon on, into area.
    virtual void Draw(int kind, Canvas& canvas, const PixelRect& area, int zoom, bool collage, bool mirror) = 0;
};

}  // namespace pixmond
