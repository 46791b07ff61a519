#include "core/settings/delay_text.h"

#include <gtest/gtest.h>

namespace parlomat {
namespace {

TEST(DelayText, StoredTenthsShowAsSeconds) {
    const struct {
        const char* tenths;
        const char* shown;
    } cases[] = {
        {"5", "0.5 s"},     {"300", "30.0 s"}, {"2.5", "0.3 s"},
        {"12abc", "1.2 s"}, {"-3", "0.0 s"},   {"1e999", "214748364.7 s"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DelaySecondsText(c.tenths), c.shown) << c.tenths;
    }
}

TEST(DelayText, TypedSecondsAreStoredAsTenths) {
    const struct {
        const char* typed;
        const char* tenths;
    } cases[] = {
        {"2.5 s", "25"}, {"0.04", "0"}, {"0.05", "1"}, {"-1", "0"}, {"1e999", "2147483647"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DelayTenthsText(c.typed), c.tenths) << c.typed;
        // What is stored shows again as the seconds it stands for.
        EXPECT_EQ(DelayTenthsText(DelayEditText(c.tenths)), c.tenths) << c.typed;
    }
}

}  // namespace
}  // namespace parlomat
