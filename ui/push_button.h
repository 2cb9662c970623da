#pragma once

#include <QPushButton>

namespace beltrix::ui {

// A push button whose caption wraps onto a second line at a blank when it is wider than the
// button, and which is clicked by Enter as well as Space while it has the focus.
class PushButton : public QPushButton {
    Q_OBJECT

public:
    PushButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace beltrix::ui
