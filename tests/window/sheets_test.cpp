// The seventeen reference sheets, opened from their buttons in the main window: one window per
// sheet, titled with its own name, at its opening size and place, showing its picture at natural
// size where the design puts it; a second click brings the open window forward; a closed sheet is
// gone and comes back fresh. A sheet opens on the top-left corner of its picture exactly as it
// always did, and every pixel of the picture can be scrolled into view.

#include "ui/form1.h"
#include "ui/picture_box.h"
#include "ui/sheet_window.h"
#include "window_test_support.h"

#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QWheelEvent>
#include <qdrawutil.h>
#include <qtestspontaneevent.h>

#include <algorithm>
#include <optional>

using namespace beltrix::ui;
using namespace beltrix::ui::test;

namespace {

constexpr int edge = 2; // the picture boxes' sunken border, on each side

QString nameOf(const SheetSpec& spec) {
    return QString::fromLatin1(spec.name.data(), static_cast<qsizetype>(spec.name.size()));
}

const SheetSpec& sheetSpec(int index) {
    return sheetSpecs[static_cast<std::size_t>(index)];
}

const SheetSpec& sheetNamed(const QString& name) {
    return *std::find_if(sheetSpecs.begin(), sheetSpecs.end(),
                         [&](const SheetSpec& spec) { return name == nameOf(spec); });
}

// The stored picture itself, read straight from the resources.
QImage storedPicture(const SheetSpec& spec) {
    return QImage(QStringLiteral(":/sheets/%1.png").arg(nameOf(spec)))
        .convertToFormat(QImage::Format_RGB32);
}

// Where the picture's top-left pixel lies in the window at opening.
QPoint pictureOrigin(const SheetSpec& spec) {
    return spec.box ? spec.box->topLeft() + QPoint(edge, edge) : QPoint(0, 0);
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

QPoint scrollOf(const SheetWindow* sheet) {
    return {sheet->view()->horizontalScrollBar()->value(),
            sheet->view()->verticalScrollBar()->value()};
}

// The part of the window the sheet is seen through: all of it but the scroll bars.
QRect viewIn(SheetWindow* sheet) {
    QWidget* viewport = sheet->view()->viewport();
    return {viewport->mapTo(sheet, QPoint(0, 0)), viewport->size()};
}

QString colourAt(const QImage& image, QPoint at) {
    return image.pixelColor(at).name();
}

// What the window shows of its picture right now, compared pixel for pixel with the picture.
struct PictureInView {
    QRect part;    // the part of the picture in view, in the picture's own coordinates
    QString fault; // the first pixel shown wrong, if any
};

// scrolled: how far the sheet has been scrolled since it opened, so that everything the table
// puts at p is now shown at p - scrolled. A small second box lies over the background picture
// (Form6); what it covers is left out.
PictureInView pictureInView(SheetWindow* sheet, const SheetSpec& spec, const QImage& picture,
                            QPoint scrolled) {
    const QImage shown = sheet->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = pictureOrigin(spec) - scrolled;
    PictureInView seen;
    seen.part = QRect(origin, picture.size()).intersected(viewIn(sheet)).translated(-origin);
    const QRect covered = spec.smallBox ? spec.smallBox->translated(-scrolled) : QRect();
    for (int y = seen.part.top(); y <= seen.part.bottom(); ++y) {
        for (int x = seen.part.left(); x <= seen.part.right(); ++x) {
            const QPoint at = origin + QPoint(x, y);
            if (!covered.contains(at) && shown.pixel(at) != picture.pixel(x, y)) {
                seen.fault = QStringLiteral("picture pixel %1,%2 is shown at %3,%4 as %5, not %6")
                                 .arg(x)
                                 .arg(y)
                                 .arg(at.x())
                                 .arg(at.y())
                                 .arg(colourAt(shown, at), colourAt(picture, QPoint(x, y)));
                return seen;
            }
        }
    }
    return seen;
}

// What a sheet showed at opening before it could scroll, composed from the picture and the
// table: the button face, the picture as background or inside each box's sunken border, clipped
// to the box's inside as the table sizes it.
QImage lookAtOpening(const SheetSpec& spec, const QImage& picture, const QPalette& palette) {
    QImage look(spec.clientSize, QImage::Format_RGB32);
    look.fill(palette.color(QPalette::Button));
    QPainter painter(&look);
    auto drawBox = [&](const QRect& box) {
        const QRect inside = box.adjusted(edge, edge, -edge, -edge);
        if (inside.isValid()) {
            painter.save();
            painter.setClipRect(inside);
            painter.drawImage(inside.topLeft(), picture);
            painter.restore();
        }
        painter.save();
        painter.setClipRect(box); // a box draws nothing outside itself, however thin it is
        qDrawShadePanel(&painter, box, palette, true, edge);
        painter.restore();
    };
    if (spec.box) {
        drawBox(*spec.box);
    } else {
        painter.drawImage(0, 0, picture);
    }
    if (spec.smallBox) {
        drawBox(*spec.smallBox);
    }
    return look;
}

// The first pixel where two images of the same size differ, as text; empty when they are equal.
QString firstDifference(const QImage& actual, const QImage& expected) {
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return QStringLiteral("at %1,%2: %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(colourAt(actual, {x, y}), colourAt(expected, {x, y}));
            }
        }
    }
    return {};
}

