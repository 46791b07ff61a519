#include "platform/qt_scheduler.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QTimer>
#include <chrono>
#include <string>

#include "core/runtime/timer.h"

namespace parlomat {
namespace {

using namespace std::chrono_literals;

// Runs the event loop until `done` is called; a generous guard ends a hung test instead of
// blocking the suite.
class EventLoop {
  public:
    EventLoop() : app_(argc_, argv_) {}
    bool run() {
        QTimer::singleShot(10'000, &app_, [this] { app_.exit(1); });
        return app_.exec() == 0;
    }
    void done() { app_.exit(0); }

  private:
    int argc_ = 1;
    char name_[5] = "test";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication app_;
};

TEST(QtScheduler, RunsCallbacksByDueTimeThenSchedulingOrder) {
    EventLoop loop;
    QtScheduler scheduler;
    std::string order;
    const Ms t = scheduler.now();
    scheduler.call_at(t + 30ms, [&] { order += 'a'; });
    scheduler.call_at(t + 10ms, [&] { order += 'b'; });
    scheduler.call_at(t + 30ms, [&] { order += 'c'; });
    const auto dropped = scheduler.call_at(t + 20ms, [&] { order += 'x'; });
    scheduler.call_at(t - 50ms, [&] { order += 'd'; });
    scheduler.call_at(t + 30ms, [&] {
        order += 'e';
        scheduler.call_at(scheduler.now(), [&] {
            order += 'f';
            loop.done();
        });
    });
    scheduler.cancel(dropped);
    scheduler.cancel(12345);
    ASSERT_TRUE(loop.run());
    EXPECT_EQ(order, "dbacef");
}

TEST(QtScheduler, DrivesWindowTimers) {
    EventLoop loop;
    QtScheduler scheduler;
    std::string order;
    Timer* self = nullptr;
    Timer one_shot(scheduler, [&] {
        self->set_enabled(false);
        order += 'o';
    });
    self = &one_shot;
    int ticks = 0;
    Timer repeating(scheduler, [&] {
        order += 'r';
        if (++ticks == 4) {
            loop.done();
        }
    });
    one_shot.set_interval(5ms);
    repeating.set_interval(10ms);
    one_shot.set_enabled(true);
    repeating.set_enabled(true);
    ASSERT_TRUE(loop.run());
    EXPECT_EQ(order, "orrrr");
    EXPECT_FALSE(one_shot.enabled());
}

TEST(QtScheduler, LocalTimeIsTheWallClockReading) {
    struct Case {
        QDate date;
        QTime time;
        std::chrono::sys_days day;
        Ms since_midnight;
    };
    using std::chrono::year;
    const Case cases[] = {
        {QDate(1970, 1, 1), QTime(0, 0), year(1970) / 1 / 1, 0ms},
        {QDate(2026, 12, 6), QTime(13, 45, 30, 250), year(2026) / 12 / 6, 49'530'250ms},
        {QDate(2000, 2, 29), QTime(23, 59, 59, 999), year(2000) / 2 / 29, 86'399'999ms},
        {QDate(1969, 12, 31), QTime(12, 0), year(1969) / 12 / 31, 43'200'000ms},
    };
    for (const auto& c : cases) {
        const LocalTime expected{c.day.time_since_epoch() + c.since_midnight};
        EXPECT_EQ(ToLocalTime(QDateTime(c.date, c.time)), expected)
            << c.date.toString(Qt::ISODate).toStdString();
    }
}

}  // namespace
}  // namespace parlomat
