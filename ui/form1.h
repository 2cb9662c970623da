#pragma once

// BELTRIX's main window. It is built from one table of controls (form1_layout.h) and has no
// behaviour of its own: every effect is the click of a button. A calculation button runs one
// operation of the engine (calc/calculator.h), which reads and writes the ten text fields and
// shows its messages through this window as its FieldHost; a sheet button shows a reference
// sheet (sheet_window.h).

#include "calc/calculator.h"
#include "calc/field_model.h"
#include "calc/notice.h"
#include "ui/form1_layout.h"
#include "ui/sheet_window.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace beltrix::ui {

class Form1 : public QWidget, public FieldHost {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

    std::string text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    void showNotice(Notice notice) override;
    void reportFailure(const Failure& failure) override;

    const Sheets& sheets() const { return sheets_; }
    QLineEdit* field(Field field) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void wire(QPushButton* button, const Action& action);

    Calculator calculator_{*this};
    bool clicking_ = false; // inside a button's click, message boxes included
    Sheets sheets_;
    std::array<QLineEdit*, allFields.size()> fields_{};
};

// The font of the window's controls: MS Sans Serif where the machine has it, else a sans face
// of close metrics. 8 pt regular, or 9.75 pt bold.
QFont controlFont(bool bold);
QString controlFontFamily(bool bold);

// Creates the main window and shows it as the program starts: centred on the screen, with the
// keyboard focus in Text2. It deletes itself when closed.
Form1* openMainWindow();

// Shows a modal message box captioned "BELTRIX" with the text, no icon and an OK button.
void showBeltrixMessage(QWidget* parent, const QString& text);

} // namespace beltrix::ui
