#include "sim/sim_scheduler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parlomat {
namespace {

using namespace std::chrono_literals;

TEST(SimScheduler, RunsDueCallbacksAsVirtualTimePasses) {
    struct Case {
        const char* name;
        std::vector<Ms> advances;
        std::vector<Ms> now_after;
        std::string ran_after_each;  // the callbacks run by each advance, '|' between advances
    };
    // Callbacks: 'a' due at 100 ms, 'b' at 100 ms (scheduled later), 'c' at -50 ms (so at once),
    // 'x' at 150 ms but cancelled.
    const Case cases[] = {
        {"in due order, ties in scheduling order", {250ms}, {250ms}, "cab"},
        {"a zero advance runs what is due now", {0ms, 100ms}, {0ms, 100ms}, "c|ab"},
        {"the end of an advance is inclusive", {99ms, 1ms}, {99ms, 100ms}, "c|ab"},
        {"time never runs backwards",
         {-40ms, 60ms, -1000ms, 40ms},
         {0ms, 60ms, 60ms, 100ms},
         "c|||ab"},
    };
    for (const auto& c : cases) {
        SimScheduler scheduler;
        std::string ran;
        scheduler.call_at(100ms, [&] { ran += 'a'; });
        scheduler.cancel(scheduler.call_at(150ms, [&] { ran += 'x'; }));
        scheduler.call_at(100ms, [&] { ran += 'b'; });
        scheduler.call_at(-50ms, [&] { ran += 'c'; });
        std::vector<Ms> now_after;
        for (std::size_t i = 0; i < c.advances.size(); ++i) {
            if (i > 0) {
                ran += '|';
            }
            scheduler.advance(c.advances[i]);
            now_after.push_back(scheduler.now());
        }
        EXPECT_EQ(ran, c.ran_after_each) << c.name;
        EXPECT_EQ(now_after, c.now_after) << c.name;
        EXPECT_TRUE(scheduler.idle()) << c.name;
    }
}

}  // namespace
}  // namespace parlomat