// Turns the mouse wheel over a point of the window by notches (negative: towards the user, down
// the sheet). The event goes to the widget under the pointer, marked as coming from the user the
// way QTest marks its own mouse and key events: only such wheel events travel on up to the view
// when the widget under the pointer leaves them.
void turnWheel(SheetWindow* sheet, QPoint at, int notches) {
    QWidget* under = sheet->childAt(at);
    const QPoint local = under->mapFrom(sheet, at);
    QWheelEvent wheel(local, under->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(under, &wheel);
}

} // namespace

class SheetsTest : public QObject {
    Q_OBJECT

private:
    QPointer<Form1> form_;
    ModalGuard guard_;

    QPushButton* button(std::string_view name) const {
        return form_->findChild<QPushButton*>(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }

    // Opens the sheet from its button and waits until its window is the active one.
    SheetWindow* open(const SheetSpec& spec) {
        QTest::mouseClick(button(buttonShowing(spec.sheet)), Qt::LeftButton);
        const QList<QWidget*> windows = topLevelsNamed(nameOf(spec));
        if (windows.size() != 1) {
            return nullptr;
        }
        auto* sheet = qobject_cast<SheetWindow*>(windows.first());
        if (sheet == nullptr || !QTest::qWaitForWindowActive(sheet)) {
            return nullptr;
        }
        return sheet;
    }

    static void addSheetRows() {
        QTest::addColumn<int>("index");
        for (const SheetSpec& spec : sheetSpecs) {
            QTest::newRow(nameOf(spec).toLatin1().constData())
                << static_cast<int>(&spec - sheetSpecs.data());
        }
    }

    // The main box stands where the table puts it in the window at opening, grown where needed
    // to show its whole picture; the small second box keeps the table's size. scrolled: how far
    // the sheet has been scrolled since it opened.
    static void checkBoxesAsDesigned(SheetWindow* sheet, const SheetSpec& spec,
                                     const QImage& picture, QPoint scrolled = {}) {
        auto* box = sheet->findChild<PictureBox*>(nameOf(spec) + "Picture");
        if (spec.box) {
            QVERIFY(box);
            QCOMPARE(box->mapTo(sheet, QPoint(0, 0)), spec.box->topLeft() - scrolled);
            const QSize whole = picture.size() + QSize(2 * edge, 2 * edge);
            QCOMPARE(box->size(), spec.box->size().expandedTo(whole));
        } else {
            QCOMPARE(box, nullptr);
        }
        auto* small = sheet->findChild<PictureBox*>(nameOf(spec) + "SmallPicture");
        if (spec.smallBox) {
            QVERIFY(small);
            QCOMPARE(small->mapTo(sheet, QPoint(0, 0)), spec.smallBox->topLeft() - scrolled);
            QCOMPARE(small->size(), spec.smallBox->size());
        } else {
            QCOMPARE(small, nullptr);
        }
    }

private slots:
    void initTestCase() { silenceOffscreenNoise(); }

    // The sheets are looked up by their enumeration, so the table must follow its order, and
    // each sheet must have exactly one button in the main window that opens it, named like it.
    void eachSheetHasItsRowAndOneButton() {
        QSet<QString> buttons;
        for (std::size_t i = 0; i < sheetSpecs.size(); ++i) {
            const SheetSpec& spec = sheetSpecs[i];
            QCOMPARE(static_cast<std::size_t>(spec.sheet), i);
            const std::string_view name = buttonShowing(spec.sheet);
            QVERIFY2(!name.empty(), spec.name.data());
            buttons.insert(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        }
        QCOMPARE(buttons.size(), qsizetype(sheetSpecs.size()));
    }

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
        const SheetSpec& spec = sheetSpec(index);
        SheetWindow* sheet = open(spec);
        QVERIFY(sheet);
        QCOMPARE(sheet->windowTitle(), nameOf(spec));
        QCOMPARE(sheet->size(), spec.clientSize);
        QVERIFY(sheet->isWindow());
        QCOMPARE(sheet->windowType(), Qt::Window);
        QVERIFY(!sheet->isModal());
        QCOMPARE(sheet->parentWidget(), nullptr); // no owner: it outlives the main window
        QCOMPARE(QApplication::activeWindow(), sheet);
        if (spec.centred) {
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
        const SheetSpec& spec = sheetSpec(index);
        SheetWindow* sheet = open(spec);
        QVERIFY(sheet);
        const QImage stored = storedPicture(spec);
        checkBoxesAsDesigned(sheet, spec, stored);
        if (QTest::currentTestFailed()) {
            return;
        }
        auto* box = sheet->findChild<PictureBox*>(nameOf(spec) + "Picture");
        QImage picture;
        if (box) {
            // Two-pixel sunken border; the picture starts at its inner corner, unscaled.
            QCOMPARE(box->contentsRect(), box->rect().adjusted(edge, edge, -edge, -edge));
            QVERIFY(sheet->backgroundPicture().isNull());
            picture = box->picture().toImage();
            QVERIFY(showsPictureAt(box->grab().toImage(), QPoint(edge, edge), picture));
        } else {
            picture = sheet->backgroundPicture().toImage();
            QVERIFY(showsPictureAt(sheet->grab().toImage(), QPoint(0, 0), picture));
        }
        QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), stored);
        if (auto* small = sheet->findChild<PictureBox*>(nameOf(spec) + "SmallPicture")) {
            QCOMPARE(small->picture().toImage(), picture); // the same picture, not a copy of it
        }
    }

