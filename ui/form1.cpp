#include "ui/form1.h"

#include "calc/failure.h"
#include "ui/form1_layout.h"
#include "ui/group_frame.h"
#include "ui/packed_picture.h"
#include "ui/picture_box.h"
#include "ui/push_button.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace beltrix::ui {
namespace {

const QColor windowColour(192, 192, 255);
constexpr qreal layoutDpi = 96.0;

// Sets a role of the widget's palette from the layout's colour. System colours are the
// palette's own, so they follow the desktop.
void applyColour(QWidget* widget, QPalette::ColorRole role, Colour colour) {
    QPalette palette = widget->palette();
    switch (colour) {
    case Colour::System:
        return;
    case Colour::WindowColour:
        palette.setColor(role, windowColour);
        break;
    case Colour::White:
        palette.setColor(role, Qt::white);
        break;
    case Colour::SystemWindowBackground:
        palette.setColor(role, palette.color(QPalette::Base));
        break;
    case Colour::SystemWindowText:
        palette.setColor(role, palette.color(QPalette::Text));
        break;
    case Colour::SystemButtonText:
        palette.setColor(role, palette.color(QPalette::ButtonText));
        break;
    case Colour::SystemWindowFrame:
        // Qt has no role for the window frame; desktops draw it in the window text colour.
        palette.setColor(role, palette.color(QPalette::WindowText));
        break;
    }
    widget->setPalette(palette);
}

// Where the layout fixes a control's background (the white fields, the light blue labels and
// frame), its text must read on that background whatever the desktop's colours are: a dark
// desktop's light text would vanish on white. The desktop's own text colour is kept where it reads
// (on every light desktop it does, so nothing changes there); elsewhere the classic window-text
// black takes its place. Likewise a white field keeps the desktop's selection colours where the
// desktop's fields are light, since those colours were made for light fields, and otherwise takes
// the classic ones.
const QColor classicWindowText(0, 0, 0);
const QColor classicHighlight(0, 0, 128);
const QColor classicHighlightedText(255, 255, 255);

bool isFixed(Colour colour) {
    return colour == Colour::WindowColour || colour == Colour::White;
}

// The contrast ratio of two colours as the web's accessibility guidelines define it, from 1 (the
// same) to 21 (black on white).
qreal contrastRatio(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](qreal v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What the guidelines ask of ordinary text.
constexpr qreal readableContrast = 4.5;

// Sets the control's background and text colours from the layout; a fixed background brings a
// text colour (and, for a text field, selection colours) that reads on it.
void applyColours(QWidget* widget, QPalette::ColorRole backgroundRole, QPalette::ColorRole textRole,
                  const ControlSpec& spec) {
    const bool lightDesktopFields = widget->palette().color(QPalette::Base).lightnessF() >= 0.5;
    applyColour(widget, backgroundRole, spec.background);
    applyColour(widget, textRole, spec.foreground);
    if (!isFixed(spec.background)) {
        return;
    }
    QPalette palette = widget->palette();
    const QColor background = palette.color(backgroundRole);
    // A disabled text is meant to read faintly; no control here is ever disabled.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        if (contrastRatio(palette.color(group, textRole), background) < readableContrast) {
            palette.setColor(group, textRole, classicWindowText);
        }
    }
    if (spec.kind == Kind::TextField && !lightDesktopFields) {
        palette.setColor(QPalette::Highlight, classicHighlight);
        palette.setColor(QPalette::HighlightedText, classicHighlightedText);
    }
    widget->setPalette(palette);
}

QWidget* createControl(const ControlSpec& spec, QWidget* parent) {
    const QString text = QString::fromUtf8(spec.text);
    switch (spec.kind) {
    case Kind::Label: {
        auto* label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAutoFillBackground(true);
        applyColours(label, QPalette::Window, QPalette::WindowText, spec);
        return label;
    }
    case Kind::PictureBox:
        return new PictureBox(QPixmap::fromImage(packedPictures(text).value(0)), parent);
    case Kind::PushButton:
        return new PushButton(text, parent);
    case Kind::TextField: {
        auto* field = new QLineEdit(text, parent);
        field->setMaxLength(std::numeric_limits<int>::max()); // no limit: Qt's default is 32767
        applyColours(field, QPalette::Base, QPalette::Text, spec);
        return field;
    }
    case Kind::Frame: {
        auto* frame = new GroupFrame(text, parent);
        frame->setAutoFillBackground(true);
        applyColours(frame, QPalette::Window, QPalette::WindowText, spec);
        return frame;
    }
    }
    return nullptr;
}

// Screen readers announce a control by its accessible name: a field by the label beside it, a
// button by its caption, and where two share the same words, the calculator or row they belong
// to as well.
QString accessibleNameOf(const ControlSpec& spec) {
    struct Context {
        std::string_view control;
        std::string_view context;
    };
    static constexpr Context contexts[] = {
        {"Text7", "VLAN-based calculator"},
        {"Text11", "VLAN-based calculator"},
        {"Text13", "VLAN-based calculator"},
        {"Command17", "VLAN-based calculator"},
        {"Text12", "port calculator"},
        {"Text4", "port calculator"},
        {"Text5", "port calculator"},
        {"Command20", "port calculator"},
        {"Command6", "48 port"},
        {"Command24", "48 port"},
        {"Command16", "48 port"},
        {"Command13", "24 port"},
        {"Command18", "24 port"},
        {"Command21", "24 port"},
    };
    QString name;
    if (auto field = fieldFromName(spec.name)) {
        name = QString::fromUtf8(fieldLabel(*field));
    } else if (spec.kind == Kind::PushButton) {
        name = QString::fromUtf8(spec.text).simplified();
    } else if (spec.kind == Kind::PictureBox) {
        name = QStringLiteral("BELTRIX banner");
    } else {
        return {};
    }
    for (const Context& c : contexts) {
        if (c.control == spec.name) {
            name += QStringLiteral(", ") + QString::fromUtf8(c.context);
        }
    }
    return name;
}

} // namespace

