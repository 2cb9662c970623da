// The program around its windows: how the main window comes up, when the program ends (when its
// last window closes, so open sheets outlive the main window), the message box every operation
// speaks through, and the application icon.

#include "ui/application.h"
#include "ui/form1.h"
#include "ui/packed_picture.h"
#include "window_test_support.h"

#include <QImageReader>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace beltrix::ui;
using namespace beltrix::ui::test;

namespace {

QString assetsFolder() {
    return QStringLiteral(BELTRIX_ASSETS_DIR);
}

} // namespace

class ShellTest : public QObject {
    Q_OBJECT

private:
    ModalGuard guard_;

private slots:
    void initTestCase() { silenceOffscreenNoise(); }

    void cleanup() {
        const QString problems = finishCase(guard_);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void startShowsTheMainWindowCentredWithTheCaretInText2() {
        QPointer<Form1> form = openMainWindow();
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        QVERIFY(form->isVisible());
        QVERIFY(!form->isModal());
        QCOMPARE(form->size(), QSize(1016, 591));
        // The offscreen platform's pretend frame is two pixels on every side.
        const QPoint offset =
            form->frameGeometry().center() - form->screen()->availableGeometry().center();
        QVERIFY2(
            qAbs(offset.x()) <= 3 && qAbs(offset.y()) <= 3,
            qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
        QCOMPARE(QApplication::focusWidget(), form->findChild<QLineEdit*>(QStringLiteral("Text2")));
        // No sheet is made at start.
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{form.data()});
    }

    // Qt reports the last window's closing only while the event loop runs, as it does in the
    // program, so each case runs its closings inside exec(). exec() returning is the program
    // ending; a watchdog ends a loop that would otherwise never return.
    void programEndsWhenItsLastWindowCloses_data() {
        QTest::addColumn<QStringList>("sheetButtons");
        QTest::addColumn<QStringList>("closingOrder");
        QTest::addColumn<QList<int>>("endedAfterEach");
        QTest::newRow("main window alone: closing it ends the program")
            << QStringList{} << QStringList{"Form1"} << QList<int>{1};
        QTest::newRow("sheets outlive the main window; the last sheet ends the program")
            << QStringList{"Command10", "Command2"} << QStringList{"Form1", "Form14", "Form2"}
            << QList<int>{0, 0, 1};
        QTest::newRow("a sheet closed first leaves the main window to end the program")
            << QStringList{"Command10"} << QStringList{"Form14", "Form1"} << QList<int>{0, 1};
    }
    void programEndsWhenItsLastWindowCloses() {
        QFETCH(QStringList, sheetButtons);
        QFETCH(QStringList, closingOrder);
        QFETCH(QList<int>, endedAfterEach);

        QPointer<Form1> form = openMainWindow();
        QVERIFY(bringToFront(form));
        for (const QString& name : sheetButtons) {
            QTest::mouseClick(form->findChild<QPushButton*>(name), Qt::LeftButton);
        }
        QList<QPointer<QWidget>> windows;
        for (const QString& name : closingOrder) {
            const QList<QWidget*> found = topLevelsNamed(name);
            QCOMPARE(found.size(), 1);
            windows << found.first();
        }

        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        QList<int> ended;
        QList<bool> destroyed;
        QList<bool> othersStillShown;
        QTimer::singleShot(0, qApp, [&] {
            for (qsizetype i = 0; i < windows.size(); ++i) {
                if (windows[i]) {
                    closeLikeTheUser(windows[i]);
                }
                flushDeletes();
                destroyed << windows[i].isNull(); // closing destroys the window at once
                ended << int(lastClosed.count());
                bool shown = true;
                for (qsizetype j = i + 1; j < windows.size(); ++j) {
                    shown = shown && windows[j] && windows[j]->isVisible();
                }
                othersStillShown << shown;
            }
        });
        bool hung = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, qApp, [&] {
            hung = true;
            closeAllWindows();
            QCoreApplication::quit();
        });
        watchdog.start(60000);
        QApplication::exec();
        watchdog.stop();

        QVERIFY2(!hung, "the program went on running after its last window closed");
        QCOMPARE(ended, endedAfterEach);
        QCOMPARE(destroyed, QList<bool>(closingOrder.size(), true));
        QCOMPARE(othersStillShown, QList<bool>(closingOrder.size(), true));
        QCOMPARE(lastClosed.count(), 1);
    }

