#include "bench/paint_clock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <ctime>
#include <utility>

namespace beltrix::bench {

std::int64_t monotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

PaintClock::PaintClock() {
    QCoreApplication::instance()->installEventFilter(this);
}

PaintClock::~PaintClock() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void PaintClock::expect(std::function<bool(QWidget*)> test,
                        std::function<void(QWidget*, std::int64_t)> then) {
    test_ = std::move(test);
    then_ = std::move(then);
    paintedAt_ = -1;
    armed_ = true;
}

std::int64_t PaintClock::wait(int limitMs) {
    if (paintedAt_ < 0) {
        QEventLoop loop;
        QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
    armed_ = false;
    return paintedAt_;
}

bool PaintClock::eventFilter(QObject* watched, QEvent* event) {
    if (armed_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        test_(static_cast<QWidget*>(watched))) {
        armed_ = false;
        QPointer<QWidget> painted = static_cast<QWidget*>(watched);
        QMetaObject::invokeMethod(
            this,
            [this, painted] {
                paintedAt_ = monotonicNanos();
                if (loop_ != nullptr) {
                    loop_->quit();
                }
                if (then_ && painted) {
                    std::exchange(then_, {})(painted, paintedAt_);
                }
            },
            Qt::QueuedConnection);
    }
    return false;
}

std::function<bool(QWidget*)> inWindowNamed(const QString& name) {
    return [name](QWidget* painted) { return painted->window()->objectName() == name; };
}

void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace beltrix::bench