QString controlFontFamily(bool bold) {
    static const bool msSansSerif = QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"));
    if (msSansSerif) {
        return QStringLiteral("MS Sans Serif");
    }
    // Tahoma was drawn to the metrics of MS Sans Serif. Where the desktop doesn't list it, Wine's
    // outline Tahoma may still be installed in a shared data folder (Debian's fonts-wine puts it
    // in /usr/share/wine/fonts, which fontconfig doesn't look in). Its bold doesn't render bold,
    // so bold text, and any text where Tahoma is missing, takes Liberation Sans.
    static const bool tahoma = [] {
        if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
            return true;
        }
        const QString file = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                    QStringLiteral("wine/fonts/tahoma.ttf"));
        return !file.isEmpty() && QFontDatabase::addApplicationFont(file) >= 0;
    }();
    return tahoma && !bold ? QStringLiteral("Tahoma") : QStringLiteral("Liberation Sans");
}

QFont controlFont(bool bold) {
    QFont font(controlFontFamily(bold));
    font.setStyleHint(QFont::SansSerif);
    // The layout is fixed in pixels at 96 dpi, so the texts must keep their size in those pixels
    // whatever font resolution the desktop sets: 8 pt at 96 dpi is 8 * 96 / 72 pixels. Scaling
    // the whole window (QT_SCALE_FACTOR, high-DPI screens) leaves the logical resolution at 96
    // and scales text and layout alike.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen != nullptr ? screen->logicalDotsPerInchY() : layoutDpi;
    const qreal points = bold ? 9.75 : 8.0;
    font.setPointSizeF(points * layoutDpi / (dpi > 0 ? dpi : layoutDpi));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

void showBeltrixMessage(QWidget* parent, const QString& text) {
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("BELTRIX"));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

Form1* openMainWindow() {
    auto* window = new Form1;
    window->setAttribute(Qt::WA_DeleteOnClose); // the program's window goes when it closes
    window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(),
                                            window->screen()->availableGeometry()));
    window->show();
    window->field(Field::Text2)->setFocus();
    return window;
}

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, windowColour);
    setPalette(palette);
    setAutoFillBackground(true);
    resize(form1Width, form1Height);

    buildControls();
}

void Form1::buildControls() {
    const QFont regularFont = controlFont(false);
    const QFont boldFont = controlFont(true);
    setFont(regularFont);
    // Frame2 is made first, so that its controls have their parent whatever the table's order.
    QWidget* frame2 = nullptr;
    std::vector<const ControlSpec*> specs;
    for (const ControlSpec& spec : form1Controls) {
        if (spec.kind == Kind::Frame) {
            specs.insert(specs.begin(), &spec);
        } else {
            specs.push_back(&spec);
        }
    }
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlSpec* spec : specs) {
        QWidget* parent = spec->parent == Parent::Frame2 ? frame2 : this;
        QWidget* control = createControl(*spec, parent);
        control->setObjectName(QString::fromUtf8(spec->name));
        const Geometry& g = spec->geometry;
        control->setGeometry(g.left, g.top, g.width, g.height);
        // Controls take the window's regular font, set before they are made, unless they are
        // bold; Frame2 is bold, so the regular controls inside it need their own.
        if (spec->bold || spec->parent == Parent::Frame2) {
            control->setFont(spec->bold ? boldFont : regularFont);
        }
        control->setAccessibleName(accessibleNameOf(*spec));
        if (spec->kind == Kind::Frame) {
            frame2 = control;
        }
        if (spec->kind == Kind::Label) {
            control->lower(); // fields, buttons and pictures overlapping a label cover it
        }
        if (auto name = fieldFromName(spec->name)) {
            fields_[static_cast<std::size_t>(*name)] = static_cast<QLineEdit*>(control);
        }
        if (control->focusPolicy() != Qt::NoFocus) {
            tabOrder.emplace_back(spec->tabIndex, control);
        }
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            wire(button, spec->action);
        }
    }
    std::stable_sort(tabOrder.begin(), tabOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }
}

// A button runs the action its row of the layout names. While one click is inside its message
// box, which only looks modal to the mouse and keyboard (a screen reader can still press a
// button), any other click is ignored, so that one operation never runs inside another.
void Form1::wire(QPushButton* button, const Action& action) {
    connect(button, &QPushButton::clicked, this, [this, action] {
        if (clicking_) {
            return;
        }
        clicking_ = true;
        if (const Button* calculation = std::get_if<Button>(&action)) {
            calculator_.click(*calculation);
        } else if (const Sheet* sheet = std::get_if<Sheet>(&action)) {
            sheets_.show(*sheet);
        }
        clicking_ = false;
    });
}

// The window has no title. Qt gives a window with an empty title the application's name in the
// title bar, so the native window gets a single blank instead.
void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QWindow* native = windowHandle()) {
        native->setTitle(QStringLiteral(" "));
    }
}

QLineEdit* Form1::field(Field field) const {
    return fields_[static_cast<std::size_t>(field)];
}

std::string Form1::text(Field f) const {
    return field(f)->text().toStdString();
}

void Form1::setText(Field f, const std::string& text) {
    field(f)->setText(QString::fromStdString(text));
}

void Form1::showNotice(Notice notice) {
    showBeltrixMessage(this, QString::fromUtf8(noticeText(notice)));
}

void Form1::reportFailure(const Failure& failure) {
    showBeltrixMessage(this, QString::fromStdString(failureMessage(failure)));
}

} // namespace beltrix::ui
