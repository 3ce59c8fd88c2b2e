#pragma once
#include <QFrame>

namespace pixmond {

class CBmpDib;

// The Shp maker's preview: the bitmap at the top-left corner of a light grey area 2 pixels inside the frame,
// at its own size and cut to the area, or stretched over the whole area when zoomed.
class CShpMakerPreview : public QFrame {
    Q_OBJECT
public:
    CShpMakerPreview(const CBmpDib& bitmap, QWidget* parent = nullptr);
    void SetShown(bool shown);
    void SetZoom(bool zoom);
    bool Shown() const { return shown_; }
    bool Zoom() const { return zoom_; }
    QRect PreviewRect() const { return rect().adjusted(2, 2, -2, -2); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CBmpDib& bitmap_;
    bool shown_ = false;
    bool zoom_ = false;
};

}  // namespace pixmond
