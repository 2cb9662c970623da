// BELTRIX: opens the main window, centred, with the focus in the VLAN field of the port
// calculator. The program ends when its last window closes, so open reference sheets outlive
// the main window.

#include "ui/form1.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QStyle>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BELTRIX"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/Form1.ico")));

    auto* window = new beltrix::ui::Form1; // deletes itself when closed
    window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(),
                                            window->screen()->availableGeometry()));
    window->show();
    window->findChild<QWidget*>(QStringLiteral("Text2"))->setFocus();
    return QApplication::exec();
}
