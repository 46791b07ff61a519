#include "core/keyer/clock_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/settings/numbers.h"

namespace parlomat {

namespace {

constexpr std::int64_t kSecondsPerDay = std::int64_t{24} * 60 * 60;
constexpr double kMaxSeconds = 1e9;

std::string TwoDigitPairs(std::initializer_list<std::int64_t> values) {
    std::string text;
    for (const auto value : values) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%02d", static_cast<int>(value));
        if (!text.empty()) {
            text += ':';
        }
        text += digits;
    }
    return text;
}

}  // namespace

std::string TimeOfDayText(std::chrono::seconds time_of_day) {
    const std::int64_t s =
        ((time_of_day.count() % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
    return TwoDigitPairs({s / 3600, s / 60 % 60, s % 60});
}

std::chrono::seconds TimeOfDay(LocalTime t) {
    const auto midnight = std::chrono::floor<std::chrono::days>(t);
    return std::chrono::floor<std::chrono::seconds>(t - midnight);
}

std::chrono::seconds MinutesAsSeconds(double minutes) {
    const double seconds = minutes * 60;
    if (!std::isfinite(seconds)) {
        return std::chrono::seconds{0};
    }
    const double rounded = RoundHalfEven(std::clamp(seconds, -kMaxSeconds, kMaxSeconds));
    return std::chrono::seconds{static_cast<std::int64_t>(rounded)};
}

std::chrono::seconds UtcTimeOfDay(std::chrono::seconds local, std::int32_t hours, double minutes) {
    const std::int64_t total = local.count() + std::int64_t{hours} % 24 * 3600 +
                               MinutesAsSeconds(minutes).count() % kSecondsPerDay;
    return std::chrono::seconds{((total % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay};
}

std::string MessageLengthText(Ms length) {
    const std::int64_t tenths = (std::max<std::int64_t>(length.count(), 0) + 50) / 100;
    const std::int64_t seconds = tenths / 10 % 60;
    return std::to_string(tenths / 600) + ":" + (seconds < 10 ? "0" : "") +
           std::to_string(seconds) + "." + std::to_string(tenths % 10);
}

std::string IdCountdownText(Ms left) {
    const std::int64_t seconds = (left.count() + 999) / 1000;
    return TwoDigitPairs({seconds / 60 % 60, seconds % 60});
}

}  // namespace parlomat
