#include "core/settings/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace parlomat {

namespace {

bool IsIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The text with blanks, tabs and line feeds removed, stopping early once a character is seen
// that cannot belong to a number (so a long tail of junk is never copied).
std::string Compact(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (IsIgnored(c)) {
            continue;
        }
        const bool numeric = IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
        if (!numeric) {
            break;
        }
        out.push_back(c);
    }
    return out;
}

// The decimal order of magnitude of a number that std::from_chars found out of range, used only
// to tell an overflow (positive order) from an underflow.
bool Overflows(std::string_view digits, std::string_view fraction, std::string_view exponent) {
    std::int64_t order = 0;
    const auto first = digits.find_first_not_of('0');
    if (first != std::string_view::npos) {
        order = static_cast<std::int64_t>(digits.size() - first);
    } else {
        const auto nonzero = fraction.find_first_not_of('0');
        if (nonzero == std::string_view::npos) {
            return false;
        }
        order = -static_cast<std::int64_t>(nonzero);
    }
    bool negative = false;
    std::size_t i = 0;
    if (i < exponent.size() && (exponent[i] == '+' || exponent[i] == '-')) {
        negative = exponent[i] == '-';
        ++i;
    }
    constexpr std::int64_t kSaturate = std::int64_t{1} << 40;
    std::int64_t exp = 0;
    for (; i < exponent.size(); ++i) {
        exp = std::min(kSaturate, exp * 10 + (exponent[i] - '0'));
    }
    return order + (negative ? -exp : exp) > 0;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    const std::string s = Compact(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::size_t int_begin = i;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
    }
    const std::string_view digits(s.data() + int_begin, i - int_begin);
    std::string_view fraction;
    if (i < s.size() && s[i] == '.') {
        const std::size_t frac_begin = ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
        }
        fraction = std::string_view(s.data() + frac_begin, i - frac_begin);
    }
    if (digits.empty() && fraction.empty()) {
        return 0.0;
    }
    std::string_view exponent;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            ++j;
        }
        const std::size_t exp_digits = j;
        while (j < s.size() && IsDigit(s[j])) {
            ++j;
        }
        if (j > exp_digits) {
            exponent = std::string_view(s.data() + i + 1, j - i - 1);
            i = j;
        }
    }
    // from_chars takes no leading "+" and reads a full stop whatever the locale.
    const char* begin = s.data() + int_begin;
    const char* end = s.data() + i;
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value =
            Overflows(digits, fraction, exponent) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc{}) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::string NumberText(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return "0";
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    const auto e = text.find('e');
    if (e != std::string::npos) {
        text[e] = 'E';
    }
    const bool negative = text.front() == '-';
    const std::size_t lead = negative ? 1 : 0;
    if (text.size() > lead + 1 && text[lead] == '0' && text[lead + 1] == '.') {
        text.erase(lead, 1);
    }
    // Next to the largest double, rounding to 15 digits steps past it; the text must still read
    // back as a finite number.
    if (std::isinf(LeadingNumber(text))) {
        return negative ? "-1.79769313486231E+308" : "1.79769313486231E+308";
    }
    return text;
}

std::string SignedNumberText(double value) {
    std::string text = NumberText(value);
    if (text.front() != '-') {
        text.insert(text.begin(), ' ');
    }
    return text;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const double floor = std::floor(value);
    const double rest = value - floor;
    if (rest < 0.5) {
        return floor;
    }
    if (rest > 0.5) {
        return floor + 1.0;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

namespace {

template <typename Int>
Int RoundToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = RoundHalfEven(value);
    constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<Int>::max());
    return static_cast<Int>(std::clamp(rounded, lo, hi));
}

}  // namespace

std::int32_t RoundToInt32(double value) {
    return RoundToInt<std::int32_t>(value);
}

std::int16_t RoundToInt16(double value) {
    return RoundToInt<std::int16_t>(value);
}

double ClampToInt32Range(double value) {
    if (std::isnan(value)) {
        return 0.0;
    }
    constexpr double lo = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    return std::clamp(std::trunc(value), lo, hi);
}

}  // namespace parlomat
