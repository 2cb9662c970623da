#pragma once

#include <QIcon>

namespace beltrix::ui {

// The icon of every window of the program: the images of assets/icon/Form1.ico.
QIcon applicationIcon();

// The program: sets up the application, opens the main window and runs until the last window
// closes, so open reference sheets outlive the main window. Returns the exit status.
int runApplication(int argc, char** argv);

} // namespace beltrix::ui
