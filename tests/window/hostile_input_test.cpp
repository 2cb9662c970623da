// Whatever an operator's clipboard holds, pasted into any field, and every calculation button
// clicked on it: the window keeps running, each click ends with its own result, its own message
// or a failure message that names the field, and no field outside the button's own changes.

#include "calc/conversions.h"
#include "ui/form1.h"
#include "window_test_support.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace beltrix::ui;
using namespace beltrix::ui::test;

namespace {

// A window in the middle of its work: the inputs hold a real calculation, the outputs a mark
// that no operation writes.
const QList<std::pair<QString, QString>> baseline = {
    {QStringLiteral("Text1"), QStringLiteral("2002")},
    {QStringLiteral("Text6"), QStringLiteral("200")},
    {QStringLiteral("Text7"), QStringLiteral("x7")},
    {QStringLiteral("Text11"), QStringLiteral("x11")},
    {QStringLiteral("Text13"), QStringLiteral("x13")},
    {QStringLiteral("Text2"), QStringLiteral("300")},
    {QStringLiteral("Text12"), QStringLiteral("173")},
    {QStringLiteral("Text4"), QStringLiteral("4")},
    {QStringLiteral("Text5"), QStringLiteral("29")},
    {QStringLiteral("Text3"), QStringLiteral("x3")},
};

struct ButtonReach {
    QString button;
    QStringList mayWrite;
    QStringList ownMessages;
};

const QString validPort = noticeString(Notice::EnterValidPort);
const QString validPortCapital = noticeString(Notice::EnterValidPortCapital);
const QString secondFrame = noticeString(Notice::PortInSecondFrame);

const QList<ButtonReach> buttons = {
    {QStringLiteral("Command9"),
     {"Text1", "Text6", "Text7", "Text11", "Text13", "Text3"},
     {noticeString(Notice::UnknownDslamVlan), validPort, validPortCapital, secondFrame,
      noticeString(Notice::ControlCardSlots)}},
    {QStringLiteral("Command17"), {"Text1", "Text3", "Text6", "Text7", "Text11", "Text13"}, {}},
    {QStringLiteral("Command6"), {"Text2", "Text3", "Text12", "Text4", "Text5"}, {validPort}},
    {QStringLiteral("Command24"), {"Text2", "Text3", "Text12", "Text4", "Text5"}, {validPort}},
    {QStringLiteral("Command16"), {"Text2", "Text12", "Text4", "Text5"}, {validPortCapital}},
    {QStringLiteral("Command20"), {"Text2", "Text3", "Text12", "Text4", "Text5"}, {}},
    {QStringLiteral("Command13"), {"Text2", "Text3", "Text12", "Text4", "Text5"}, {secondFrame}},
    {QStringLiteral("Command18"), {"Text2", "Text3", "Text12", "Text4", "Text5"}, {secondFrame}},
    {QStringLiteral("Command21"),
     {"Text2", "Text3", "Text12", "Text4", "Text5"},
     {validPortCapital, noticeString(Notice::SlotPortInSecondFrame)}},
};

bool isFailureMessage(const QString& text) {
    static const QStringList labels = {"DSLAM VLAN", "INNER VLAN", "TAG BLOCK NO",
                                       "VLAN",       "SLOT",       "PORT"};
    static const QStringList causes = {
        "\" is not a number.", "\" gives a number outside -32768 to 32767.",
        "\" is too large to calculate.", " is empty: enter a number."};
    const bool named = std::any_of(labels.begin(), labels.end(),
                                   [&](const QString& label) { return text.startsWith(label); });
    const bool explained = std::any_of(causes.begin(), causes.end(),
                                       [&](const QString& cause) { return text.endsWith(cause); });
    return named && explained && !text.contains(QLatin1Char('\n'));
}

// What an operation writes is a number in the engine's own form, or nothing.
bool isOwnResult(const QString& text) {
    return text.isEmpty() || beltrix::StrictNumberFromText(text.toStdString()).ok();
}

} // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

