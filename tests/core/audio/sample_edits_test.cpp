#include "core/audio/sample_edits.h"

#include <gtest/gtest.h>

#include <cmath>

namespace parlomat {
namespace {

constexpr int kRate = 8000;        // 100 ms = 800 samples
constexpr float kLoud = 0.0057f;   // just above -45 dBFS (0.005623)
constexpr float kQuiet = 0.0056f;  // just below

// `length` samples of silence with `value` at each index of `at`.
std::vector<float> Signal(std::size_t length, std::initializer_list<std::size_t> at,
                          float value = kLoud) {
    std::vector<float> s(length, 0.0f);
    for (const auto i : at) {
        s[i] = value;
    }
    return s;
}

TEST(TrimRange, KeepsOneHundredMillisecondsAroundTheLoudPart) {
    const struct {
        const char* what;
        std::vector<float> samples;
        SampleRange range;
    } cases[] = {
        {"loud in the middle", Signal(5000, {1000, 3000}), {200, 3801}},
        {"negative samples count", Signal(5000, {1000}, -kLoud), {200, 1801}},
        {"closer to the ends than 100 ms", Signal(1000, {300, 700}), {0, 1000}},
        {"exactly 100 ms from each end", Signal(2001, {800, 1200}), {0, 2001}},
        {"one loud sample at the very start", Signal(2000, {0}), {0, 801}},
        {"just below the threshold is silence", Signal(2000, {500}, kQuiet), {0, 0}},
        {"nothing", {}, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimRange(c.samples, kRate), c.range) << c.what;
    }
    const auto trimmed = Trim(Signal(5000, {1000, 3000}), kRate);
    ASSERT_EQ(trimmed.size(), 3601u);
    EXPECT_EQ(trimmed[800], kLoud);
    EXPECT_EQ(trimmed[2800], kLoud);
}

TEST(Normalize, BringsThePeakToMinusOneDbfs) {
    const float target = std::pow(10.0f, -1.0f / 20.0f);  // 0.891
    const struct {
        const char* what;
        std::vector<float> samples;
        std::vector<float> expected;
    } cases[] = {
        {"quiet sine-like", {0.0f, 0.25f, -0.5f, 0.1f}, {0.0f, target / 2, -target, target / 5}},
        {"clipped", {1.0f, -1.0f}, {target, -target}},
        {"silence stays", {0.0f, 0.0f}, {0.0f, 0.0f}},
        {"nothing", {}, {}},
    };
    for (const auto& c : cases) {
        const auto out = Normalize(c.samples);
        ASSERT_EQ(out.size(), c.expected.size()) << c.what;
        for (std::size_t i = 0; i < out.size(); ++i) {
            EXPECT_NEAR(out[i], c.expected[i], 1e-6f) << c.what << " sample " << i;
        }
    }
}

TEST(ApplyEdit, RefusesAnEditThatChangesNothingOrEmptiesTheMessage) {
    const float at_target = std::pow(10.0f, -1.0f / 20.0f);
    const struct {
        const char* what;
        SampleEdit edit;
        std::vector<float> samples;
        bool applied;
    } cases[] = {
        {"silence to cut", SampleEdit::Trim, Signal(5000, {1000}), true},
        {"no silence to cut", SampleEdit::Trim, Signal(1000, {300, 700}), false},
        {"trim of silence", SampleEdit::Trim, Signal(2000, {}), false},
        {"quiet message", SampleEdit::Normalize, Signal(10, {5}), true},
        {"half a 16-bit step below -1 dBFS", SampleEdit::Normalize,
         Signal(10, {5}, at_target - 0.5f / 32768), false},
        {"normalize silence", SampleEdit::Normalize, Signal(10, {}), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ApplyEdit(c.edit, c.samples, kRate).has_value(), c.applied) << c.what;
    }
}

}  // namespace
}  // namespace parlomat
