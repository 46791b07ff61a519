#include "core/settings/delay_text.h"

#include <gtest/gtest.h>

#include <utility>

namespace parlomat {
namespace {

TEST(DelayText, StoredTenthsShowAsSecondsAndTypedSecondsStoreAsTenths) {
    const std::pair<const char*, const char*> shown[] = {
        {"300", "30.0 s"}, {"2.5", "0.3 s"},           {"12abc", "1.2 s"},
        {"-3", "0.0 s"},   {"1e999", "214748364.7 s"},
    };
    for (const auto& [tenths, seconds] : shown) {
        EXPECT_EQ(DelaySecondsText(tenths), seconds) << tenths;
    }
    const std::pair<const char*, const char*> typed[] = {
        {"2.5 s", "25"}, {"0.04", "0"}, {"0.05", "1"}, {"-1", "0"}, {"1e999", "2147483647"},
    };
    for (const auto& [seconds, tenths] : typed) {
        EXPECT_EQ(DelayTenthsText(seconds), tenths) << seconds;
        // What is stored shows again as the seconds it stands for.
        EXPECT_EQ(DelayTenthsText(DelayEditText(tenths)), tenths) << seconds;
    }
}

}  // namespace
}  // namespace parlomat
