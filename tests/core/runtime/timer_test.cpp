#include "core/runtime/timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sim/sim_scheduler.h"

namespace parlomat {
namespace {

using namespace std::chrono_literals;

struct Step {
    enum Kind { kEnable, kDisable, kInterval };
    Ms at;
    Kind kind;
    Ms interval{0};
};

TEST(Timer, FollowsTheWindowTimerModel) {
    struct Case {
        const char* name;
        Ms interval;
        bool enabled;
        std::vector<Step> steps;
        Ms horizon;
        std::vector<Ms> fires;
    };
    const Case cases[] = {
        {"fires once per interval", 100ms, true, {}, 350ms, {100ms, 200ms, 300ms}},
        {"interval 0 never fires", 0ms, true, {}, 100000ms, {}},
        {"interval 0 stops a running timer",
         100ms,
         true,
         {{150ms, Step::kInterval, 0ms}},
         1000ms,
         {100ms}},
        {"enabling a stopped timer starts afresh",
         100ms,
         true,
         {{70ms, Step::kDisable}, {90ms, Step::kEnable}},
         300ms,
         {190ms, 290ms}},
        {"same interval keeps the countdown",
         100ms,
         true,
         {{70ms, Step::kInterval, 100ms}},
         250ms,
         {100ms, 200ms}},
        {"different interval restarts",
         100ms,
         true,
         {{70ms, Step::kInterval, 50ms}},
         230ms,
         {120ms, 170ms, 220ms}},
        {"interval given while disabled waits for enable",
         0ms,
         false,
         {{10ms, Step::kInterval, 40ms}, {100ms, Step::kEnable}},
         200ms,
         {140ms, 180ms}},
        {"interval set on an enabled idle timer starts it",
         0ms,
         true,
         {{30ms, Step::kInterval, 100ms}},
         250ms,
         {130ms, 230ms}},
        {"above 65,535 ms is clamped", 100000ms, true, {}, 140000ms, {65535ms, 131070ms}},
        {"negative is clamped to 0", -5ms, true, {}, 10000ms, {}},
        {"disable at the due time after the tick",
         100ms,
         true,
         {{100ms, Step::kDisable}},
         1000ms,
         {100ms}},
    };
    for (const auto& c : cases) {
        SimScheduler scheduler;
        std::vector<Ms> fired;
        Timer timer(
            scheduler, [&] { fired.push_back(scheduler.now()); }, c.interval, c.enabled);
        for (const auto& step : c.steps) {
            scheduler.advance(step.at - scheduler.now());
            switch (step.kind) {
                case Step::kEnable:
                    timer.set_enabled(true);
                    break;
                case Step::kDisable:
                    timer.set_enabled(false);
                    break;
                case Step::kInterval:
                    timer.set_interval(step.interval);
                    break;
            }
        }
        scheduler.advance(c.horizon - scheduler.now());
        EXPECT_EQ(fired, c.fires) << c.name;
    }
}

TEST(Timer, OneShotHandlersSwitchThemselvesOff) {
    SimScheduler scheduler;
    std::vector<Ms> fired;
    std::unique_ptr<Timer> timer;
    timer = std::make_unique<Timer>(scheduler, [&] {
        timer->set_enabled(false);
        fired.push_back(scheduler.now());
        if (fired.size() == 1) {
            timer->set_interval(300ms);
            timer->set_enabled(true);
        }
    });
    timer->set_interval(200ms);
    timer->set_enabled(true);
    scheduler.advance(5000ms);
    EXPECT_EQ(fired, (std::vector<Ms>{200ms, 500ms}));
    EXPECT_FALSE(timer->enabled());
    EXPECT_TRUE(scheduler.idle());
}

TEST(Timer, HandlerMayGiveItselfANewInterval) {
    SimScheduler scheduler;
    std::vector<Ms> fired;
    std::unique_ptr<Timer> timer;
    timer = std::make_unique<Timer>(
        scheduler,
        [&] {
            fired.push_back(scheduler.now());
            timer->set_interval(fired.size() == 1 ? 30ms : 40ms);
        },
        100ms, true);
    scheduler.advance(250ms);
    EXPECT_EQ(fired, (std::vector<Ms>{100ms, 130ms, 170ms, 210ms, 250ms}));
}

TEST(Timer, TiesFireInArmingOrder) {
    SimScheduler scheduler;
    std::string order;
    Timer a(
        scheduler, [&] { order += 'a'; }, 100ms);
    Timer b(
        scheduler, [&] { order += 'b'; }, 50ms);
    Timer c(
        scheduler, [&] { order += 'c'; }, 100ms);
    c.set_enabled(true);
    a.set_enabled(true);
    b.set_enabled(true);
    scheduler.advance(200ms);
    EXPECT_EQ(order, "bcabbcab");

    order.clear();
    c.set_enabled(false);
    c.set_enabled(true);
    scheduler.advance(100ms);
    EXPECT_EQ(order, "bacb");
}

TEST(Timer, DestroyedTimerNeverFires) {
    SimScheduler scheduler;
    int fired = 0;
    {
        Timer timer(
            scheduler, [&] { ++fired; }, 100ms, true);
        scheduler.advance(150ms);
    }
    scheduler.advance(1000ms);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(scheduler.idle());
}

}  // namespace
}  // namespace parlomat
