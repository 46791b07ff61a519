#include "core/audio/level_meter.h"

#include <gtest/gtest.h>

#include <limits>

namespace parlomat {
namespace {

TEST(MeterFraction, MapsDbfsLinearlyFromTheFloorToFullScale) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    const float cases[][2] = {{-kInf, 0}, {-90, 0},  {-45, 0.25f}, {-6, 0.9f},
                              {3, 1},     {kInf, 1}, {kNaN, 0}};
    for (const auto& [dbfs, fraction] : cases) {
        EXPECT_FLOAT_EQ(MeterFraction(dbfs), fraction) << dbfs;
    }
}

TEST(ClipHold, StaysLitForOneSecondAfterTheLastClip) {
    const struct {
        int ms;
        float peak;
        bool lit;
    } steps[] = {{0, -3.0f, false},    {100, 0.0f, true},     {600, -20.0f, true},
                 {1099, -20.0f, true}, {1100, -20.0f, false}, {1200, -0.001f, true},
                 {1700, 0.0f, true},   {2699, -50.0f, true},  {2700, -50.0f, false},
                 {2800, -0.02f, false}};
    ClipHold hold;
    for (const auto& s : steps) {
        EXPECT_EQ(hold.update(s.peak, std::chrono::milliseconds{s.ms}), s.lit)
            << "at " << s.ms << " ms";
    }
}

}  // namespace
}  // namespace parlomat
