#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <chrono>
#include <functional>

namespace parlomat::test {

/// Runs the thread's events until `done` holds or `limit` has passed; returns `done()`. The
/// limit only keeps a broken run from hanging: no test asserts how long anything took.
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds limit = std::chrono::seconds(15)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(500);
    }
    return true;
}

/// Runs the thread's events for `span`.
inline void RunFor(std::chrono::milliseconds span) {
    WaitFor([] { return false; }, span);
}

}  // namespace parlomat::test
