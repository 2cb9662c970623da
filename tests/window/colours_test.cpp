// The window's texts under the desktop's colour scheme, read from the rendered pixels. The white
// fields and the light blue labels keep their fixed backgrounds on any desktop, so their texts
// must read on them under a dark scheme as well as under a light one; the controls that take all
// their colours from the desktop keep following it.

#include "ui/form1.h"
#include "window_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace beltrix::ui;
using namespace beltrix::ui::test;

namespace {

// A dark scheme as desktops ship it (the colours of qt6ct's "darker"): light text on dark
// windows, fields and buttons.
QPalette darkScheme() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x22, 0x20, 0x20));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, QColor(0x3d, 0x3d, 0x3d));
    palette.setColor(QPalette::AlternateBase, QColor(0x3f, 0x3f, 0x36));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Button, QColor(0x42, 0x42, 0x45));
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, QColor(0x97, 0x97, 0x97));
    palette.setColor(QPalette::Midlight, QColor(0x5e, 0x5c, 0x5b));
    palette.setColor(QPalette::Mid, QColor(0x4a, 0x49, 0x47));
    palette.setColor(QPalette::Dark, QColor(0x30, 0x2f, 0x2e));
    palette.setColor(QPalette::Shadow, QColor(0xe7, 0xe4, 0xe0));
    palette.setColor(QPalette::Highlight, QColor(0x12, 0x60, 0x8a));
    palette.setColor(QPalette::HighlightedText, QColor(0xf9, 0xf9, 0xf9));
    return palette;
}

