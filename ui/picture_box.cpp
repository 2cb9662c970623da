#include "ui/picture_box.h"

#include <QImage>
#include <QPainter>

namespace beltrix::ui {

QPixmap loadPicture(const QString& resource) {
    return QPixmap::fromImage(QImage(resource));
}

PictureBox::PictureBox(const QPixmap& picture, QWidget* parent)
    : QFrame(parent), picture_(picture) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
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