    // The window at opening shows what the sheet always showed at opening, pixel for pixel, save
    // the strips the scroll bars now take at its right and bottom edges. No box grows into that
    // view: every box that grows does so beyond the opening window's right and bottom edges.
    void sheetOpensShowingWhatItShowedBefore_data() { addSheetRows(); }
    void sheetOpensShowingWhatItShowedBefore() {
        QFETCH(int, index);
        const SheetSpec& spec = sheetSpec(index);
        SheetWindow* sheet = open(spec);
        QVERIFY(sheet);
        const QScrollArea* view = sheet->view();
        QCOMPARE(view->frameWidth(), 0);
        // Every picture reaches beyond its opening window both ways.
        QVERIFY(view->horizontalScrollBar()->isVisible());
        QVERIFY(view->verticalScrollBar()->isVisible());
        const QRect seen = viewIn(sheet);
        QCOMPARE(seen, QRect(QPoint(0, 0),
                             spec.clientSize - QSize(view->verticalScrollBar()->width(),
                                                     view->horizontalScrollBar()->height())));

        const QImage expected =
            lookAtOpening(spec, storedPicture(spec), sheet->palette()).copy(seen);
        const QImage shown =
            sheet->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(seen);
        const QString difference = firstDifference(shown, expected);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // Scrolled to its far corners with the scroll bars, the window shows the picture's first
    // and last rows and columns, every pixel in view where it belongs. Form3's box starts above
    // the window: its top rows are hidden at opening, and scrolling up brings them into view.
    void wholePictureCanBeScrolledIntoView_data() { addSheetRows(); }
    void wholePictureCanBeScrolledIntoView() {
        QFETCH(int, index);
        const SheetSpec& spec = sheetSpec(index);
        SheetWindow* sheet = open(spec);
        QVERIFY(sheet);
        const QImage picture = storedPicture(spec);
        const QPoint atOpening = scrollOf(sheet);
        QScrollBar* across = sheet->view()->horizontalScrollBar();
        QScrollBar* down = sheet->view()->verticalScrollBar();

        PictureInView seen = pictureInView(sheet, spec, picture, QPoint(0, 0));
        QVERIFY2(seen.fault.isEmpty(), qPrintable(seen.fault));
        QCOMPARE(seen.part.left(), 0);
        QCOMPARE(seen.part.top(), std::max(0, -pictureOrigin(spec).y()));
        QVERIFY(seen.part.right() < picture.width() - 1);
        QVERIFY(seen.part.bottom() < picture.height() - 1);

        across->setValue(across->maximum());
        down->setValue(down->maximum());
        seen = pictureInView(sheet, spec, picture, scrollOf(sheet) - atOpening);
        QVERIFY2(seen.fault.isEmpty(), qPrintable(seen.fault));
        QCOMPARE(seen.part.right(), picture.width() - 1);
        QCOMPARE(seen.part.bottom(), picture.height() - 1);

        across->setValue(across->minimum());
        down->setValue(down->minimum());
        seen = pictureInView(sheet, spec, picture, scrollOf(sheet) - atOpening);
        QVERIFY2(seen.fault.isEmpty(), qPrintable(seen.fault));
        QCOMPARE(seen.part.topLeft(), QPoint(0, 0));
    }

    // The End key and the wheel take the sheet to its last row, whether the keys go to the view,
    // which has the focus from the start, or to a picture box the user clicked; Home and the
    // wheel back up return to the first row.
    void endKeyAndWheelReachTheLastRow_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("clickBoxFirst");
        QTest::addColumn<bool>("byWheel");
        QTest::newRow("Form11, keys at opening") << "Form11" << false << false;
        QTest::newRow("Form11, wheel") << "Form11" << false << true;
        QTest::newRow("Form2, keys at opening") << "Form2" << false << false;
        QTest::newRow("Form2, keys to the focused box") << "Form2" << true << false;
        QTest::newRow("Form2, wheel over the box") << "Form2" << true << true;
    }
    void endKeyAndWheelReachTheLastRow() {
        QFETCH(QString, name);
        QFETCH(bool, clickBoxFirst);
        QFETCH(bool, byWheel);
        const SheetSpec& spec = sheetNamed(name);
        SheetWindow* sheet = open(spec);
        QVERIFY(sheet);
        const QImage picture = storedPicture(spec);
        const QPoint atOpening = scrollOf(sheet);
        QScrollBar* down = sheet->view()->verticalScrollBar();
        // Over the picture, inside the box where there is one.
        const QPoint pointer = pictureOrigin(spec) + QPoint(30, 30);
        if (clickBoxFirst) {
            auto* box = sheet->findChild<PictureBox*>(name + "Picture");
            QVERIFY(box);
            QTest::mouseClick(box, Qt::LeftButton, {}, box->mapFrom(sheet, pointer));
            QCOMPARE(QApplication::focusWidget(), box);
            QCOMPARE(sheet->childAt(pointer), box);
        } else if (!byWheel) {
            QCOMPARE(QApplication::focusWidget(), sheet->view());
        }

        auto scrollToEnd = [&](bool towardsEnd) {
            if (!byWheel) {
                QTest::keyClick(sheet->windowHandle(), towardsEnd ? Qt::Key_End : Qt::Key_Home);
                return;
            }
            for (int turns = 0; turns < 200; ++turns) {
                turnWheel(sheet, pointer, towardsEnd ? -1 : 1);
            }
        };
        scrollToEnd(true);
        QCOMPARE(down->value(), down->maximum());
        PictureInView seen = pictureInView(sheet, spec, picture, scrollOf(sheet) - atOpening);
        QVERIFY2(seen.fault.isEmpty(), qPrintable(seen.fault));
        QCOMPARE(seen.part.bottom(), picture.height() - 1);

        scrollToEnd(false);
        QCOMPARE(down->value(), down->minimum());
        seen = pictureInView(sheet, spec, picture, scrollOf(sheet) - atOpening);
        QVERIFY2(seen.fault.isEmpty(), qPrintable(seen.fault));
        QCOMPARE(seen.part.top(), 0);
    }

