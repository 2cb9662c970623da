#include "ui/group_frame.h"

#include <QPainter>
#include <qdrawutil.h>

namespace beltrix::ui {

GroupFrame::GroupFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int captionMiddle = metrics.height() / 2;
    qDrawShadeRect(&painter, rect().adjusted(0, captionMiddle, 0, 0), palette(), true, 1);

    // The caption's background interrupts the top edge, blanks included.
    const QRect caption(8, 0, metrics.horizontalAdvance(title()), metrics.height());
    painter.fillRect(caption, palette().window());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, title());
}

} // namespace beltrix::ui
