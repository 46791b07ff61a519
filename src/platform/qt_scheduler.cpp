#include "platform/qt_scheduler.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <algorithm>

namespace parlomat {

namespace {

// The Unix epoch (1970-01-01) as a Julian day number.
constexpr qint64 kEpochJulianDay = 2440588;

// Long waits are split: the timer wakes at least this often and re-arms for what is left.
constexpr Ms kLongestWait{3'600'000};

}  // namespace

QtScheduler::QtScheduler() {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { run_due(); });
}

LocalTime ToLocalTime(const QDateTime& local) {
    const qint64 days = local.date().toJulianDay() - kEpochJulianDay;
    const auto since_midnight = Ms{local.time().msecsSinceStartOfDay()};
    return LocalTime{std::chrono::days{days}} + since_midnight;
}

Ms QtScheduler::now() const {
    return Ms{clock_.elapsed()};
}

LocalTime QtScheduler::local_now() const {
    return ToLocalTime(QDateTime::currentDateTime());
}

std::chrono::minutes QtScheduler::zone_offset() const {
    return std::chrono::duration_cast<std::chrono::minutes>(
        std::chrono::seconds{QDateTime::currentDateTime().offsetFromUtc()});
}

Scheduler::CallbackId QtScheduler::call_at(Ms due, std::function<void()> callback) {
    const CallbackId id = queue_.add(std::max(due, now()), std::move(callback));
    rearm();
    return id;
}

void QtScheduler::cancel(CallbackId id) {
    queue_.cancel(id);
    rearm();
}

void QtScheduler::run_due() {
    // Only callbacks scheduled before this round run in it, so a callback that schedules another
    // one at once cannot hold the event loop.
    const CallbackId round_end = queue_.next_id();
    const Ms until = now();
    while (auto next = queue_.take_due(until, round_end)) {
        next->callback();
    }
    rearm();
}

void QtScheduler::rearm() {
    const auto due = queue_.next_due();
    if (!due) {
        timer_.stop();
        return;
    }
    if (timer_.isActive() && *due == armed_for_) {
        return;
    }
    armed_for_ = *due;
    const Ms wait = std::clamp(*due - now(), Ms{0}, kLongestWait);
    timer_.start(static_cast<int>(wait.count()));
}

}  // namespace parlomat
