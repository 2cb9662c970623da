#include "bench/x_display.h"

#ifdef BELTRIX_BENCH_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace beltrix::bench {
namespace {

void sleepMicroseconds(long us) {
    timespec pause{0, us * 1000};
    nanosleep(&pause, nullptr);
}

#ifdef BELTRIX_BENCH_X11
// Requests on a window that is not yet viewable, or already gone, fail; that is expected while
// watching, and Xlib's default handler would end the benchmark.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

bool windowManagerRunning(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    const bool found =
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &left, &data) == Success &&
        count == 1;
    if (data != nullptr) {
        XFree(data);
    }
    return found;
}
#endif

} // namespace

VirtualDisplay::~VirtualDisplay() {
    stop(windowManager_);
    if (server_ > 0) {
        kill(server_, SIGTERM);
        int status = 0;
        waitpid(server_, &status, 0);
    }
}

bool VirtualDisplay::start(const std::string& log, std::string& error) {
    // Xvfb picks a free display number itself and writes it to the descriptor it is given.
    int numberPipe[2];
    if (pipe(numberPipe) != 0) {
        error = "no pipe for Xvfb";
        return false;
    }
    server_ = fork();
    if (server_ == 0) {
        dup2(numberPipe[1], 3);
        const int logFd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(logFd, STDERR_FILENO);
        dup2(logFd, STDOUT_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x800x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(numberPipe[1]);
    std::string number;
    pollfd fd{numberPipe[0], POLLIN, 0};
    char c = 0;
    while (poll(&fd, 1, 10000) > 0 && read(numberPipe[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(numberPipe[0]);
    if (server_ < 0 || number.empty()) {
        error = "Xvfb did not start (is the xvfb package installed?)";
        return false;
    }
    name_ = ":" + number;

    windowManager_ =
        bench::start("/usr/bin/openbox", {"--sm-disable"}, {{"DISPLAY", name_}}, log, false);
    if (windowManager_.pid < 0) {
        error = "openbox did not start (is the openbox package installed?)";
        return false;
    }
#ifdef BELTRIX_BENCH_X11
    Display* display = XOpenDisplay(name_.c_str());
    if (display == nullptr) {
        error = "cannot connect to Xvfb on " + name_;
        return false;
    }
    bool running = false;
    for (int i = 0; i < 200 && !(running = windowManagerRunning(display)); ++i) {
        sleepMicroseconds(50'000);
    }
    XCloseDisplay(display);
    if (!running) {
        error = "openbox did not take over the display";
        return false;
    }
#else
    sleepMicroseconds(2'000'000);
#endif
    return true;
}

#ifdef BELTRIX_BENCH_X11
WindowWatch::WindowWatch(const std::string& display) {
    XSetErrorHandler(ignoreErrors);
    display_ = XOpenDisplay(display.c_str());
    if (display_ != nullptr) {
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, False);
    }
}

WindowWatch::~WindowWatch() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

void WindowWatch::reset() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
    }
}

std::int64_t WindowWatch::waitForPaint(pid_t owner, int width, int height, int x, int y,
                                       unsigned long rgb, int limitMs) {
    const Window root = DefaultRootWindow(display_);
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    const std::int64_t deadline = monotonicNanos() + std::int64_t{limitMs} * 1'000'000;
    Window candidate = None;
    while (monotonicNanos() < deadline) {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            const XCreateWindowEvent& created = event.xcreatewindow;
            if (event.type == CreateNotify && created.parent == root &&
                created.override_redirect == False && created.width == width &&
                created.height == height) {
                candidate = created.window;
            }
        }
        if (candidate != None) {
            if (XImage* image = XGetImage(display_, candidate, x, y, 1, 1, AllPlanes, ZPixmap)) {
                const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
                XDestroyImage(image);
                if (pixel == rgb) {
                    const std::int64_t seen = monotonicNanos();
                    // Only the child's own window counts; Qt names its process on the window.
                    Atom type = None;
                    int format = 0;
                    unsigned long count = 0;
                    unsigned long left = 0;
                    unsigned char* data = nullptr;
                    bool ours = false;
                    if (XGetWindowProperty(display_, candidate, pidAtom, 0, 1, False, XA_CARDINAL,
                                           &type, &format, &count, &left, &data) == Success &&
                        count == 1 && format == 32) {
                        ours = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == owner;
                    }
                    if (data != nullptr) {
                        XFree(data);
                    }
                    if (ours) {
                        return seen;
                    }
                    candidate = None;
                }
            }
        }
        sleepMicroseconds(250);
    }
    return -1;
}
#endif

} // namespace beltrix::bench
