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
        const char* steps;  ///< at "<ms>": "on", "off", "<new interval>" or "end"
        std::vector<Ms> fires;
    };
    const Case cases[] = {
        {"negative is 0: never fires", -5ms, true, "100000 end", {}},
        {"interval 0 stops it", 100ms, true, "150 0 1000 end", {100ms}},
        {"enable starts afresh", 100ms, true, "70 off 90 on 300 end", {190ms, 290ms}},
        {"same interval keeps the countdown", 100ms, true, "70 100 250 end", {100ms, 200ms}},
        {"new interval restarts", 100ms, true, "70 50 230 end", {120ms, 170ms, 220ms}},
        {"interval while disabled waits", 0ms, false, "10 40 100 on 200 end", {140ms, 180ms}},
        {"interval on an enabled idle timer", 0ms, true, "30 100 250 end", {130ms, 230ms}},
        {"clamped to 65,535 ms", 100000ms, true, "140000 end", {65535ms, 131070ms}},
        {"disabled at the due time, after the tick", 100ms, true, "100 off 1000 end", {100ms}},
    };
    for (const auto& c : cases) {
        SimScheduler scheduler;
        std::vector<Ms> fired;
        Timer timer(
            scheduler, [&] { fired.push_back(scheduler.now()); }, c.interval, c.enabled);
        std::istringstream steps(c.steps);
        int at = 0;
        std::string what;
        while (steps >> at >> what) {
            scheduler.advance(Ms{at} - scheduler.now());
            if (what == "on" || what == "off") {
                timer.set_enabled(what == "on");
            } else if (what != "end") {
                timer.set_interval(Ms{std::stoi(what)});
            }
        }
        EXPECT_EQ(fired, c.fires) << c.name;
    }
}

TEST(Timer, HandlersMayRearmThemselvesAndADestroyedTimerNeverFires) {
    SimScheduler scheduler;
    std::vector<Ms> fired;
    std::unique_ptr<Timer> timer;
    const auto handler = [&] {
        fired.push_back(scheduler.now());
        if (fired.size() == 1) {
            timer->set_interval(30ms);  // restarts the countdown
        } else {
            timer->set_enabled(false);
            timer->set_interval(fired.size() == 2 ? 50ms : 40ms);
            timer->set_enabled(fired.size() == 2);
        }
    };
    timer = std::make_unique<Timer>(scheduler, handler, 100ms, true);
    scheduler.advance(1000ms);
    EXPECT_EQ(fired, (std::vector<Ms>{100ms, 130ms, 180ms}));
    timer->set_enabled(true);
    timer.reset();
    scheduler.advance(1000ms);
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_TRUE(scheduler.idle());
}

TEST(Timer, TiesFireInArmingOrder) {
    SimScheduler scheduler;
    std::string order;
    const auto append = [&order](char name) { return [&order, name] { order += name; }; };
    Timer c(scheduler, append('c'), 100ms, true);
    Timer a(scheduler, append('a'), 100ms, true);
    Timer b(scheduler, append('b'), 50ms, true);
    scheduler.advance(200ms);
    c.set_enabled(false);  // re-armed now, behind a
    c.set_enabled(true);
    scheduler.advance(100ms);
    EXPECT_EQ(order, "bcabbcabbacb");
}

}  // namespace
}  // namespace parlomat
