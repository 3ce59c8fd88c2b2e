#pragma once
#include "tools/CatalogIcon.h"

namespace pixmond {

class CBmpDib;

// Reads the icons of a catalog: their sizes while collecting and their pixels while drawing. Icons are
// numbered from 1; every call reads the file or archive entry again, so only sizes and names are held
// between collecting and drawing.
class CatalogIconReader {
public:
    virtual ~CatalogIconReader() = default;
    // The size of icon number `icon` of the record's file; false when the file cannot be read, does not
    // hold exactly nine icons (SHP, S16) or has no picture (PNG).
    virtual bool Measure(const CatalogIcon& record, int icon, int& width, int& height) = 0;
    // Reads and decodes the icon for drawing; its size as decoded in width and height.
    virtual bool Load(const CatalogIcon& record, int icon, int& width, int& height) = 0;
    // Writes every pixel of the icon last loaded into the 24-bit bottom-up target with its top-left corner at (x, y);
    // pixels outside the target are dropped. False when nothing is loaded.
    virtual bool CopyTo(CBmpDib& target, int x, int y) = 0;
};

}  // namespace pixmond
