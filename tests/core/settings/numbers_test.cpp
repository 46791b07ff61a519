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
    using namespace std::string_literals;
    EXPECT_EQ(LeadingNumber(std::string(1'000'000, '9')), kInf);
    EXPECT_EQ(LeadingNumber("0." + std::string(1'000'000, '0') + "1"), 0);
    const std::pair<std::string, double> cases[] = {
        {"12\0 3"s, 12}, {" \t 4 2\n.5", 42.5}, {"-.5", -0.5},
        {"\r5", 0},      {"2.5e-1", 0.25},      {"1e", 1},
        {".", 0},        {"0x10", 0},           {"-1e999", -kInf},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(LeadingNumber(text), expected) << '"' << text.substr(0, 40) << '"';
    }
}

TEST(NumberText, FormatsWithFifteenSignificantDigits) {
    const struct {
        double value;
        const char* text;
        const char* signed_text;
    } cases[] = {{0.5, ".5", " .5"},
                 {5 + 1.0 / 3, "5.33333333333333", " 5.33333333333333"},
                 {-0.0, "0", " 0"},

                 {123456789012345, "123456789012345", " 123456789012345"},
                 {1e15, "1E+15", " 1E+15"},
                 {-0.00001, "-1E-05", "-1E-05"},
                 {kMax, "1.79769313486231E+308", " 1.79769313486231E+308"},
                 {kNaN, "0", " 0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(NumberText(c.value), c.text) << c.value;
        EXPECT_EQ(SignedNumberText(c.value), c.signed_text) << c.value;
    }
    for (const double v : {0.1, -2.75, 1.0 / 3, 65535.0, 1e-300, 9.87654321e200, 4.9e-324, -kMax}) {
        EXPECT_NEAR(LeadingNumber(NumberText(v)), v, std::fabs(v) * 1e-14) << NumberText(v);
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAndIntegersAreClamped) {
    const std::pair<double, double> halves[] = {
        {2.5, 2},      {3.5, 4},    {-0.5, 0},      {-2.5, -2},
        {2.4999, 2},   {2.5001, 3}, {1e300, 1e300}, {4503599627370495.5, 4503599627370496},
        {-kInf, -kInf}};
    for (const auto& [value, expected] : halves) {
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
    }
    EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));

    const struct {
        double value;
        std::int32_t as32;
        std::int16_t as16;
        double truncated;
    } cases[] = {{-2.9, -3, -3, -2},
                 {32767.5, 32768, 32767, 32767},
                 {2147483647.5, 2147483647, 32767, 2147483647},
                 {-2147483648.6, -2147483647 - 1, -32768, -2147483648.0},
                 {kInf, 2147483647, 32767, 2147483647},
                 {kNaN, 0, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(RoundToInt32(c.value), c.as32) << c.value;
        EXPECT_EQ(RoundToInt16(c.value), c.as16) << c.value;
        EXPECT_EQ(ClampToInt32Range(c.value), c.truncated) << c.value;
    }
}

}  // namespace
}  // namespace parlomat
