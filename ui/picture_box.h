#pragma once

#include <QFrame>
#include <QPixmap>

namespace beltrix::ui {

// Loads one of the program's pictures. Unlike QPixmap's own loading, which keeps a copy in
// Qt's pixmap cache, the picture is freed with the last window that shows it.
QPixmap loadPicture(const QString& resource);

// A sunken 2-pixel box showing a picture at its natural size from the top-left corner of its
// inside, clipped, never scaled; the button face colour shows where the picture doesn't reach.
// It takes the keyboard focus by click or Tab but shows no sign of it.
class PictureBox : public QFrame {
    Q_OBJECT

public:
    PictureBox(const QPixmap& picture, QWidget* parent);

    static constexpr int border = 2; // the sunken edge, on each side

    const QPixmap& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

} // namespace beltrix::ui
