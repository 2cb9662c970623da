#pragma once

// The clock of the benchmark's Qt programs: when a window has finished its first paint.

#include <QObject>

#include <cstdint>
#include <functional>

class QEventLoop;
class QWidget;

namespace beltrix::bench {

// Nanoseconds of CLOCK_MONOTONIC, which all processes of the machine share, so a child's
// reading can be set against the moment its parent started it.
std::int64_t monotonicNanos();

// Watches every paint event of the application. Qt paints all widgets of a window into its
// backing store and hands that to the window system within the one event that delivered the
// first paint; a call queued from that paint runs right after the event, so its time is when
// the painted window went to the screen.
class PaintClock : public QObject {
public:
    PaintClock();
    ~PaintClock() override;

    // Waits for the next paint of a widget the test accepts (given the painted widget). The
    // callback, if any, gets the painted widget and the time once the paint is on the screen.
    void expect(std::function<bool(QWidget*)> test,
                std::function<void(QWidget*, std::int64_t)> then = {});
    // Runs the event loop until the expected paint has gone to the screen and returns its time,
    // or -1 after the time limit.
    std::int64_t wait(int limitMs = 30000);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(QWidget*)> test_;
    std::function<void(QWidget*, std::int64_t)> then_;
    std::int64_t paintedAt_ = -1;
    bool armed_ = false;
    QEventLoop* loop_ = nullptr;
};

// Matches any widget inside the top-level window of this object name.
std::function<bool(QWidget*)> inWindowNamed(const QString& name);

// Runs the event loop for a while, so that work queued after a paint (deferred deletes, layout,
// the window system's answers) is done before memory is read.
void settle(int ms);

} // namespace beltrix::bench
