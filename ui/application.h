#pragma once

namespace beltrix::ui {

// The program: sets up the application, opens the main window and runs until the last window
// closes, so open reference sheets outlive the main window. Returns the exit status.
int runApplication(int argc, char** argv);

} // namespace beltrix::ui
