#include "core/runtime/timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim_scheduler.h"

namespace parlomat {
namespace {

using namespace std::chrono_literals;

TEST(Timer, FollowsTheWindowTimerModel) {
    struct Case {
        const char* name;
        Ms interval;
        bool enabled;
        const char* steps;  ///< "<ms> on", "<ms> off", "<ms> <new interval>", ';' between
        Ms horizon;
        std::vector<Ms> fires;
    };
    const Case cases[] = {
        {"fires once per interval", 100ms, true, "", 350ms, {100ms, 200ms, 300ms}},
        {"negative is 0: never fires", -5ms, true, "", 100000ms, {}},
        {"interval 0 stops it", 100ms, true, "150 0", 1000ms, {100ms}},
        {"enable starts afresh", 100ms, true, "70 off;90 on", 300ms, {190ms, 290ms}},
        {"same interval keeps the countdown", 100ms, true, "70 100", 250ms, {100ms, 200ms}},
        {"new interval restarts", 100ms, true, "70 50", 230ms, {120ms, 170ms, 220ms}},
        {"interval while disabled waits", 0ms, false, "10 40;100 on", 200ms, {140ms, 180ms}},
        {"interval on an enabled idle timer", 0ms, true, "30 100", 250ms, {130ms, 230ms}},
        {"clamped to 65,535 ms", 100000ms, true, "", 140000ms, {65535ms, 131070ms}},
        {"disabled at the due time, after the tick", 100ms, true, "100 off", 1000ms, {100ms}},
    };
    for (const auto& c : cases) {
        SimScheduler scheduler;
        std::vector<Ms> fired;
        Timer timer(
            scheduler, [&] { fired.push_back(scheduler.now()); }, c.interval, c.enabled);
        std::istringstream steps(c.steps);
        std::string step;
        while (std::getline(steps, step, ';')) {
            const auto blank = step.find(' ');
            scheduler.advance(Ms{std::stoi(step.substr(0, blank))} - scheduler.now());
            const std::string what = step.substr(blank + 1);
            if (what == "on" || what == "off") {
                timer.set_enabled(what == "on");
            } else {
                timer.set_interval(Ms{std::stoi(what)});
            }
        }
        scheduler.advance(c.horizon - scheduler.now());
        EXPECT_EQ(fired, c.fires) << c.name;
    }
}

TEST(Timer, HandlersMayRearmThemselvesAndADestroyedTimerNeverFires) {
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

    fired.clear();
    timer = std::make_unique<Timer>(
        scheduler,
        [&] {
            fired.push_back(scheduler.now());
            timer->set_interval(fired.size() == 1 ? 30ms : 40ms);
        },
        100ms, true);
    scheduler.advance(250ms);
    EXPECT_EQ(fired, (std::vector<Ms>{5100ms, 5130ms, 5170ms, 5210ms, 5250ms}));
    timer.reset();
    scheduler.advance(1000ms);
    EXPECT_EQ(fired.size(), 5u);
    EXPECT_TRUE(scheduler.idle());
}

TEST(Timer, TiesFireInArmingOrder) {
    SimScheduler scheduler;
    std::string order;
    const auto append = [&order](char name) { return [&order, name] { order += name; }; };
    Timer a(scheduler, append('a'), 100ms);
    Timer b(scheduler, append('b'), 50ms);
    Timer c(scheduler, append('c'), 100ms);
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

}  // namespace
}  // namespace parlomat
