#pragma once
#include <QFrame>

namespace pixmond {

class CDatViewModel;

// The picture frame of the archive browser; the icons are drawn 4 pixels inside it.
class CDatPicture : public QFrame {
    Q_OBJECT
public:
    CDatPicture(CDatViewModel& view, QWidget* parent);

signals:
    // A draw may change the labels (a collage counts the icons it placed).
    void Drawn();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CDatViewModel& view_;
};

}  // namespace pixmond
