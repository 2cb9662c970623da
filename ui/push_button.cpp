#include "ui/push_button.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace beltrix::ui {

PushButton::PushButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
}

void PushButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear(); // the style draws the bevel and focus; the caption is drawn wrapped
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect textArea = rect().adjusted(3, 1, -3, -1);
    if (isDown()) {
        textArea.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.drawItemText(textArea, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(),
                         text(), QPalette::ButtonText);
}

void PushButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace beltrix::ui
