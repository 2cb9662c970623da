// The main window as the user first sees it: the 55 controls of the layout table, each of the
// right kind, in the right parent, at the right place and size, with its exact caption or initial
// text, its font and its colours; the window around them; the three banner pictures.
//
// The table below is typed from the window's design, not taken from ui/form1_layout.h, so that a
// slip in that table shows up here.

#include "ui/form1.h"
#include "ui/picture_box.h"
#include "ui/push_button.h"
#include "window_test_support.h"

#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <array>

using namespace beltrix::ui;
using namespace beltrix::ui::test;

namespace {

enum Kind { Label, Picture, Button, Field, Frame };

// Background as the design names it. Free: the design leaves it open (Label1 and Label3) or the
// control has none of its own (picture boxes).
enum Background { WindowColour, White, SystemBase, SystemButton, Free };

struct ControlRow {
    const char* name;
    Kind kind;
    const char* parent;
    QRect geometry;
    const char* text;
    Background background;
    bool bold;
};

// clang-format off
const std::array<ControlRow, 55> controls = {{
    {"Label4", Label, "Form1", {0, 0, 217, 17}, "", WindowColour, true},
    {"Picture1", Picture, "Form1", {176, 8, 409, 49}, "", Free, false},
    {"Picture2", Picture, "Form1", {584, 8, 297, 49}, "", Free, false},
    {"Picture3", Picture, "Form1", {176, 56, 705, 49}, "", Free, false},
    {"Command16", Button, "Form1", {16, 136, 337, 25}, "REVERSE CALCULATE FROM SLOT AND PORT", SystemButton, false},
    {"Command6", Button, "Form1", {16, 168, 105, 25}, "CONVERT VLAN", SystemButton, false},
    {"Label9", Label, "Form1", {128, 168, 121, 17}, "FOR 48  PORT ", WindowColour, true},
    {"Command24", Button, "Form1", {240, 168, 113, 25}, "CONVERT TAG BLK", SystemButton, false},
    {"Label1", Label, "Form1", {24, 208, 121, 33}, "ENTER VLAN  OR", Free, false},
    {"Text2", Field, "Form1", {128, 200, 129, 25}, " ", White, false},
    {"Label5", Label, "Form1", {24, 240, 89, 17}, "TAG BLOCK NO", WindowColour, false},
    {"Text12", Field, "Form1", {128, 232, 129, 25}, "", White, false},
    {"Label3", Label, "Form1", {8, 280, 121, 17}, "     SLOT/PORT", Free, false},
    {"Text4", Field, "Form1", {128, 272, 57, 25}, " ", White, false},
    {"Text5", Field, "Form1", {200, 272, 57, 25}, " ", White, false},
    {"Command20", Button, "Form1", {16, 304, 337, 25}, "CLEAR", SystemButton, false},
    {"Label10", Label, "Form1", {182, 320, 7, 16}, "", WindowColour, true},
    {"Frame2", Frame, "Form1", {16, 336, 337, 137}, "                UNIVERSAL CALCULATOR ", WindowColour, true},
    {"Command21", Button, "Frame2", {0, 24, 337, 29}, "REVERSE CALCULATE FROM SLOT AND PORT", SystemButton, false},
    {"Command13", Button, "Frame2", {0, 64, 105, 33}, "CONVERT VLAN", SystemButton, false},
    {"Label2", Label, "Frame2", {112, 72, 169, 25}, "FOR  24  PORT", WindowColour, true},
    {"Command18", Button, "Frame2", {224, 64, 113, 29}, "CONVERT TAG BLK", SystemButton, false},
    {"Label8", Label, "Frame2", {8, 112, 105, 17}, "VLAN MINUS 127", WindowColour, false},
    {"Text3", Field, "Frame2", {224, 104, 105, 25}, "", SystemBase, false},
    {"Command8", Button, "Form1", {408, 224, 145, 33}, "OFFICERS LL S-Z", SystemButton, false},
    {"Command1", Button, "Form1", {568, 224, 145, 33}, "OFFICERS LL A-M", SystemButton, false},
    {"Command7", Button, "Form1", {408, 272, 145, 33}, "OFFICERS LL M-S", SystemButton, false},
    {"Command5", Button, "Form1", {568, 272, 145, 33}, "OFFICERS MOBILE  S-Z", SystemButton, false},
    {"Command4", Button, "Form1", {408, 328, 145, 33}, "OFFICERS MOBILE  N - R", SystemButton, false},
    {"Command3", Button, "Form1", {568, 328, 145, 33}, "OFFICERS MOBILE  J-M", SystemButton, false},
    {"Command2", Button, "Form1", {408, 376, 305, 33}, "OFFICERS MOBILE A - J", SystemButton, false},
    {"Label6", Label, "Form1", {800, 144, 217, 17}, "VLAN BASED CALCULATOR", WindowColour, true},
    {"Label15", Label, "Form1", {808, 168, 193, 25}, "ENTER   THE FOLLOWING   FEILD", WindowColour, false},
    {"Label7", Label, "Form1", {824, 192, 73, 33}, "DSLAM VLAN ", WindowColour, false},
    {"Label12", Label, "Form1", {904, 192, 81, 17}, " INNER VLAN", WindowColour, false},
    {"Text1", Field, "Form1", {824, 208, 73, 35}, "", SystemBase, false},
    {"Text6", Field, "Form1", {912, 208, 73, 35}, "", SystemBase, false},
    {"Label14", Label, "Form1", {824, 256, 161, 25}, "      CALCULATED OUTPUT", WindowColour, false},
    {"Text7", Field, "Form1", {912, 272, 73, 25}, "", SystemBase, false},
    {"Label11", Label, "Form1", {824, 280, 81, 25}, "TAG BLOCK NO", WindowColour, false},
    {"Label13", Label, "Form1", {832, 304, 161, 17}, "        SLOT            PORT", WindowColour, false},
    {"Text11", Field, "Form1", {824, 320, 73, 33}, "", SystemBase, false},
    {"Text13", Field, "Form1", {912, 320, 73, 33}, "", SystemBase, false},
    {"Command17", Button, "Form1", {824, 360, 161, 21}, "CLEAR", SystemButton, false},
    {"Command9", Button, "Form1", {824, 392, 161, 33}, "CALCULATE BASED ON DSLAM VLAN ", SystemButton, false},
    {"Command23", Button, "Form1", {16, 496, 145, 33}, "RASK-P2 CONNECTED DSLAMS", SystemButton, false},
    {"Command22", Button, "Form1", {216, 496, 145, 33}, "VELORA-P2 CONNECTED DSLAMS", SystemButton, false},
    {"Command25", Button, "Form1", {424, 496, 137, 33}, "MP DSLAMS", SystemButton, false},
    {"Command26", Button, "Form1", {640, 496, 137, 33}, "3M DSLAMS", SystemButton, false},
    {"Command27", Button, "Form1", {832, 496, 145, 33}, "OTHERS", SystemButton, false},
    {"Command10", Button, "Form1", {16, 536, 145, 33}, "MPLS A-C", SystemButton, false},
    {"Command11", Button, "Form1", {216, 536, 145, 33}, "MPLS C-H", SystemButton, false},
    {"Command12", Button, "Form1", {424, 536, 137, 33}, "MPLS  H-M", SystemButton, false},
    {"Command14", Button, "Form1", {640, 536, 137, 33}, "MPLS M -S", SystemButton, false},
    {"Command15", Button, "Form1", {832, 536, 145, 33}, "MPLS S-Z", SystemButton, false},
}};
// clang-format on

const QColor windowColour(192, 192, 255);

} // namespace

