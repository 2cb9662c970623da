// The seventeen reference sheets, opened from their buttons in the main window: one window per
// sheet, titled with its own name, at its opening size and place, showing its picture at natural
// size where the design puts it; a second click brings the open window forward; a closed sheet is
// gone and comes back fresh.

#include "ui/form1.h"
#include "ui/picture_box.h"
#include "ui/sheet_window.h"
#include "window_test_support.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <array>
#include <optional>

using namespace beltrix::ui;
using namespace beltrix::ui::test;

namespace {

struct SheetRow {
    const char* name;
    const char* button;
    QSize clientSize;
    bool centred;
    QSize pictureSize;
    std::optional<QRect> box; // none: the picture is the window's background
    std::optional<QRect> smallBox;
};

// clang-format off
const std::array<SheetRow, 17> sheets = {{
    {"Form11", "Command1",  {304, 202}, false, {537, 2264}, std::nullopt,               std::nullopt},
    {"Form12", "Command7",  {304, 202}, false, {505, 1344}, std::nullopt,               std::nullopt},
    {"Form13", "Command8",  {304, 202}, false, {505, 630},  std::nullopt,               std::nullopt},
    {"Form2",  "Command2",  {304, 202}, false, {598, 659},  QRect(120, 24, 601, 505),   std::nullopt},
    {"Form8",  "Command3",  {304, 202}, true,  {598, 865},  std::nullopt,               std::nullopt},
    {"Form9",  "Command4",  {304, 202}, true,  {598, 740},  std::nullopt,               std::nullopt},
    {"Form10", "Command5",  {304, 202}, false, {779, 577},  std::nullopt,               std::nullopt},
    {"Form14", "Command10", {304, 202}, true,  {1069, 589}, QRect(0, 48, 1089, 593),    QRect(40, 16, 17, 1)},
    {"Form15", "Command11", {304, 202}, false, {1070, 593}, QRect(0, 40, 1081, 601),    std::nullopt},
    {"Form16", "Command12", {304, 202}, false, {1069, 600}, QRect(0, 16, 1081, 609),    std::nullopt},
    {"Form17", "Command14", {304, 202}, false, {1070, 1160}, QRect(0, 40, 1105, 721),   std::nullopt},
    {"Form18", "Command15", {304, 202}, false, {1070, 480}, QRect(0, 112, 1073, 481),   std::nullopt},
    {"Form3",  "Command22", {304, 202}, false, {853, 736},  QRect(80, -16, 881, 753),   std::nullopt},
    {"Form19", "Command23", {670, 452}, false, {853, 496},  QRect(48, 40, 873, 489),    std::nullopt},
    {"Form4",  "Command25", {304, 202}, false, {571, 514},  QRect(208, 112, 577, 513),  std::nullopt},
    {"Form5",  "Command26", {304, 202}, false, {681, 626},  QRect(232, 64, 617, 641),   std::nullopt},
    {"Form6",  "Command27", {304, 202}, false, {960, 720},  std::nullopt,               QRect(48, 32, 41, 9)},
}};
// clang-format on

const SheetRow& sheetRow(int index) {
    return sheets[static_cast<std::size_t>(index)];
}

const SheetRow& sheetNamed(const QString& name) {
    return *std::find_if(sheets.begin(), sheets.end(),
                         [&](const SheetRow& row) { return name == QLatin1String(row.name); });
}

// The offscreen platform draws a pretend frame of two pixels around each window; a window
// centred by its client area or by its frame is within that of the screen's centre.
constexpr int frameAllowance = 3;

bool centredOnScreen(QWidget* window) {
    const QPoint offset =
        window->frameGeometry().center() - window->screen()->availableGeometry().center();
    return qAbs(offset.x()) <= frameAllowance && qAbs(offset.y()) <= frameAllowance;
}

// True when the image shows the picture at natural size with its top-left pixel at origin,
// judged on a block of the picture's top-left corner.
bool showsPictureAt(const QImage& shown, const QPoint& origin, const QImage& picture) {
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            if (shown.pixel(origin + QPoint(x, y)) != picture.pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

class SheetsTest : public QObject {
    Q_OBJECT

private:
    QPointer<Form1> form_;
    ModalGuard guard_;

    QPushButton* button(const char* name) const {
        return form_->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    // Opens the sheet from its button and waits until its window is the active one.
    SheetWindow* open(const SheetRow& row) {
        QTest::mouseClick(button(row.button), Qt::LeftButton);
        const QList<QWidget*> windows = topLevelsNamed(QString::fromLatin1(row.name));
        if (windows.size() != 1) {
            return nullptr;
        }
        auto* sheet = dynamic_cast<SheetWindow*>(windows.first());
        if (sheet == nullptr || !QTest::qWaitForWindowActive(sheet)) {
            return nullptr;
        }
        return sheet;
    }

    static void addSheetRows() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            QTest::newRow(sheets[i].name) << static_cast<int>(i);
        }
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

    void noSheetExistsBeforeItsButtonIsClicked() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            QVERIFY2(widget == form_.data(), qPrintable(widget->objectName()));
        }
    }

    void sheetOpensAsItsOwnWindow_data() { addSheetRows(); }
    void sheetOpensAsItsOwnWindow() {
        QFETCH(int, index);
        const SheetRow& row = sheetRow(index);
        SheetWindow* sheet = open(row);
        QVERIFY(sheet);
        QCOMPARE(sheet->windowTitle(), QString::fromLatin1(row.name));
        QCOMPARE(sheet->size(), row.clientSize);
        QVERIFY(sheet->isWindow());
        QCOMPARE(sheet->windowType(), Qt::Window);
        QVERIFY(!sheet->isModal());
        QCOMPARE(sheet->parentWidget(), nullptr); // no owner: it outlives the main window
        QCOMPARE(QApplication::activeWindow(), sheet);
        if (row.centred) {
            QVERIFY2(centredOnScreen(sheet),
                     qPrintable(QStringLiteral("frame %1,%2 %3x%4 on %5x%6")
                                    .arg(sheet->frameGeometry().x())
                                    .arg(sheet->frameGeometry().y())
                                    .arg(sheet->frameGeometry().width())
                                    .arg(sheet->frameGeometry().height())
                                    .arg(sheet->screen()->availableGeometry().width())
                                    .arg(sheet->screen()->availableGeometry().height())));
        }
        // Opening a sheet leaves the main window as it was.
        QVERIFY(form_->isVisible());
        QCOMPARE(form_->findChild<QLineEdit*>(QStringLiteral("Text2"))->text(),
                 QStringLiteral(" "));
    }

    void sheetShowsItsPictureWhereTheDesignPutsIt_data() { addSheetRows(); }
    void sheetShowsItsPictureWhereTheDesignPutsIt() {
        QFETCH(int, index);
        const SheetRow& row = sheetRow(index);
        SheetWindow* sheet = open(row);
        QVERIFY(sheet);
        const QString name = QString::fromLatin1(row.name);
        auto* box = dynamic_cast<PictureBox*>(sheet->findChild<QWidget*>(name + "Picture"));
        QImage picture;
        if (row.box) {
            QVERIFY(box);
            QCOMPARE(box->geometry(), *row.box);
            QCOMPARE(box->picture().size(), row.pictureSize);
            // Two-pixel sunken border; the picture starts at its inner corner, unscaled.
            QCOMPARE(box->contentsRect(), box->rect().adjusted(2, 2, -2, -2));
            QVERIFY(sheet->backgroundPicture().isNull());
            picture = box->picture().toImage();
            QVERIFY(showsPictureAt(box->grab().toImage(), QPoint(2, 2), picture));
        } else {
            QCOMPARE(box, nullptr);
            QCOMPARE(sheet->backgroundPicture().size(), row.pictureSize);
            picture = sheet->backgroundPicture().toImage();
            QVERIFY(showsPictureAt(sheet->grab().toImage(), QPoint(0, 0), picture));
        }
        auto* small = dynamic_cast<PictureBox*>(sheet->findChild<QWidget*>(name + "SmallPicture"));
        if (row.smallBox) {
            QVERIFY(small);
            QCOMPARE(small->geometry(), *row.smallBox);
            QCOMPARE(small->picture().size(), row.pictureSize);
            QCOMPARE(small->picture().toImage(), picture);
        } else {
            QCOMPARE(small, nullptr);
        }
    }

    // Form19's box is 16 pixels wider inside than its picture; the strip beyond the picture
    // shows the button face colour.
    void boxWiderThanItsPictureShowsButtonFaceBeyondIt() {
        SheetWindow* sheet = open(sheetNamed(QStringLiteral("Form19")));
        QVERIFY(sheet);
        auto* box = dynamic_cast<PictureBox*>(sheet->findChild<QWidget*>("Form19Picture"));
        QVERIFY(box);
        QVERIFY(box->contentsRect().width() > box->picture().width());
        const QImage shown = box->grab().toImage();
        const QColor face = box->palette().color(QPalette::Button);
        QCOMPARE(shown.pixelColor(2 + box->picture().width() + 4, 100), face);
    }

    void secondClickBringsTheOpenSheetForward_data() { addSheetRows(); }
    void secondClickBringsTheOpenSheetForward() {
        QFETCH(int, index);
        const SheetRow& row = sheetRow(index);
        QPointer<SheetWindow> first = open(row);
        QVERIFY(first);
        first->move(first->pos() + QPoint(30, 20));
        first->resize(400, 300);
        const QRect placed = first->geometry();
        QVERIFY(bringToFront(form_));

        QTest::mouseClick(button(row.button), Qt::LeftButton);
        QCOMPARE(topLevelsNamed(QString::fromLatin1(row.name)).size(), 1);
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(first));
        QCOMPARE(first->geometry(), placed); // it keeps the size and place the user gave it
    }