qreal luminance(QRgb rgb) {
    const auto linear = [](int v) {
        const qreal c = v / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

qreal contrast(QRgb a, QRgb b) {
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// How a control's text stands out: the strongest contrast of any pixel inside the area against
// the colour most of that area has (the background the text is drawn on).
qreal textContrast(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    const QRgb background =
        std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                         [](const auto& a, const auto& b) { return a.second < b.second; })
            ->first;
    qreal best = 1.0;
    for (auto it = counts.keyBegin(); it != counts.keyEnd(); ++it) {
        best = std::max(best, contrast(*it, background));
    }
    return best;
}

QImage rendered(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The inside of a text field, where its text stands, without the frame the style draws.
QRect textArea(QLineEdit* field) {
    return field->rect().adjusted(4, 4, -4, -4);
}

} // namespace

class ColoursTest : public QObject {
    Q_OBJECT

private:
    ModalGuard guard_;
    QPalette light_;

    // The window under a colour scheme, with CONVERT VLAN done on VLAN 300.
    QPointer<Form1> calculatedUnder(const QPalette& scheme) {
        QApplication::setPalette(scheme);
        QPointer<Form1> form = openMainWindow();
        if (!bringToFront(form)) {
            return nullptr;
        }
        auto* vlan = form->findChild<QLineEdit*>(QStringLiteral("Text2"));
        typeInto(vlan, QStringLiteral("300"));
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command6")),
                          Qt::LeftButton);
        return form;
    }

    // The contrast of each named control's text on its background, under a scheme.
    QMap<QString, qreal> contrastsUnder(const QPalette& scheme, const QStringList& names) {
        QMap<QString, qreal> contrasts;
        QPointer<Form1> form = calculatedUnder(scheme);
        if (!form) {
            return contrasts;
        }
        for (const QString& name : names) {
            QWidget* control = form->findChild<QWidget*>(name);
            if (auto* field = qobject_cast<QLineEdit*>(control)) {
                contrasts.insert(name, textContrast(rendered(field), textArea(field)));
            } else if (control != nullptr) {
                contrasts.insert(name, textContrast(rendered(control), control->rect()));
            }
        }
        closeAllWindows();
        return contrasts;
    }

private slots:
    void initTestCase() {
        silenceOffscreenNoise();
        light_ = QApplication::palette();
    }

    void cleanup() {
        QApplication::setPalette(light_);
        const QString problems = finishCase(guard_);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // The results of CONVERT VLAN in the white fields, the labels beside them and the frame's
    // caption read at least as well under a dark scheme as on a light desktop.
    void textsOnFixedBackgroundsReadUnderADarkScheme() {
        const QStringList names = {
            QStringLiteral("Text2"),  QStringLiteral("Text12"), QStringLiteral("Text4"),
            QStringLiteral("Text5"),  QStringLiteral("Label5"), QStringLiteral("Label1"),
            QStringLiteral("Label9"), QStringLiteral("Label6"), QStringLiteral("Label15"),
            QStringLiteral("Frame2"),
        };
        const QMap<QString, qreal> onLight = contrastsUnder(light_, names);
        const QMap<QString, qreal> onDark = contrastsUnder(darkScheme(), names);
        QCOMPARE(onLight.size(), names.size());
        QCOMPARE(onDark.size(), names.size());
        for (const QString& name : names) {
            const QString what = QStringLiteral("%1: contrast %2 under the dark scheme, %3 on the "
                                                "light desktop")
                                     .arg(name)
                                     .arg(onDark.value(name), 0, 'f', 2)
                                     .arg(onLight.value(name), 0, 'f', 2);
            // Plainly legible on the light desktop in the first place, so the comparison means
            // something.
            QVERIFY2(onLight.value(name) >= 4.5, qPrintable(what));
            QVERIFY2(onDark.value(name) >= onLight.value(name) - 0.01, qPrintable(what));
        }
    }

    // Text selected in a white field stands out from its selection under a dark scheme.
    void selectionInAWhiteFieldReadsUnderADarkScheme() {
        QPointer<Form1> form = calculatedUnder(darkScheme());
        QVERIFY(form);
        auto* tagBlock = form->findChild<QLineEdit*>(QStringLiteral("Text12"));
        QCOMPARE(tagBlock->text(), QStringLiteral("173"));
        tagBlock->setFocus();
        tagBlock->selectAll();
        QVERIFY(tagBlock->hasSelectedText());
        const QImage image = rendered(tagBlock);
        // The selection is the strongest colour left of the text's end; it must differ from the
        // white field, and the text on it must read.
        const QRect selected = textArea(tagBlock).intersected(
            QRect(0, 0, tagBlock->fontMetrics().horizontalAdvance(tagBlock->text()), 100));
        QHash<QRgb, int> counts;
        for (int y = selected.top(); y <= selected.bottom(); ++y) {
            for (int x = selected.left(); x <= selected.right(); ++x) {
                ++counts[image.pixel(x, y)];
            }
        }
        const QRgb highlight =
            std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                             [](const auto& a, const auto& b) { return a.second < b.second; })
                ->first;
        QVERIFY2(contrast(highlight, qRgb(255, 255, 255)) >= 3.0,
                 "the selection hardly shows on the white field");
        QVERIFY2(textContrast(image, selected) >= 4.5, "the selected text does not read");
    }

    // Fields and buttons whose colours the layout leaves to the desktop keep the desktop's.
    void controlsInSystemColoursFollowTheScheme() {
        const QPalette dark = darkScheme();
        QPointer<Form1> form = calculatedUnder(dark);
        QVERIFY(form);
        for (const QString& name : {QStringLiteral("Text3"), QStringLiteral("Text7")}) {
            auto* field = form->findChild<QLineEdit*>(name);
            const QImage image = rendered(field);
            const QPoint inside = textArea(field).center();
            QCOMPARE(QColor(image.pixel(inside)), dark.color(QPalette::Base));
        }
        auto* button = form->findChild<QPushButton*>(QStringLiteral("Command27"));
        const QImage image = rendered(button);
        const QRgb face = image.pixel(button->width() / 2, 3);
        QVERIFY2(luminance(face) < 0.2, "a push button lost the dark scheme's button face");
    }
};

QTEST_MAIN(ColoursTest)
#include "colours_test.moc"
