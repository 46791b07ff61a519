#include "core/audio/level_meter.h"

#include <gtest/gtest.h>

#include <limits>

namespace parlomat {
namespace {

using std::chrono::milliseconds;

TEST(MeterFraction, MapsDbfsLinearlyFromTheFloorToFullScale) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const struct {
        float dbfs;
        float fraction;
    } cases[] = {
        {-kInf, 0.0f},
        {-90.0f, 0.0f},
        {-45.0f, 0.25f},
        {-6.0f, 0.9f},
        {3.0f, 1.0f},
        {kInf, 1.0f},
        {std::numeric_limits<float>::quiet_NaN(), 0.0f},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(MeterFraction(c.dbfs), c.fraction) << c.dbfs;
    }
}

TEST(ClipHold, StaysLitForOneSecondAfterTheLastClip) {
    // Readings in order: time, peak, lamp.
    const struct {
        int ms;
        float peak;
        bool lit;
    } steps[] = {
        {0, -3.0f, false},     {100, 0.0f, true},     {600, -20.0f, true}, {1099, -20.0f, true},
        {1100, -20.0f, false}, {1200, -0.001f, true}, {1700, 0.0f, true},  {2699, -50.0f, true},
        {2700, -50.0f, false}, {2800, -0.02f, false},
    };
    ClipHold hold;
    for (const auto& s : steps) {
        EXPECT_EQ(hold.update(s.peak, milliseconds{s.ms}), s.lit) << "at " << s.ms << " ms";
    }
}

}  // namespace
}  // namespace parlomat