    // A closed sheet is destroyed, and its next opening starts again from the design, whatever
    // the user had done to the old window.
    void closedSheetIsDestroyedAndReopensAfresh_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("Form2, placed by the system") << "Form2";
        QTest::newRow("Form14, centred") << "Form14";
        QTest::newRow("Form19, the larger sheet") << "Form19";
    }
    void closedSheetIsDestroyedAndReopensAfresh() {
        QFETCH(QString, name);
        const SheetRow& row = sheetNamed(name);
        QPointer<SheetWindow> first = open(row);
        QVERIFY(first);
        first->resize(700, 500);
        first->move(first->pos() + QPoint(40, 40));
        QTRY_COMPARE(first->size(), QSize(700, 500));

        closeLikeTheUser(first);
        flushDeletes();
        QVERIFY(first.isNull());
        QVERIFY(topLevelsNamed(QString::fromLatin1(row.name)).isEmpty());
        QVERIFY(form_->isVisible());

        SheetWindow* second = open(row);
        QVERIFY(second);
        QCOMPARE(second->size(), row.clientSize);
        if (row.centred) {
            QVERIFY(centredOnScreen(second));
        }
        if (row.box) {
            auto* box = second->findChild<QWidget*>(QString::fromLatin1(row.name) + "Picture");
            QVERIFY(box);
            QCOMPARE(box->geometry(), *row.box);
        }
    }

    // A closed window lingers until the event loop deletes it; a click in that moment must still
    // give a fresh, lasting window, not the one on its way out.
    void clickRightAfterClosingOpensANewSheet() {
        const SheetRow& row = sheetNamed(QStringLiteral("Form4"));
        QPointer<SheetWindow> first = open(row);
        QVERIFY(first);
        first->resize(500, 400);
        first->close();
        button(row.button)->click();
        flushDeletes();
        QVERIFY(first.isNull());
        const QList<QWidget*> windows = topLevelsNamed(QString::fromLatin1(row.name));
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows.first()->isVisible());
        QCOMPARE(windows.first()->size(), row.clientSize);
    }

    void allSeventeenSheetsOpenTogetherWhileTheCalculatorWorks() {
        QList<QPointer<QWidget>> opened;
        for (const SheetRow& row : sheets) {
            QTest::mouseClick(button(row.button), Qt::LeftButton);
        }
        for (const SheetRow& row : sheets) {
            const QList<QWidget*> windows = topLevelsNamed(QString::fromLatin1(row.name));
            QCOMPARE(windows.size(), 1);
            QVERIFY(windows.first()->isVisible());
            opened << windows.first();
        }
        QCOMPARE(QApplication::topLevelWidgets().size(), 18);

        QVERIFY(bringToFront(form_));
        typeInto(form_->findChild<QLineEdit*>("Text1"), QStringLiteral("2002"));
        typeInto(form_->findChild<QLineEdit*>("Text6"), QStringLiteral("200"));
        const QList<SeenMessage> seen = guard_.expectMessages(
            [&] { QTest::mouseClick(button("Command9"), Qt::LeftButton); }, Dismissal::OkButton);
        QCOMPARE(seen.size(), 0);
        QCOMPARE(form_->findChild<QLineEdit*>("Text7")->text(), QStringLiteral("73"));
        QCOMPARE(form_->findChild<QLineEdit*>("Text11")->text(), QStringLiteral("2"));
        QCOMPARE(form_->findChild<QLineEdit*>("Text13")->text(), QStringLiteral("25"));

        // A message box raised while the sheets are open carries the program's caption too.
        typeInto(form_->findChild<QLineEdit*>("Text1"), QStringLiteral("2024"));
        const QList<SeenMessage> refused = guard_.expectMessages(
            [&] { QTest::mouseClick(button("Command9"), Qt::LeftButton); }, Dismissal::OkButton);
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.first().title, QStringLiteral("BELTRIX"));
        for (const QPointer<QWidget>& sheet : opened) {
            QVERIFY(sheet && sheet->isVisible());
        }
    }
};

QTEST_MAIN(SheetsTest)
#include "sheets_test.moc"
