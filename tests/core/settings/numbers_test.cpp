#include "core/settings/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace parlomat {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMax = std::numeric_limits<double>::max();

TEST(LeadingNumber, ReadsTheLeadingDecimalNumber) {
    struct Case {
        std::string text;
        double expected;
    };
    const Case cases[] = {
        {std::string(1'000'000, '9'), kInf},
        {"0." + std::string(1'000'000, '0') + "1", 0},
        {std::string("12\0"
                     "34",
                     5),
         12},
        {std::string(1'000'000, ' ') + "8", 8},
        {".75", 0.75},
        {"12abc", 12},
        {"-.5", -0.5},
        {" \t 4 2\n.5", 42.5},
        {"\r5", 0},
        {"2.5e-1", 0.25},
        {"1e", 1},
        {".", 0},
        {"0x10", 0},
        {"5,5", 5},
        {"1e999", kInf},
        {"-1e999", -kInf},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.text), c.expected) << '"' << c.text.substr(0, 40) << '"';
    }
}

TEST(NumberText, FormatsWithFifteenSignificantDigits) {
    struct Case {
        double value;
        const char* text;
        const char* signed_text;
    };
    const Case cases[] = {
        {5.5, "5.5", " 5.5"},
        {0.5, ".5", " .5"},
        {-0.5, "-.5", "-.5"},
        {5 + 1.0 / 3, "5.33333333333333", " 5.33333333333333"},
        {-0.0, "0", " 0"},
        {0.1 + 0.2, ".3", " .3"},
        {123456789012345, "123456789012345", " 123456789012345"},
        {1e15, "1E+15", " 1E+15"},
        {-0.00001, "-1E-05", "-1E-05"},
        {kMax, "1.79769313486231E+308", " 1.79769313486231E+308"},
        {kInf, "0", " 0"},
        {kNaN, "0", " 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberText(c.value), c.text) << c.value;
        EXPECT_EQ(SignedNumberText(c.value), c.signed_text) << c.value;
    }
}

TEST(NumberText, ReadsBackThroughLeadingNumber) {
    const double values[] = {0.1, -2.75, 1.0 / 3, 65535, 1e-300, 9.87654321e200, 4.9e-324, -kMax};
    for (const double v : values) {
        EXPECT_NEAR(LeadingNumber(NumberText(v)), v, std::fabs(v) * 1e-14) << NumberText(v);
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        double expected;
    };
    const Case cases[] = {
        {2.5, 2},       {3.5, 4},   {0.5, 0},       {1.5, 2},
        {-0.5, 0},      {-1.5, -2}, {-2.5, -2},     {2.4999, 2},
        {2.5001, 3},    {-2.6, -3}, {1e300, 1e300}, {4503599627370495.5, 4503599627370496},
        {-kInf, -kInf},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
    }
    EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));
}

TEST(Rounding, IntegerFieldsAreClampedToTheirRange) {
    struct Case {
        double value;
        std::int32_t as32;
        std::int16_t as16;
        double truncated;
    };
    const Case cases[] = {
        {-250.5, -250, -250, -250},
        {-2.9, -3, -3, -2},
        {99999, 99999, 32767, 99999},
        {32767.5, 32768, 32767, 32767},
        {2147483647.5, 2147483647, 32767, 2147483647},
        {-2147483648.6, -2147483647 - 1, -32768, -2147483648.0},
        {kInf, 2147483647, 32767, 2147483647},
        {-kInf, -2147483647 - 1, -32768, -2147483648.0},
        {kNaN, 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundToInt32(c.value), c.as32) << c.value;
        EXPECT_EQ(RoundToInt16(c.value), c.as16) << c.value;
        EXPECT_EQ(ClampToInt32Range(c.value), c.truncated) << c.value;
    }
}

}  // namespace
}  // namespace parlomat