private:
    ModalGuard guard_;

private slots:
    void initTestCase() { silenceOffscreenNoise(); }

    void cleanup() {
        const QString problems = finishCase(guard_);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void everyButtonOnPastedText_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("field");
        const QList<std::pair<const char*, QString>> texts = {
            {"megabyte of digits", QString(1 << 20, QLatin1Char('7'))},
            {"arabic-indic digits", QStringLiteral("\u0662\u0660\u0660\u0662")},
            {"devanagari digits", QStringLiteral("\u0968\u0966\u0966")},
            {"full-width digits", QStringLiteral("\uFF12\uFF10\uFF10")},
            {"emoji", QStringLiteral("\U0001F4E1\U0001F6F0\uFE0F 2002")},
            {"control characters", QStringLiteral("\u0001\u0002\t2\r\n00\u001B")},
            {"NUL inside", QString::fromUtf16(u"12\u000034", 5)},
            {"beyond doubles", QStringLiteral("1E400")},
            {"hex beyond 32 bits", QStringLiteral("&HFFFFFFFFF")},
            {"minus zero", QStringLiteral("-0")},
            {"two blanks", QStringLiteral("  ")},
            {"markup", QStringLiteral("<b>200</b>")},
        };
        for (const auto& [name, text] : texts) {
            for (const auto& [field, unused] : baseline) {
                QTest::newRow(
                    qPrintable(QStringLiteral("%1 in %2").arg(QLatin1String(name), field)))
                    << text << field;
            }
        }
    }

    void everyButtonOnPastedText() {
        QFETCH(QString, pasted);
        QFETCH(QString, field);

        QPointer<Form1> form = new Form1;
        form->setAttribute(Qt::WA_DeleteOnClose); // as the program's own window does
        form->show();
        for (const ButtonReach& reach : buttons) {
            for (const auto& [name, text] : baseline) {
                form->findChild<QLineEdit*>(name)->setText(text);
            }
            auto* target = form->findChild<QLineEdit*>(field);
            QApplication::clipboard()->setText(pasted);
            target->selectAll();
            target->paste();
            QVERIFY2(target->text() == pasted, "the paste did not put the whole text in the field");

            QMap<QString, QString> before;
            for (const auto& [name, unused] : baseline) {
                before[name] = form->findChild<QLineEdit*>(name)->text();
            }
            auto* button = form->findChild<QPushButton*>(reach.button);
            const QList<SeenMessage> seen =
                guard_.expectMessages([&] { button->click(); }, Dismissal::OkButton);
            QVERIFY2(!form.isNull(), "the main window went away");

            const QString where = reach.button + QStringLiteral(" on ") + field;
            for (const SeenMessage& message : seen) {
                QCOMPARE(message.title, QStringLiteral("BELTRIX"));
                QVERIFY2(reach.ownMessages.contains(message.text) || isFailureMessage(message.text),
                         qPrintable(where + QStringLiteral(" showed: ") + message.text.left(200)));
            }
            for (const auto& [name, unused] : baseline) {
                const QString after = form->findChild<QLineEdit*>(name)->text();
                if (after == before[name]) {
                    continue;
                }
                QVERIFY2(reach.mayWrite.contains(name),
                         qPrintable(where + QStringLiteral(" changed ") + name));
                QVERIFY2(isOwnResult(after), qPrintable(where + QStringLiteral(" wrote ") + name +
                                                        QStringLiteral(" = ") + after.left(80)));
            }
        }

        // And the window still calculates.
        form->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("2002"));
        form->findChild<QLineEdit*>(QStringLiteral("Text6"))->setText(QStringLiteral("200"));
        guard_.expectMessages([&] { form->findChild<QPushButton*>("Command9")->click(); },
                              Dismissal::OkButton);
        QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("Text13"))->text(),
                 QStringLiteral("25"));
        form->close();
    }
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