    void messageBoxIsCaptionedBeltrixWithOnlyOk_data() {
        QTest::addColumn<Dismissal>("dismissal");
        QTest::addColumn<QString>("text");
        QTest::newRow("answered with the OK button")
            << Dismissal::OkButton << noticeString(Notice::EnterValidPort);
        QTest::newRow("answered with Enter")
            << Dismissal::EnterKey << noticeString(Notice::EnterValidPortCapital);
        QTest::newRow("answered with Escape")
            << Dismissal::EscapeKey << noticeString(Notice::ControlCardSlots);
        QTest::newRow("answered with the close button")
            << Dismissal::CloseButton << noticeString(Notice::PortInSecondFrame);
        QTest::newRow("markup in the text is shown as written")
            << Dismissal::OkButton << "TAG BLOCK NO: \"<b>12</b>\" is not a number.";
    }
    void messageBoxIsCaptionedBeltrixWithOnlyOk() {
        QFETCH(Dismissal, dismissal);
        QFETCH(QString, text);
        QPointer<Form1> form = openMainWindow();
        QVERIFY(bringToFront(form));

        bool returned = false;
        const QList<SeenMessage> seen = guard_.expectMessages(
            [&] {
                showBeltrixMessage(form, text);
                returned = true;
            },
            dismissal);
        QVERIFY(returned);
        QCOMPARE(seen.size(), 1);
        const SeenMessage& box = seen.first();
        QVERIFY2(box.wentAway, dismissalName(dismissal));
        QCOMPARE(box.title, QStringLiteral("BELTRIX"));
        QCOMPARE(box.text, text);
        QCOMPARE(box.textFormat, Qt::PlainText);
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.buttonCount, 1);
        QVERIFY(box.applicationModal);
        QVERIFY(form);
        QVERIFY(form->isVisible());
    }

    // One icon in three images: 32 x 32 in 2 colours, 32 x 32 and 16 x 16 in 16 colours.
    void applicationIconHoldsThreeImages() {
        QImageReader reader(assetsFolder() + QStringLiteral("/icon/Form1.ico"));
        QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
        QCOMPARE(reader.imageCount(), 3);
        QList<QPair<int, qsizetype>> images; // side, number of opaque colours
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            QCOMPARE(image.width(), image.height());
            QSet<QRgb> colours;
            const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < argb.height(); ++y) {
                for (int x = 0; x < argb.width(); ++x) {
                    const QRgb pixel = argb.pixel(x, y);
                    if (qAlpha(pixel) == 255) {
                        colours.insert(pixel);
                    }
                }
            }
            images << qMakePair(image.width(), colours.size());
        }
        std::sort(images.begin(), images.end());
        QCOMPARE(images[0].first, 16);
        QVERIFY(images[0].second <= 16);
        QCOMPARE(images[1].first, 32);
        QVERIFY(images[1].second <= 2);
        QCOMPARE(images[2].first, 32);
        QVERIFY(images[2].second <= 16);

        const QIcon icon = applicationIcon();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(32, 32), QSize(16, 16)}));
    }

    // The pictures the main window shows at start are compiled in already decoded; they are the
    // asset files' own images, pixel for pixel.
    void picturesShownAtStartAreTheAssetsPixelForPixel_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("file");
        QTest::newRow("first banner") << ":/banners/Picture1"
                                      << "banners/Picture1.png";
        QTest::newRow("second banner") << ":/banners/Picture2"
                                       << "banners/Picture2.png";
        QTest::newRow("third banner") << ":/banners/Picture3"
                                      << "banners/Picture3.png";
        QTest::newRow("window icon") << ":/icon/Form1"
                                     << "icon/Form1.ico";
    }
    void picturesShownAtStartAreTheAssetsPixelForPixel() {
        QFETCH(QString, resource);
        QFETCH(QString, file);
        QImageReader reader(assetsFolder() + QLatin1Char('/') + file);
        QList<QImage> expected;
        for (int i = 0; i < qMax(1, reader.imageCount()); ++i) {
            QVERIFY(reader.imageCount() <= 1 || reader.jumpToImage(i));
            expected << reader.read().convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(!expected.last().isNull(), qPrintable(reader.errorString()));
        }
        const QList<QImage> packed = packedPictures(resource);
        QCOMPARE(packed.size(), expected.size());
        for (qsizetype i = 0; i < packed.size(); ++i) {
            QCOMPARE(packed[i].convertToFormat(QImage::Format_ARGB32), expected[i]);
        }
    }

    // Damaged or foreign data is refused whole, never read past its end.
    void damagedPackedPicturesAreRefused_data() {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = packPictures({QImage(3, 2, QImage::Format_RGB32)});
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a PNG file") << QByteArray("\x89PNG\r\n\x1a\n", 8) + good.mid(8);
        QTest::newRow("cut in the header") << good.left(12);
        QTest::newRow("cut in the pixels") << good.left(good.size() - 1);
        QByteArray wide = good;
        wide[8] = char(0xff);
        wide[9] = char(0xff);
        wide[10] = char(0xff);
        QTest::newRow("a width beyond any picture") << wide;
    }
    void damagedPackedPicturesAreRefused() {
        QFETCH(QByteArray, data);
        QVERIFY(unpackPictures(data).isEmpty());
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
