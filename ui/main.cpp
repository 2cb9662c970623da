// BELTRIX: opens the main window and runs until the last window closes, so open reference
// sheets outlive the main window.

#include "ui/form1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BELTRIX"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // Lets desktops match the window to its desktop entry (on Wayland in particular).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.beltrix.Beltrix"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/Form1.ico")));
    beltrix::ui::openMainWindow();
    return QApplication::exec();
}