    // Each key moves the view by a line or a page, from a sheet scrolled half-way both ways.
    void keysScrollTheSheet_data() {
        QTest::addColumn<bool>("clickBoxFirst");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::Orientation>("direction");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        for (const bool clickBoxFirst : {false, true}) {
            const char* focus = clickBoxFirst ? "box focused" : "at opening";
            auto row = [&](const char* key) -> QTestData& {
                return QTest::addRow("%s, %s", key, focus);
            };
            row("Down") << clickBoxFirst << int(Qt::Key_Down) << Qt::Vertical << 1 << 0;
            row("Up") << clickBoxFirst << int(Qt::Key_Up) << Qt::Vertical << -1 << 0;
            row("Right") << clickBoxFirst << int(Qt::Key_Right) << Qt::Horizontal << 1 << 0;
            row("Left") << clickBoxFirst << int(Qt::Key_Left) << Qt::Horizontal << -1 << 0;
            row("Page Down") << clickBoxFirst << int(Qt::Key_PageDown) << Qt::Vertical << 0 << 1;
            row("Page Up") << clickBoxFirst << int(Qt::Key_PageUp) << Qt::Vertical << 0 << -1;
        }
    }
    void keysScrollTheSheet() {
        QFETCH(bool, clickBoxFirst);
        QFETCH(int, key);
        QFETCH(Qt::Orientation, direction);
        QFETCH(int, lines);
        QFETCH(int, pages);
        SheetWindow* sheet = open(sheetNamed(QStringLiteral("Form2")));
        QVERIFY(sheet);
        if (clickBoxFirst) {
            auto* box = sheet->findChild<PictureBox*>(QStringLiteral("Form2Picture"));
            QVERIFY(box);
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(30, 30));
            QCOMPARE(QApplication::focusWidget(), box);
        }
        QScrollBar* across = sheet->view()->horizontalScrollBar();
        QScrollBar* down = sheet->view()->verticalScrollBar();
        across->setValue(across->maximum() / 2);
        down->setValue(down->maximum() / 2);
        QScrollBar* moved = direction == Qt::Vertical ? down : across;
        QScrollBar* still = direction == Qt::Vertical ? across : down;
        const int before = moved->value();
        const int stillBefore = still->value();

