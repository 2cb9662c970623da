#pragma once

// A virtual X display for the benchmark, and a watcher that sees from outside when a program's
// window has first been painted on it.

#include "bench/child.h"

#include <cstdint>
#include <string>

#ifdef BELTRIX_BENCH_X11
struct _XDisplay; // Xlib's Display, kept out of everything that includes this
#endif

namespace beltrix::bench {

// Xvfb with the openbox window manager, so that windows are mapped, framed and exposed the way
// a desktop does it. Both end with this object.
class VirtualDisplay {
public:
    VirtualDisplay() = default;
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    ~VirtualDisplay();

    // Starts both; false, with the reason, when either fails.
    bool start(const std::string& log, std::string& error);
    const std::string& name() const { return name_; } // as ":99"

private:
    pid_t server_ = -1;
    Child windowManager_;
    std::string name_;
};

#ifdef BELTRIX_BENCH_X11
// Watches the display's top-level windows through a connection of its own.
class WindowWatch {
public:
    explicit WindowWatch(const std::string& display);
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;
    ~WindowWatch();

    bool connected() const { return display_ != nullptr; }

    // Forgets the windows created so far; call it before starting the program to watch.
    void reset();

    // Waits for a new top-level window of the given client size to show the colour at the point
    // of its client area, and returns when it was first seen; -1 after the time limit. Qt hands a
    // window's whole first paint to the X server at once, so one pixel in the window's own
    // colour, at a place no control covers, shows that the paint has reached the screen.
    std::int64_t waitForPaint(pid_t owner, int width, int height, int x, int y, unsigned long rgb,
                              int limitMs);

private:
    ::_XDisplay* display_ = nullptr;
};
#endif

} // namespace beltrix::bench
