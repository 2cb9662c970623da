// The main window at work, driven as a user drives it: keys typed into the fields, buttons
// clicked or pressed from the keyboard, Tab and Shift+Tab walking the focus. Each calculation
// button runs its operation on what the fields hold and shows its messages as a "BELTRIX" box,
// with the results written so far visible behind the box; nothing but a button's click runs
// anything.

#include "ui/form1.h"
#include "window_test_support.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace beltrix::ui;
using namespace beltrix::ui::test;

namespace {

using FieldTexts = QMap<QString, QString>;

const QStringList fieldNames = {
    QStringLiteral("Text1"),  QStringLiteral("Text6"),  QStringLiteral("Text7"),
    QStringLiteral("Text11"), QStringLiteral("Text13"), QStringLiteral("Text2"),
    QStringLiteral("Text12"), QStringLiteral("Text4"),  QStringLiteral("Text5"),
    QStringLiteral("Text3"),
};

// The keyboard order: ascending tab index over every control that takes the focus, the six
// inside Frame2 included as if they stood in the window.
const QStringList tabSequence = {
    QStringLiteral("Text2"),     QStringLiteral("Text4"),     QStringLiteral("Text5"),
    QStringLiteral("Command6"),  QStringLiteral("Command20"), QStringLiteral("Command13"),
    QStringLiteral("Command23"), QStringLiteral("Text12"),    QStringLiteral("Command24"),
    QStringLiteral("Command22"), QStringLiteral("Command25"), QStringLiteral("Command26"),
    QStringLiteral("Command27"), QStringLiteral("Command1"),  QStringLiteral("Command2"),
    QStringLiteral("Command3"),  QStringLiteral("Command4"),  QStringLiteral("Command5"),
    QStringLiteral("Command7"),  QStringLiteral("Command8"),  QStringLiteral("Picture1"),
    QStringLiteral("Picture2"),  QStringLiteral("Text1"),     QStringLiteral("Text6"),
    QStringLiteral("Text11"),    QStringLiteral("Text13"),    QStringLiteral("Command9"),
    QStringLiteral("Picture3"),  QStringLiteral("Command10"), QStringLiteral("Command11"),
    QStringLiteral("Command12"), QStringLiteral("Command14"), QStringLiteral("Command15"),
    QStringLiteral("Command16"), QStringLiteral("Command17"), QStringLiteral("Command18"),
    QStringLiteral("Command21"), QStringLiteral("Text3"),     QStringLiteral("Text7"),
};

const QString secondFrame = noticeString(Notice::PortInSecondFrame);
const QString slotSecondFrame = noticeString(Notice::SlotPortInSecondFrame);

} // namespace

class Form1BehaviourTest : public QObject {
    Q_OBJECT

private:
    QPointer<Form1> form_;
    ModalGuard guard_;

    QLineEdit* field(const QString& name) const { return form_->findChild<QLineEdit*>(name); }
    QPushButton* button(const QString& name) const { return form_->findChild<QPushButton*>(name); }

    FieldTexts fieldTexts() const {
        FieldTexts texts;
        for (const QString& name : fieldNames) {
            texts.insert(name, field(name)->text());
        }
        return texts;
    }

    // Whether the user can type into Text3 is the window's choice; where it can't, the test
    // puts the text there directly, as an earlier calculation would have.
    void fill(const FieldTexts& texts) {
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            QLineEdit* target = field(it.key());
            QVERIFY2(target, qPrintable(it.key()));
            if (target->isReadOnly()) {
                target->setText(it.value());
            } else {
                typeInto(target, it.value());
            }
            QCOMPARE(target->text(), it.value());
        }
    }

    static qsizetype visibleWindows() {
        qsizetype count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            count += widget->isVisible() ? 1 : 0;
        }
        return count;
    }

    // The walk leaves out Command6 and Command20 where the window doesn't let Tab stop on them;
    // the design allows either.
    QStringList walkedSequence() const {
        QStringList sequence = tabSequence;
        for (const QString& optional : {QStringLiteral("Command6"), QStringLiteral("Command20")}) {
            if (!(button(optional)->focusPolicy() & Qt::TabFocus)) {
                sequence.removeOne(optional);
            }
        }
        return sequence;
    }

