#include "ui/application.h"

#include "ui/form1.h"

#include <QApplication>
#include <QIcon>

#include <malloc.h>

namespace beltrix::ui {

int runApplication(int argc, char** argv) {
    // A sheet's picture is a block of a megabyte or so that lives as long as its window. Left to
    // itself, glibc raises its mmap threshold to the size of the first such block freed and
    // serves later ones from the heap, which keeps their pages after the sheets close; at the
    // default threshold, fixed, each picture goes back to the system with its sheet.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BELTRIX"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // Lets desktops match the window to its desktop entry (on Wayland in particular).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.beltrix.Beltrix"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/Form1.ico")));
    openMainWindow();
    return QApplication::exec();
}

} // namespace beltrix::ui
