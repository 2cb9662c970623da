// beltrix-bench-floor: the floor that BELTRIX's start-up is measured against. A window of the
// main window's size and colour with one label, one text field and one button, built with the
// same compiler flags: whatever any Qt program with text on screen has to load (the platform
// plugin, fontconfig and the default font, the style) it loads too, and nothing of BELTRIX's own.
//
// usage: beltrix-bench-floor [--report]
//   --report  print the time of the first paint and the memory once settled, then quit;
//             without it the window stays up until the process is ended, for a watcher outside.

#include "bench/paint_clock.h"
#include "bench/report.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    const bool reporting = argc > 1 && std::strcmp(argv[1], "--report") == 0;
    QApplication app(argc, argv);
    std::unique_ptr<beltrix::bench::PaintClock> clock;
    if (reporting) {
        clock = std::make_unique<beltrix::bench::PaintClock>();
        clock->expect(beltrix::bench::inWindowNamed(QStringLiteral("Floor")));
    }

    QWidget window;
    window.setObjectName(QStringLiteral("Floor"));
    // The main window's colour, which the watcher outside looks for as the sign of a paint.
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 255));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.resize(1016, 591);
    auto* label = new QLabel(QStringLiteral("VLAN"), &window);
    label->setGeometry(16, 16, 100, 17);
    auto* field = new QLineEdit(QStringLiteral("2002"), &window);
    field->setGeometry(16, 40, 100, 20);
    auto* button = new QPushButton(QStringLiteral("CALCULATE"), &window);
    button->setGeometry(16, 72, 100, 33);
    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           window.screen()->availableGeometry()));
    window.show();
    field->setFocus();

    if (!reporting) {
        return QApplication::exec();
    }
    beltrix::bench::report("startup.painted", clock->wait());
    beltrix::bench::settle(250);
    beltrix::bench::reportMemory("startup");
    return 0;
}