class Form1LayoutTest : public QObject {
    Q_OBJECT

private:
    QPointer<Form1> form_;
    ModalGuard guard_;

    QWidget* control(const char* name) const {
        return form_->findChild<QWidget*>(QString::fromLatin1(name));
    }

    static void addControlRows(bool (*wanted)(const ControlRow&)) {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (wanted(controls[i])) {
                QTest::newRow(controls[i].name) << static_cast<int>(i);
            }
        }
    }

private slots:
    void initTestCase() {
        silenceOffscreenNoise();
        form_ = openMainWindow();
        QVERIFY(form_);
        QVERIFY(QTest::qWaitForWindowExposed(form_));
    }

    void cleanupTestCase() { QVERIFY(closeAllAndCollectSurvivors().isEmpty()); }

    void cleanup() {
        const QStringList unexpected = guard_.takeUnexpected();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1Char('\n'))));
    }

    void windowHasItsClientSizeAndNoTitle() {
        QCOMPARE(form_->size(), QSize(1016, 591));
        QVERIFY(form_->isWindow());
        QCOMPARE(form_->windowTitle(), QString());
        QVERIFY(!form_->isModal());
    }

    void windowHasAnOrdinaryResizableFrame() {
        const Qt::WindowFlags flags = form_->windowFlags();
        QCOMPARE(form_->windowType(), Qt::Window);
        QVERIFY(!(flags & Qt::FramelessWindowHint));
        QVERIFY(form_->minimumSize() != form_->maximumSize());
    }

    void windowHasNoMenuToolStatusOrScrollBars() {
        QVERIFY(form_->findChildren<QMenuBar*>().isEmpty());
        QVERIFY(form_->findChildren<QToolBar*>().isEmpty());
        QVERIFY(form_->findChildren<QStatusBar*>().isEmpty());
        QVERIFY(form_->findChildren<QScrollBar*>().isEmpty());
        QVERIFY(form_->findChildren<QAbstractScrollArea*>().isEmpty());
    }

    void windowIsDrawnInTheWindowColour() {
        QCOMPARE(form_->palette().color(form_->backgroundRole()), windowColour);
        // An empty corner, right of the bottom row of sheet buttons.
        QCOMPARE(form_->grab().toImage().pixelColor(1005, 585), windowColour);
    }

    // No control is missing and none is extra: a stray widget named like a control would be
    // one the design doesn't have.
    void windowHoldsExactlyTheControlsOfTheLayout() {
        static const QRegularExpression controlName(
            QStringLiteral("^(Text|Command|Label|Picture|Frame)[0-9]+$"));
        QSet<QString> present;
        for (QWidget* child : form_->findChildren<QWidget*>()) {
            if (controlName.match(child->objectName()).hasMatch()) {
                QVERIFY2(!present.contains(child->objectName()), qPrintable(child->objectName()));
                present.insert(child->objectName());
            }
        }
        QSet<QString> expected;
        for (const ControlRow& row : controls) {
            expected.insert(QString::fromLatin1(row.name));
        }
        QCOMPARE(present, expected);
    }

    void controlStandsInPlace_data() {
        addControlRows([](const ControlRow&) { return true; });
    }
    void controlStandsInPlace() {
        QFETCH(int, index);
        const ControlRow& row = controls[static_cast<std::size_t>(index)];
        QWidget* widget = control(row.name);
        QVERIFY(widget);
        switch (row.kind) {
        case Label:
            QVERIFY(qobject_cast<QLabel*>(widget));
            break;
        case Picture:
            QVERIFY(qobject_cast<PictureBox*>(widget));
            break;
        case Button:
            QVERIFY(qobject_cast<PushButton*>(widget));
            break;
        case Field:
            QVERIFY(qobject_cast<QLineEdit*>(widget));
            break;
        case Frame:
            QVERIFY(qobject_cast<QGroupBox*>(widget));
            break;
        }
        QVERIFY(widget->parentWidget());
        QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(row.parent));
        QCOMPARE(widget->geometry(), row.geometry);
        QVERIFY(widget->isVisible());
    }

    void controlShowsItsTextExactly_data() {
        addControlRows([](const ControlRow& row) { return row.kind != Picture; });
    }
    void controlShowsItsTextExactly() {
        QFETCH(int, index);
        const ControlRow& row = controls[static_cast<std::size_t>(index)];
        QWidget* widget = control(row.name);
        QVERIFY(widget);
        const QString expected = QString::fromLatin1(row.text);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), expected);
            // Labels wrap at blanks and read from the left.
            QVERIFY(label->wordWrap());
            QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(field->text(), expected);
            QCOMPARE(field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
            QVERIFY(field->hasFrame());
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            QCOMPARE(frame->title(), expected);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QCOMPARE(button->text(), expected);
            QVERIFY(button->icon().isNull());
        } else {
            QFAIL("control of an unexpected kind");
        }
    }

    void controlUsesItsFont_data() {
        addControlRows([](const ControlRow& row) { return row.kind != Picture; });
    }
    void controlUsesItsFont() {
        QFETCH(int, index);
        const ControlRow& row = controls[static_cast<std::size_t>(index)];
        QWidget* widget = control(row.name);
        QVERIFY(widget);
        const QFont font = widget->font();
        QCOMPARE(font.family(), controlFontFamily(row.bold));
        QCOMPARE(font.pointSizeF(), row.bold ? 9.75 : 8.0);
        QCOMPARE(int(font.weight()), row.bold ? 700 : 400);
        QVERIFY(!font.italic());
        QVERIFY(!font.underline());
        QVERIFY(!font.strikeOut());
    }

    void controlHasItsBackground_data() {
        addControlRows([](const ControlRow& row) { return row.background != Free; });
    }
    void controlHasItsBackground() {
        QFETCH(int, index);
        const ControlRow& row = controls[static_cast<std::size_t>(index)];
        QWidget* widget = control(row.name);
        QVERIFY(widget);
        switch (row.background) {
        case WindowColour: {
            QCOMPARE(widget->palette().color(widget->backgroundRole()), windowColour);
            // A point no text or child reaches: the bottom-right corner of a label, a gap below
            // "VLAN MINUS 127" in the frame.
            const QPoint probe = row.kind == Frame
                                     ? QPoint(160, 120)
                                     : QPoint(row.geometry.width() - 1, row.geometry.height() - 1);
            QCOMPARE(widget->grab().toImage().pixelColor(probe), windowColour);
            break;
        }
        case White:
            QCOMPARE(widget->palette().color(QPalette::Base), QColor(Qt::white));
            break;
        case SystemBase:
            QCOMPARE(widget->palette().color(QPalette::Base),
                     QApplication::palette(widget).color(QPalette::Base));
            break;
        case SystemButton:
            QCOMPARE(widget->palette().color(QPalette::Button),
                     QApplication::palette(widget).color(QPalette::Button));
            QCOMPARE(widget->palette().color(QPalette::ButtonText),
                     QApplication::palette(widget).color(QPalette::ButtonText));
            break;
        case Free:
            QFAIL("row without a background to check");
        }
    }

    void bannerHoldsItsPicture_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("Picture1 first banner") << "Picture1" << QSize(400, 49);
        QTest::newRow("Picture2 second banner") << "Picture2" << QSize(329, 51);
        QTest::newRow("Picture3 third banner") << "Picture3" << QSize(715, 124);
    }
    void bannerHoldsItsPicture() {
        QFETCH(QString, box);
        QFETCH(QSize, pictureSize);
        auto* picture = qobject_cast<PictureBox*>(form_->findChild<QWidget*>(box));
        QVERIFY(picture);
        QCOMPARE(picture->picture().size(), pictureSize);
        // The sunken border is two pixels wide: Picture2 shows 293 x 45 pixels of its banner.
        QCOMPARE(picture->contentsRect(), picture->rect().adjusted(2, 2, -2, -2));
    }

    // Where a field, button or picture box overlaps a label, it lies on top and takes the mouse.
    void controlCoversTheLabelItOverlaps_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("cover");
        QTest::addColumn<QPoint>("where"); // in the parent's coordinates
        QTest::newRow("Command24 over Label9") << "Label9"
                                               << "Command24" << QPoint(245, 175);
        QTest::newRow("Text2 over Label1") << "Label1"
                                           << "Text2" << QPoint(135, 215);
        QTest::newRow("Text4 over Label3") << "Label3"
                                           << "Text4" << QPoint(128, 285);
        QTest::newRow("Command20 over Label10") << "Label10"
                                                << "Command20" << QPoint(185, 322);
        QTest::newRow("Command18 over Label2 in Frame2") << "Label2"
                                                         << "Command18" << QPoint(250, 80);
        QTest::newRow("Text1 over Label7") << "Label7"
                                           << "Text1" << QPoint(850, 215);
        QTest::newRow("Text6 over Label12") << "Label12"
                                            << "Text6" << QPoint(950, 208);
        QTest::newRow("Text7 over Label14") << "Label14"
                                            << "Text7" << QPoint(950, 275);
        QTest::newRow("Text11 over Label13") << "Label13"
                                             << "Text11" << QPoint(850, 320);
    }
    void controlCoversTheLabelItOverlaps() {
        QFETCH(QString, label);
        QFETCH(QString, cover);
        QFETCH(QPoint, where);
        QWidget* covered = form_->findChild<QWidget*>(label);
        QWidget* covering = form_->findChild<QWidget*>(cover);
        QVERIFY(covered && covering);
        QVERIFY(covered->geometry().contains(where));
        QVERIFY(covering->geometry().contains(where));
        QCOMPARE(covered->parentWidget()->childAt(where), covering);
    }

    // The layout is fixed: a smaller window clips the controls, a larger one shows more window
    // colour, and nothing moves or stretches.
    void resizingTheWindowMovesNothing_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("shrunk below the design size") << QSize(500, 300);
        QTest::newRow("enlarged beyond the design size") << QSize(1400, 900);
    }
    void resizingTheWindowMovesNothing() {
        QFETCH(QSize, size);
        form_->resize(size);
        QTRY_COMPARE(form_->size(), size);
        for (const ControlRow& row : controls) {
            QWidget* widget = control(row.name);
            QVERIFY(widget);
            QVERIFY2(widget->geometry() == row.geometry, row.name);
        }
        form_->resize(1016, 591);
        QTRY_COMPARE(form_->size(), QSize(1016, 591));
    }
};

QTEST_MAIN(Form1LayoutTest)
#include "form1_layout_test.moc"
