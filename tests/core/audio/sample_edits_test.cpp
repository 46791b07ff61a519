#include "core/audio/sample_edits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace parlomat {
namespace {

constexpr int kRate = 8000;       // 100 ms = 800 samples
constexpr float kLoud = 0.0057f;  // just above -45 dBFS (0.005623)

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
    } cases[] = {{"loud in the middle", Signal(5000, {1000, 3000}), {200, 3801}},
                 {"negative samples count", Signal(5000, {1000}, -kLoud), {200, 1801}},
                 {"closer to the ends than 100 ms", Signal(1000, {300, 700}), {0, 1000}},
                 {"exactly 100 ms from each end", Signal(2001, {800, 1200}), {0, 2001}},
                 {"one loud sample at the very start", Signal(2000, {0}), {0, 801}},
                 {"just below the threshold is silence", Signal(2000, {500}, 0.0056f), {0, 0}},
                 {"nothing", {}, {0, 0}}};
    for (const auto& c : cases) {
        EXPECT_EQ(TrimRange(c.samples, kRate), c.range) << c.what;
    }
}

using Result = std::optional<std::vector<float>>;

TEST(ApplyEdit, TrimsOrBringsThePeakToMinusOneDbfsOrRefusesWhatChangesNothing) {
    const float target = std::pow(10.0f, -1.0f / 20.0f);  // 0.891
    constexpr SampleEdit kTrim = SampleEdit::Trim, kNorm = SampleEdit::Normalize;
    const struct {
        const char* what;
        SampleEdit edit;
        std::vector<float> samples;
        Result result;
    } cases[] = {
        {"silence to cut", kTrim, Signal(5000, {1000, 3000}), Signal(3601, {800, 2800})},
        {"no silence to cut", kTrim, Signal(1000, {300, 700}), {}},
        {"trim of silence", kTrim, Signal(2000, {}), {}},
        {"quiet", kNorm, {0, 0.25f, -0.5f, 0.1f}, Result{{0, target / 2, -target, target / 5}}},
        {"clipped", kNorm, {1.0f, -1.0f}, Result{{target, -target}}},
        {"half a 16-bit step below -1 dBFS", kNorm, Signal(10, {5}, target - 0.5f / 32768), {}},
        {"normalize silence", kNorm, Signal(10, {}), {}}};
    for (const auto& c : cases) {
        const Result out = ApplyEdit(c.edit, c.samples, kRate);
        ASSERT_EQ(out.has_value(), c.result.has_value()) << c.what;
        ASSERT_EQ(out ? out->size() : 0, c.result ? c.result->size() : 0) << c.what;
        for (std::size_t i = 0; out && i < out->size(); ++i) {
            EXPECT_NEAR((*out)[i], (*c.result)[i], 1e-6f) << c.what << " sample " << i;
        }
    }
}

}  // namespace
}  // namespace parlomat
