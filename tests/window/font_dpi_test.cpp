// The window's layout is fixed in pixels at 96 dpi, so its texts must take the pixels that 8 pt
// (bold: 9.75 pt) take at 96 dpi whatever font resolution the desktop sets; otherwise captions
// clip and overlap. CTest runs this at the default resolution and at a font resolution of 144
// dpi with high-DPI scaling off (BELTRIX_EXPECTED_FONT_DPI says which, so that a setting that
// did not take effect fails instead of passing unnoticed).

#include "ui/form1.h"
#include "window_test_support.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace beltrix::ui;
using namespace beltrix::ui::test;

class FontDpiTest : public QObject {
    Q_OBJECT

private:
    ModalGuard guard_;

private slots:
    void initTestCase() { silenceOffscreenNoise(); }

    void cleanup() {
        const QString problems = finishCase(guard_);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void textsTakeTheirPixelsAt96DpiWhateverTheFontResolution() {
        QPointer<Form1> form = openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const int expectedDpi = qEnvironmentVariableIntValue("BELTRIX_EXPECTED_FONT_DPI");
        QVERIFY2(expectedDpi > 0, "BELTRIX_EXPECTED_FONT_DPI is not set");
        QCOMPARE(form->logicalDpiY(), expectedDpi);

        // A reference surface at the layout's own resolution.
        QImage at96(1, 1, QImage::Format_RGB32);
        at96.setDotsPerMeterX(qRound(96 / 0.0254));
        at96.setDotsPerMeterY(qRound(96 / 0.0254));

        int checked = 0;
        for (QWidget* control : form->findChildren<QWidget*>()) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(control)) {
                text = label->text();
            } else if (auto* button = qobject_cast<QPushButton*>(control)) {
                text = button->text();
            } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
                text = frame->title();
            } else if (qobject_cast<QLineEdit*>(control) != nullptr) {
                text = QStringLiteral("0123456789");
            }
            if (text.trimmed().isEmpty()) {
                continue;
            }
            QFont reference(control->font().family());
            reference.setWeight(control->font().weight());
            reference.setPointSizeF(control->font().bold() ? 9.75 : 8.0);
            const QFontMetricsF expected(reference, &at96);
            const QFontMetricsF actual(control->font(), control);
            const QString what = QStringLiteral("%1 \"%2\": %3 x %4 pixels, expected %5 x %6")
                                     .arg(control->objectName(), text)
                                     .arg(actual.horizontalAdvance(text))
                                     .arg(actual.height())
                                     .arg(expected.horizontalAdvance(text))
                                     .arg(expected.height());
            QVERIFY2(qAbs(actual.horizontalAdvance(text) - expected.horizontalAdvance(text)) < 0.5,
                     qPrintable(what));
            QVERIFY2(qAbs(actual.height() - expected.height()) < 0.5, qPrintable(what));
            ++checked;
        }
        // Every caption, label and field of the window was looked at.
        QVERIFY2(checked >= 40, qPrintable(QString::number(checked)));
    }
};

QTEST_MAIN(FontDpiTest)
#include "font_dpi_test.moc"