private slots:
    void initTestCase() { silenceOffscreenNoise(); }

    void init() {
        form_ = openMainWindow();
        QVERIFY(form_);
        QVERIFY(bringToFront(form_));
    }

    void cleanup() {
        const QString problems = finishCase(guard_);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void focusWalksTheKeyboardOrder_data() {
        QTest::addColumn<bool>("forward");
        QTest::newRow("Tab visits every control in order and wraps to Text2") << true;
        QTest::newRow("Shift+Tab visits them in reverse, Text7 first, and wraps") << false;
    }
    void focusWalksTheKeyboardOrder() {
        QFETCH(bool, forward);
        QStringList expected = walkedSequence();
        QVERIFY(expected.size() >= 37);
        if (forward) {
            expected.append(expected.takeFirst()); // after the last control comes Text2 again
        } else {
            std::reverse(expected.begin(), expected.end()); // Text7, Text3, ..., Text4, Text2
        }
        QCOMPARE(QApplication::focusWidget(), field(QStringLiteral("Text2"))); // where it starts
        for (const QString& next : expected) {
            QWidget* from = QApplication::focusWidget();
            QVERIFY(from);
            if (forward) {
                QTest::keyClick(from, Qt::Key_Tab);
            } else {
                QTest::keyClick(from, Qt::Key_Backtab, Qt::ShiftModifier);
            }
            QVERIFY(QApplication::focusWidget());
            QVERIFY2(QApplication::focusWidget()->objectName() == next,
                     qPrintable(QStringLiteral("after %1 came %2, expected %3")
                                    .arg(from->objectName(),
                                         QApplication::focusWidget()->objectName(), next)));
        }
        QCOMPARE(visibleWindows(), 1); // walking the focus runs no button
    }

    void buttonRunsItsOperation_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<FieldTexts>("typed");
        QTest::addColumn<Dismissal>("dismissal");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<FieldTexts>>("behindMessages");
        QTest::addColumn<FieldTexts>("changed");

        QTest::newRow("Command9 48-port: inner VLAN 200 is tag block 73, slot 2, port 25")
            << "Command9" << FieldTexts{{"Text1", "2002"}, {"Text6", "200"}} << Dismissal::OkButton
            << QStringList{} << QList<FieldTexts>{}
            << FieldTexts{{"Text7", "73"}, {"Text11", "2"}, {"Text13", "25"}};
        QTest::newRow(
            "Command9 48-port: tag block 769 shows behind the box, then five fields empty")
            << "Command9"
            << FieldTexts{{"Text1", "2002"}, {"Text6", "896"}, {"Text11", "9"}, {"Text13", "9"}}
            << Dismissal::EscapeKey << QStringList{noticeString(Notice::EnterValidPort)}
            << QList<FieldTexts>{{{"Text1", "2002"},
                                  {"Text6", "896"},
                                  {"Text7", "769"},
                                  {"Text11", "9"},
                                  {"Text13", "9"}}}
            << FieldTexts{
                   {"Text1", ""}, {"Text6", ""}, {"Text7", ""}, {"Text11", ""}, {"Text13", ""}};
        QTest::newRow("Command9 24-port second frame: notice first, then Text3 473 and Text6 216")
            << "Command9" << FieldTexts{{"Text1", "3500"}, {"Text6", "600"}} << Dismissal::EnterKey
            << QStringList{secondFrame}
            << QList<FieldTexts>{{{"Text6", "600"}, {"Text7", ""}, {"Text3", ""}}}
            << FieldTexts{{"Text3", "473"},
                          {"Text7", "89"},
                          {"Text6", "216"},
                          {"Text11", "4"},
                          {"Text13", "17"}};
        QTest::newRow(
            "Command9 control cards: tag block 337 behind the notice, then slot 9, port 0")
            << "Command9" << FieldTexts{{"Text1", "3900"}, {"Text6", "464"}}
            << Dismissal::CloseButton << QStringList{noticeString(Notice::ControlCardSlots)}
            << QList<FieldTexts>{{{"Text7", "337"}, {"Text11", ""}, {"Text13", ""}}}
            << FieldTexts{{"Text7", "337"}, {"Text11", "9"}, {"Text13", "0"}};
        QTest::newRow("Command9 DSLAM VLAN in no group leaves every field alone")
            << "Command9"
            << FieldTexts{{"Text1", "2024"}, {"Text6", "200"}, {"Text7", "5"}, {"Text11", "6"}}
            << Dismissal::OkButton << QStringList{noticeString(Notice::UnknownDslamVlan)}
            << QList<FieldTexts>{} << FieldTexts{};
        QTest::newRow("Command17 empties the VLAN-based panel and Text3, nothing else")
            << "Command17"
            << FieldTexts{{"Text1", "2002"}, {"Text6", "200"}, {"Text7", "73"},   {"Text11", "2"},
                          {"Text13", "25"},  {"Text2", "300"}, {"Text12", "173"}, {"Text4", "4"},
                          {"Text5", "29"},   {"Text3", "173"}}
            << Dismissal::OkButton << QStringList{} << QList<FieldTexts>{}
            << FieldTexts{{"Text1", ""}, {"Text3", ""},  {"Text6", ""},
                          {"Text7", ""}, {"Text11", ""}, {"Text13", ""}};
        QTest::newRow("Command6 48-port: VLAN 300 is tag block 173, slot 4, port 29")
            << "Command6" << FieldTexts{{"Text2", "300"}} << Dismissal::OkButton << QStringList{}
            << QList<FieldTexts>{}
            << FieldTexts{{"Text12", "173"}, {"Text4", "4"}, {"Text5", "29"}};
        QTest::newRow(
            "Command6 48-port: tag block 769 shows behind the box, then the panel empties")
            << "Command6"
            << FieldTexts{{"Text2", "896"}, {"Text3", "55"}, {"Text4", "9"}, {"Text5", "9"}}
            << Dismissal::OkButton << QStringList{noticeString(Notice::EnterValidPort)}
            << QList<FieldTexts>{{{"Text2", "896"},
                                  {"Text12", "769"},
                                  {"Text3", "55"},
                                  {"Text4", "9"}}}
            << FieldTexts{
                   {"Text2", ""}, {"Text3", ""}, {"Text12", ""}, {"Text4", ""}, {"Text5", ""}};
        QTest::newRow("Command24 48-port: tag block 173 is VLAN 300, slot 4, port 29")
            << "Command24" << FieldTexts{{"Text12", "173"}} << Dismissal::OkButton << QStringList{}
            << QList<FieldTexts>{} << FieldTexts{{"Text2", "300"}, {"Text4", "4"}, {"Text5", "29"}};
        QTest::newRow("Command24 tag block that is not a number is named and changes nothing")
            << "Command24" << FieldTexts{{"Text12", "12abc"}} << Dismissal::OkButton
            << QStringList{"TAG BLOCK NO: \"12abc\" is not a number."} << QList<FieldTexts>{}
            << FieldTexts{};
        QTest::newRow("Command16 48-port: slot 4, port 29 is tag block 173, VLAN 300")
            << "Command16" << FieldTexts{{"Text4", "4"}, {"Text5", "29"}} << Dismissal::OkButton
            << QStringList{} << QList<FieldTexts>{}
            << FieldTexts{{"Text12", "173"}, {"Text2", "300"}};
        QTest::newRow("Command16 port 49 is refused; Text3 keeps its text")
            << "Command16"
            << FieldTexts{{"Text4", "1"},
                          {"Text5", "49"},
                          {"Text2", "300"},
                          {"Text12", "5"},
                          {"Text3", "7"}}
            << Dismissal::EscapeKey << QStringList{noticeString(Notice::EnterValidPortCapital)}
            << QList<FieldTexts>{}
            << FieldTexts{{"Text2", ""}, {"Text12", ""}, {"Text4", ""}, {"Text5", ""}};
        QTest::newRow("Command20 empties the port calculator, nothing else")
            << "Command20"
            << FieldTexts{{"Text2", "300"}, {"Text12", "173"}, {"Text4", "4"}, {"Text5", "29"},
                          {"Text3", "173"}, {"Text1", "2002"}, {"Text7", "73"}}
            << Dismissal::OkButton << QStringList{} << QList<FieldTexts>{}
            << FieldTexts{
                   {"Text2", ""}, {"Text3", ""}, {"Text12", ""}, {"Text4", ""}, {"Text5", ""}};
        QTest::newRow("Command13 24-port: VLAN 300 is slot 8, port 5")
            << "Command13" << FieldTexts{{"Text2", "300"}} << Dismissal::OkButton << QStringList{}
            << QList<FieldTexts>{}
            << FieldTexts{{"Text12", "173"}, {"Text3", "173"}, {"Text4", "8"}, {"Text5", "5"}};
        QTest::newRow("Command13 24-port: VLAN 527 is announced before anything is written")
            << "Command13" << FieldTexts{{"Text2", "527"}} << Dismissal::OkButton
            << QStringList{secondFrame}
            << QList<FieldTexts>{{{"Text2", "527"}, {"Text12", ""}, {"Text3", ""}}}
            << FieldTexts{{"Text2", "143"},
                          {"Text12", "16"},
                          {"Text3", "400"},
                          {"Text4", "1"},
                          {"Text5", "16"}};
        QTest::newRow("Command18 24-port: tag block 173 is VLAN 300, slot 8, port 5")
            << "Command18" << FieldTexts{{"Text12", "173"}} << Dismissal::OkButton << QStringList{}
            << QList<FieldTexts>{}
            << FieldTexts{{"Text2", "300"},
                          {"Text12", "173"},
                          {"Text3", "173"},
                          {"Text4", "8"},
                          {"Text5", "5"}};
        QTest::newRow("Command18 24-port: VLAN 527 shows behind the second-frame notice")
            << "Command18" << FieldTexts{{"Text12", "400"}} << Dismissal::CloseButton
            << QStringList{secondFrame}
            << QList<FieldTexts>{{{"Text2", "527"}, {"Text12", "400"}, {"Text3", ""}}}
            << FieldTexts{{"Text2", "527"},
                          {"Text12", "16"},
                          {"Text3", "400"},
                          {"Text4", "1"},
                          {"Text5", "16"}};
        QTest::newRow("Command21 24-port: slot 8, port 5 is tag block 173, VLAN 300")
            << "Command21" << FieldTexts{{"Text4", "8"}, {"Text5", "5"}} << Dismissal::OkButton
            << QStringList{} << QList<FieldTexts>{}
            << FieldTexts{{"Text12", "173"}, {"Text3", "173"}, {"Text2", "300"}};
        QTest::newRow("Command21 24-port: slot 17, port 16 is announced as the second frame")
            << "Command21" << FieldTexts{{"Text4", "17"}, {"Text5", "16"}} << Dismissal::EnterKey
            << QStringList{slotSecondFrame}
            << QList<FieldTexts>{{{"Text4", "17"}, {"Text3", ""}, {"Text12", ""}}}
            << FieldTexts{{"Text3", "400"}, {"Text4", "1"}, {"Text12", "16"}, {"Text2", "143"}};
        QTest::newRow("Command21 slot 20, port 0: notice, refusal, then the panel empties")
            << "Command21"
            << FieldTexts{{"Text4", "20"}, {"Text5", "0"}, {"Text2", "1"}, {"Text12", "1"}}
            << Dismissal::OkButton
            << QStringList{slotSecondFrame, noticeString(Notice::EnterValidPortCapital)}
            << QList<FieldTexts>{{{"Text3", ""}, {"Text4", "20"}},
                                 {{"Text3", "456"}, {"Text4", "20"}}}
            << FieldTexts{
                   {"Text2", ""}, {"Text12", ""}, {"Text4", ""}, {"Text5", ""}, {"Text3", ""}};
    }
    void buttonRunsItsOperation() {
        QFETCH(QString, command);
        QFETCH(FieldTexts, typed);
        QFETCH(Dismissal, dismissal);
        QFETCH(QStringList, messages);
        QFETCH(QList<FieldTexts>, behindMessages);
        QFETCH(FieldTexts, changed);

        fill(typed);
        FieldTexts expected = fieldTexts();
        expected.insert(changed);
        QPushButton* target = button(command);
        QVERIFY(target);

        QList<FieldTexts> seenBehind;
        const QList<SeenMessage> seen =
            guard_.expectMessages([&] { QTest::mouseClick(target, Qt::LeftButton); }, dismissal,
                                  [&] { seenBehind << fieldTexts(); });

        QStringList texts;
        for (const SeenMessage& message : seen) {
            texts << message.text;
            QCOMPARE(message.title, QStringLiteral("BELTRIX"));
            QCOMPARE(message.icon, QMessageBox::NoIcon);
            QCOMPARE(message.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(message.buttonCount, 1);
            QVERIFY(message.applicationModal);
            QVERIFY2(message.wentAway, dismissalName(dismissal));
        }
        QCOMPARE(texts, messages);
        for (qsizetype i = 0; i < behindMessages.size(); ++i) {
            for (auto it = behindMessages[i].begin(); it != behindMessages[i].end(); ++it) {
                QVERIFY2(seenBehind[i].value(it.key()) == it.value(),
                         qPrintable(QStringLiteral("behind message %1, %2 held \"%3\"")
                                        .arg(i)
                                        .arg(it.key(), seenBehind[i].value(it.key()))));
            }
        }
        QCOMPARE(fieldTexts(), expected);
        QCOMPARE(visibleWindows(), 1);
    }

    // A field holds whatever is put into it, however long; the calculations read it whole.
    void fieldHoldsTextOfAnyLength() {
        const QString longText(100000, QLatin1Char('7'));
        for (const QString& name : fieldNames) {
            field(name)->setText(longText);
            QVERIFY2(field(name)->text() == longText, qPrintable(name));
        }
    }

    // There is no default button, but a focused button answers Enter as well as Space.
    void focusedButtonAnswersEnterAndSpace_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<FieldTexts>("typed");
        QTest::addColumn<FieldTexts>("changed");
        QTest::newRow("Return on Command9 calculates")
            << "Command9" << int(Qt::Key_Return) << int(Qt::NoModifier)
            << FieldTexts{{"Text1", "2002"}, {"Text6", "200"}}
            << FieldTexts{{"Text7", "73"}, {"Text11", "2"}, {"Text13", "25"}};
        QTest::newRow("keypad Enter on Command24 converts the tag block")
            << "Command24" << int(Qt::Key_Enter) << int(Qt::KeypadModifier)
            << FieldTexts{{"Text12", "173"}}
            << FieldTexts{{"Text2", "300"}, {"Text4", "4"}, {"Text5", "29"}};
        QTest::newRow("Space on Command16 reverses slot and port")
            << "Command16" << int(Qt::Key_Space) << int(Qt::NoModifier)
            << FieldTexts{{"Text4", "4"}, {"Text5", "29"}}
            << FieldTexts{{"Text12", "173"}, {"Text2", "300"}};
        QTest::newRow("Space on Command17 clears the VLAN-based panel")
            << "Command17" << int(Qt::Key_Space) << int(Qt::NoModifier)
            << FieldTexts{{"Text1", "2002"}, {"Text7", "73"}}
            << FieldTexts{{"Text1", ""}, {"Text7", ""}};
    }
    void focusedButtonAnswersEnterAndSpace() {
        QFETCH(QString, command);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(FieldTexts, typed);
        QFETCH(FieldTexts, changed);

        fill(typed);
        FieldTexts expected = fieldTexts();
        expected.insert(changed);
        button(command)->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), button(command));
        const QList<SeenMessage> seen = guard_.expectMessages(
            [&] {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                                Qt::KeyboardModifiers(modifiers));
            },
            Dismissal::OkButton);
        QCOMPARE(seen.size(), 0);
        QCOMPARE(fieldTexts(), expected);
    }

    // With every panel filled so that any button would change something, keys in a field that
    // would press a dialog's default or cancel button do nothing.
    void enterOrEscapeInAFieldRunsNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Return in Text6") << "Text6" << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("keypad Enter in Text1")
            << "Text1" << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::newRow("Return in Text2") << "Text2" << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("Return in Text12") << "Text12" << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("Return in Text5") << "Text5" << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("Escape in Text2") << "Text2" << int(Qt::Key_Escape) << int(Qt::NoModifier);
        QTest::newRow("Escape in Text7") << "Text7" << int(Qt::Key_Escape) << int(Qt::NoModifier);
    }
    void enterOrEscapeInAFieldRunsNothing() {
        QFETCH(QString, name);
        QFETCH(int, key);
        QFETCH(int, modifiers);

        fill({{"Text1", "2002"},
              {"Text6", "200"},
              {"Text2", "300"},
              {"Text12", "173"},
              {"Text4", "4"},
              {"Text5", "29"},
              {"Text7", "73"}});
        const FieldTexts before = fieldTexts();
        field(name)->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), field(name));
        const QList<SeenMessage> seen = guard_.expectMessages(
            [&] { QTest::keyClick(field(name), Qt::Key(key), Qt::KeyboardModifiers(modifiers)); },
            Dismissal::OkButton);
        QCOMPARE(seen.size(), 0);
        QCOMPARE(fieldTexts(), before);
        QCOMPARE(visibleWindows(), 1);
        QVERIFY(form_->isVisible());
    }

    void clickOnLabelOrFrameChangesNothing_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Label4", "Label9", "Label1", "Label5", "Label3", "Label10",
                                 "Frame2", "Label2", "Label8", "Label6", "Label15", "Label7",
                                 "Label12", "Label14", "Label11", "Label13"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }
    void clickOnLabelOrFrameChangesNothing() {
        QFETCH(QString, name);
        fill({{"Text1", "2002"}, {"Text6", "200"}, {"Text2", "300"}});
        field(QStringLiteral("Text6"))->setFocus(Qt::TabFocusReason);
        const FieldTexts before = fieldTexts();
        QWidget* target = form_->findChild<QWidget*>(name);
        QVERIFY(target);
        // Inside Frame2, a gap that no child covers.
        const QPoint where =
            name == QLatin1String("Frame2") ? QPoint(160, 120) : target->rect().center();
        const QList<SeenMessage> seen = guard_.expectMessages(
            [&] { QTest::mouseClick(target, Qt::LeftButton, {}, where); }, Dismissal::OkButton);
        QCOMPARE(seen.size(), 0);
        QCOMPARE(fieldTexts(), before);
        QCOMPARE(QApplication::focusWidget(), field(QStringLiteral("Text6")));
        QCOMPARE(visibleWindows(), 1);
    }

    void clickOnPictureBoxOnlyTakesTheFocus_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("Picture1") << "Picture1";
        QTest::newRow("Picture2") << "Picture2";
        QTest::newRow("Picture3") << "Picture3";
    }
    void clickOnPictureBoxOnlyTakesTheFocus() {
        QFETCH(QString, name);
        fill({{"Text1", "2002"}, {"Text6", "200"}, {"Text2", "300"}});
        const FieldTexts before = fieldTexts();
        QWidget* target = form_->findChild<QWidget*>(name);
        QVERIFY(target);
        const QList<SeenMessage> seen = guard_.expectMessages(
            [&] { QTest::mouseClick(target, Qt::LeftButton); }, Dismissal::OkButton);
        QCOMPARE(seen.size(), 0);
        QCOMPARE(QApplication::focusWidget(), target);
        QCOMPARE(fieldTexts(), before);
        QCOMPARE(visibleWindows(), 1);
    }
    // A screen reader can press a button while a message box is up, since modality only holds
    // the mouse and the keyboard. Such a press is ignored: one operation never runs inside
    // another. Pressed the same way once the box is gone, the button works.
    void pressWhileAMessageIsUpIsIgnored_data() {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QString>("idle");
        QTest::addColumn<QString>("done");
        QTest::newRow("the other calculator's button") << "Command9"
                                                       << "tag block ''"
                                                       << "tag block '73'";
        QTest::newRow("a sheet button") << "Command1"
                                        << "Form11 windows 0"
                                        << "Form11 windows 1";
    }
    void pressWhileAMessageIsUpIsIgnored() {
        QFETCH(QString, pressed);
        QFETCH(QString, idle);
        QFETCH(QString, done);
        fill({{"Text1", "2002"}, {"Text6", "200"}, {"Text2", "896"}});
        const auto effect = [&] {
            return pressed == QLatin1String("Command9")
                       ? QStringLiteral("tag block '%1'")
                             .arg(field(QStringLiteral("Text7"))->text())
                       : QStringLiteral("Form11 windows %1")
                             .arg(topLevelsNamed(QStringLiteral("Form11")).size());
        };
        const auto pressForTheScreenReader = [&] {
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(button(pressed));
            QVERIFY(node && node->actionInterface());
            node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QTest::qWait(400); // the press clicks after a short animation of the button
        };
        QString whileShown;
        const QList<SeenMessage> seen = guard_.expectMessages(
            [&] { QTest::mouseClick(button(QStringLiteral("Command6")), Qt::LeftButton); },
            Dismissal::OkButton,
            [&] {
                pressForTheScreenReader();
                whileShown = effect();
            });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(whileShown, idle);
        QTest::qWait(400);
        QCOMPARE(effect(), idle); // ignored, not put off until the box had gone
        pressForTheScreenReader();
        QCOMPARE(effect(), done);
    }
};

QTEST_MAIN(Form1BehaviourTest)
#include "form1_behaviour_test.moc"
