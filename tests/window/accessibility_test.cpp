// What a screen reader finds when it walks the window: every field named by the label beside
// it, every button by its caption, no two controls by the same words, and every reference sheet
// described by what it shows.

#include "ui/form1.h"
#include "ui/sheet_window.h"
#include "window_test_support.h"

#include <QAccessible>
#include <QPushButton>
#include <QSet>
#include <QTest>

using namespace beltrix::ui;
using namespace beltrix::ui::test;

namespace {

struct Found {
    QAccessible::Role role;
    QString name;
    QString objectName;
};

void walk(QAccessibleInterface* node, QList<Found>& found) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr) {
            continue;
        }
        QObject* object = child->object();
        found << Found{child->role(), child->text(QAccessible::Name),
                       object ? object->objectName() : QString()};
        walk(child, found);
    }
}

QList<Found> accessibleTree(QWidget* top) {
    QList<Found> found;
    walk(QAccessible::queryAccessibleInterface(top), found);
    return found;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private:
    ModalGuard guard_;

private slots:
    void initTestCase() { silenceOffscreenNoise(); }
    void cleanup() {
        const QString problems = finishCase(guard_);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void fieldsAreNamedByTheirLabels_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("name");
        QTest::newRow("Text1") << "Text1"
                               << "DSLAM VLAN";
        QTest::newRow("Text6") << "Text6"
                               << "INNER VLAN";
        QTest::newRow("Text7") << "Text7"
                               << "TAG BLOCK NO, VLAN-based calculator";
        QTest::newRow("Text11") << "Text11"
                                << "SLOT, VLAN-based calculator";
        QTest::newRow("Text13") << "Text13"
                                << "PORT, VLAN-based calculator";
        QTest::newRow("Text2") << "Text2"
                               << "VLAN";
        QTest::newRow("Text12") << "Text12"
                                << "TAG BLOCK NO, port calculator";
        QTest::newRow("Text4") << "Text4"
                               << "SLOT, port calculator";
        QTest::newRow("Text5") << "Text5"
                               << "PORT, port calculator";
        QTest::newRow("Text3") << "Text3"
                               << "VLAN MINUS 127";
    }
    void fieldsAreNamedByTheirLabels() {
        QFETCH(QString, field);
        QFETCH(QString, name);
        Form1 form;
        form.show();
        const QList<Found> tree = accessibleTree(&form);
        auto it = std::find_if(tree.begin(), tree.end(),
                               [&](const Found& f) { return f.objectName == field; });
        QVERIFY2(it != tree.end(), "the field is not in the accessibility tree");
        QCOMPARE(it->role, QAccessible::EditableText);
        QCOMPARE(it->name, name);
    }

    void buttonsAreNamedByTheirCaptions() {
        Form1 form;
        form.show();
        const QList<Found> tree = accessibleTree(&form);
        QMap<QString, QString> buttons;
        for (const Found& f : tree) {
            if (f.role == QAccessible::Button) {
                buttons[f.objectName] = f.name;
            }
        }
        QCOMPARE(buttons.size(), 26);
        for (QPushButton* button : form.findChildren<QPushButton*>()) {
            const QString name = buttons.value(button->objectName());
            QVERIFY2(name.startsWith(button->text().simplified()),
                     qPrintable(button->objectName() + QStringLiteral(" is named ") + name));
        }
        QCOMPARE(buttons["Command9"], QStringLiteral("CALCULATE BASED ON DSLAM VLAN"));
        QCOMPARE(buttons["Command6"], QStringLiteral("CONVERT VLAN, 48 port"));
        QCOMPARE(buttons["Command13"], QStringLiteral("CONVERT VLAN, 24 port"));
        QCOMPARE(buttons["Command17"], QStringLiteral("CLEAR, VLAN-based calculator"));
        QCOMPARE(buttons["Command5"], QStringLiteral("OFFICERS MOBILE S-Z"));
    }

    // Two controls announced alike could not be told apart without sight.
    void noTwoControlsShareAName() {
        Form1 form;
        form.show();
        QSet<QString> seen;
        for (const Found& f : accessibleTree(&form)) {
            if (f.role != QAccessible::EditableText && f.role != QAccessible::Button) {
                continue;
            }
            QVERIFY2(!f.name.isEmpty(), qPrintable(f.objectName + QStringLiteral(" has no name")));
            QVERIFY2(!seen.contains(f.name),
                     qPrintable(QStringLiteral("two controls are named ") + f.name));
            seen.insert(f.name);
        }
        QCOMPARE(seen.size(), 36);
    }

    void everySheetDescribesWhatItShows() {
        Form1 form;
        form.show();
        QSet<QString> descriptions;
        for (const SheetSpec& spec : sheetSpecs) {
            form.findChild<QPushButton*>(QString::fromLatin1(buttonShowing(spec.sheet)))->click();
            QWidget* sheet =
                form.sheets().window(static_cast<std::size_t>(&spec - sheetSpecs.data()));
            QVERIFY(sheet);
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(sheet);
            QCOMPARE(node->text(QAccessible::Name), QString::fromLatin1(spec.name));
            const QString description = node->text(QAccessible::Description);
            QVERIFY2(description.size() > 20, qPrintable(QString::fromLatin1(spec.name)));
            descriptions.insert(description);
        }
        QCOMPARE(descriptions.size(), 17);
        QVERIFY(form.sheets().window(12)->accessibleDescription().contains("VELORA-P2"));
        QVERIFY(form.sheets().window(13)->accessibleDescription().contains("RASK-P2"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