        QTest::keyClick(sheet->windowHandle(), Qt::Key(key));
        QCOMPARE(moved->value(), before + lines * moved->singleStep() + pages * moved->pageStep());
        QCOMPARE(still->value(), stillBefore);
    }

    // Tab moves the focus between the view and the picture box, which shows no sign of it; the
    // sheet stays where the user scrolled it.
    void tabMovesTheFocusButNotTheSheet() {
        SheetWindow* sheet = open(sheetNamed(QStringLiteral("Form2")));
        QVERIFY(sheet);
        auto* box = sheet->findChild<PictureBox*>(QStringLiteral("Form2Picture"));
        QVERIFY(box);
        QScrollBar* across = sheet->view()->horizontalScrollBar();
        QScrollBar* down = sheet->view()->verticalScrollBar();
        across->setValue(across->maximum() / 2);
        down->setValue(down->maximum() / 2);
        const QPoint scrolled = scrollOf(sheet);

        QCOMPARE(QApplication::focusWidget(), sheet->view());
        QTest::keyClick(sheet->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(scrollOf(sheet), scrolled);
        QTest::keyClick(sheet->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), sheet->view());
        QCOMPARE(scrollOf(sheet), scrolled);
    }

    // Enlarged to hold the whole sheet, the window has no scroll bars and shows every pixel of
    // the picture; a pixel less either way and the scroll bar for that way comes back.
    void scrollBarsOnlyWhileSomethingIsOutOfView_data() { addSheetRows(); }
    void scrollBarsOnlyWhileSomethingIsOutOfView() {
        QFETCH(int, index);
        const SheetSpec& spec = sheetSpec(index);
        SheetWindow* sheet = open(spec);
        QVERIFY(sheet);
        const QImage picture = storedPicture(spec);
        const QPoint atOpening = scrollOf(sheet);
        QScrollBar* across = sheet->view()->horizontalScrollBar();
        QScrollBar* down = sheet->view()->verticalScrollBar();
        const QSize whole = sheet->view()->widget()->size();

        sheet->resize(whole);
        QTRY_COMPARE(sheet->size(), whole);
        QTRY_VERIFY(!across->isVisible() && !down->isVisible());
        const PictureInView seen = pictureInView(sheet, spec, picture, scrollOf(sheet) - atOpening);
        QVERIFY2(seen.fault.isEmpty(), qPrintable(seen.fault));
        QCOMPARE(seen.part, picture.rect());
        // Nothing scales: the boxes keep their sizes in the larger window.
        checkBoxesAsDesigned(sheet, spec, picture, scrollOf(sheet) - atOpening);

        sheet->resize(whole - QSize(1, 0));
        QTRY_VERIFY(across->isVisible());
        sheet->resize(whole - QSize(0, 1));
        QTRY_VERIFY(down->isVisible());
    }

    // Form19's box is 16 pixels wider inside than its picture; the strip beyond the picture
    // shows the button face colour.
    void boxWiderThanItsPictureShowsButtonFaceBeyondIt() {
        SheetWindow* sheet = open(sheetNamed(QStringLiteral("Form19")));
        QVERIFY(sheet);
        auto* box = qobject_cast<PictureBox*>(sheet->findChild<QWidget*>("Form19Picture"));
        QVERIFY(box);
        QVERIFY(box->contentsRect().width() > box->picture().width());
        const QImage shown = box->grab().toImage();
        const QColor face = box->palette().color(QPalette::Button);
        QCOMPARE(shown.pixelColor(2 + box->picture().width() + 4, 100), face);
    }

    void secondClickBringsTheOpenSheetForward_data() { addSheetRows(); }
    void secondClickBringsTheOpenSheetForward() {
        QFETCH(int, index);
        const SheetSpec& spec = sheetSpec(index);
        QPointer<SheetWindow> first = open(spec);
        QVERIFY(first);
        first->move(first->pos() + QPoint(30, 20));
        first->resize(400, 300);
        const QRect placed = first->geometry();
        QVERIFY(bringToFront(form_));

        QTest::mouseClick(button(buttonShowing(spec.sheet)), Qt::LeftButton);
        QCOMPARE(topLevelsNamed(nameOf(spec)).size(), 1);
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
        QTest::newRow("Form3, its box above the window") << "Form3";
    }
    void closedSheetIsDestroyedAndReopensAfresh() {
        QFETCH(QString, name);
        const SheetSpec& spec = sheetNamed(name);
        QPointer<SheetWindow> first = open(spec);
        QVERIFY(first);
        const QPoint atOpening = scrollOf(first);
        first->resize(700, 500);
        first->move(first->pos() + QPoint(40, 40));
        QTRY_COMPARE(first->size(), QSize(700, 500));
        QTest::keyClick(first->windowHandle(), Qt::Key_End);
        QVERIFY(scrollOf(first) != atOpening);

        closeLikeTheUser(first);
        flushDeletes();
        QVERIFY(first.isNull());
        QVERIFY(topLevelsNamed(nameOf(spec)).isEmpty());
        QVERIFY(form_->isVisible());

        SheetWindow* second = open(spec);
        QVERIFY(second);
        QCOMPARE(second->size(), spec.clientSize);
        if (spec.centred) {
            QVERIFY(centredOnScreen(second));
        }
        checkBoxesAsDesigned(second, spec, storedPicture(spec));
    }

    // A closed window lingers until the event loop deletes it; a click in that moment must still
    // give a fresh, lasting window, not the one on its way out.
    void clickRightAfterClosingOpensANewSheet() {
        const SheetSpec& spec = sheetNamed(QStringLiteral("Form4"));
        QPointer<SheetWindow> first = open(spec);
        QVERIFY(first);
        first->resize(500, 400);
        first->close();
        button(buttonShowing(spec.sheet))->click();
        flushDeletes();
        QVERIFY(first.isNull());
        const QList<QWidget*> windows = topLevelsNamed(nameOf(spec));
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows.first()->isVisible());
        QCOMPARE(windows.first()->size(), spec.clientSize);
    }

    void allSeventeenSheetsOpenTogetherWhileTheCalculatorWorks() {
        QList<QPointer<QWidget>> opened;
        for (const SheetSpec& spec : sheetSpecs) {
            QTest::mouseClick(button(buttonShowing(spec.sheet)), Qt::LeftButton);
        }
        for (const SheetSpec& spec : sheetSpecs) {
            const QList<QWidget*> windows = topLevelsNamed(nameOf(spec));
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
