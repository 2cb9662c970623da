// Where the window's regular face comes from on a machine laid out unlike Debian: Wine's outline
// Tahoma is found in whichever shared data folder holds it, and without it the window falls back
// to Liberation Sans. The font choice is made once per process, so CTest runs this twice, with
// BELTRIX_FONT_CASE "elsewhere" (Tahoma copied into a data folder of the test's own, the only one
// the program is told about) and "missing" (an empty data folder).

#include "ui/form1.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace beltrix::ui;

namespace {

const QString tahomaPath = QStringLiteral("wine/fonts/tahoma.ttf");

} // namespace

class FontLocationTest : public QObject {
    Q_OBJECT

public:
    FontLocationTest(QString fontCase, bool copied) : case_(std::move(fontCase)), copied_(copied) {}

private:
    QString case_;
    bool copied_;

private slots:
    void regularFaceComesFromTheDataFoldersGiven() {
        if (case_ == QLatin1String("elsewhere")) {
            if (!copied_) {
                QSKIP("Wine's Tahoma is not installed here (Debian: fonts-wine)");
            }
            QCOMPARE(controlFontFamily(false), QStringLiteral("Tahoma"));
            QCOMPARE(QFontInfo(controlFont(false)).family(), QStringLiteral("Tahoma"));
            QCOMPARE(controlFontFamily(true), QStringLiteral("Liberation Sans"));
        } else if (case_ == QLatin1String("missing")) {
            QCOMPARE(controlFontFamily(false), QStringLiteral("Liberation Sans"));
            QCOMPARE(controlFontFamily(true), QStringLiteral("Liberation Sans"));
        } else {
            QFAIL("BELTRIX_FONT_CASE must be \"elsewhere\" or \"missing\"");
        }
    }
};

int main(int argc, char** argv) {
    const QString fontCase = qEnvironmentVariable("BELTRIX_FONT_CASE");
    // Looked up where the machine keeps it, before the test moves the data folders away.
    const QString installed =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, tahomaPath);

    QTemporaryDir data;
    QTemporaryDir home;
    if (!data.isValid() || !home.isValid()) {
        return 1;
    }
    bool copied = false;
    if (fontCase == QLatin1String("elsewhere") && !installed.isEmpty()) {
        const QString target = data.filePath(tahomaPath);
        QDir().mkpath(QFileInfo(target).path());
        copied = QFile::copy(installed, target);
    }
    qputenv("XDG_DATA_DIRS", QFile::encodeName(data.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));

    QApplication app(argc, argv);
    FontLocationTest test(fontCase, copied);
    return QTest::qExec(&test, argc, argv);
}

#include "font_location_test.moc"
