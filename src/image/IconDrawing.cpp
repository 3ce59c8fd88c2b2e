#include "image/IconDrawing.h"

#include <algorithm>

#include "image/CBmpDib.h"
#include "base/Rect.h"

namespace pixmond {

void DrawFitted(const CBmpDib& picture, Canvas& canvas, const Rect& rect, int zoom, bool limitZoom) {
    int width = picture.Width(), height = picture.Height();
    if (width < 1 || height < 1 || !picture.Bits()) return;
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (width > rect.Width() || height > rect.Height()) {
        if (width > rect.Width()) width = rect.Width() - 2;
        if (height > rect.Height()) height = rect.Height() - 2;
        if (width < 1 || height < 1) return;
    } else if (zoom > 1) {
        width *= zoom;
        height *= zoom;
        if (limitZoom) {
            width = std::min(width, rect.Width());
            height = std::min(height, rect.Height());
        }
    }
    picture.Draw(canvas, rect.left, rect.top, width, height);
}

}  // namespace pixmond
