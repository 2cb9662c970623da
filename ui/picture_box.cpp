#include "ui/picture_box.h"

#include <QImage>
#include <QPainter>

namespace beltrix::ui {

QPixmap loadPicture(const QString& resource) {
    // Kept in the format it was decoded in. The sheets are palette pictures, a quarter of their
    // size as pixmaps in the screen's format, and converting a whole sheet as it opens pays for
    // pixels that its small window never shows; drawing converts only the part in view.
    return QPixmap::fromImage(QImage(resource), Qt::NoFormatConversion);
}

PictureBox::PictureBox(const QPixmap& picture, QWidget* parent)
    : QFrame(parent), picture_(picture) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(border);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.setClipRect(contentsRect());
        painter.drawPixmap(contentsRect().topLeft(), picture_);
    }
    QFrame::paintEvent(event); // the border over the picture's edge
}

} // namespace beltrix::ui
