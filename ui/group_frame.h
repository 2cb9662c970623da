#pragma once

#include <QGroupBox>

namespace beltrix::ui {

// A frame drawn as an etched rectangle on its own background, with its caption set into the top
// edge at the left. Styles draw group boxes their own way (a shaded panel, the caption above
// it); the window's layout expects this plain form.
class GroupFrame : public QGroupBox {
    Q_OBJECT

public:
    GroupFrame(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace beltrix::ui
