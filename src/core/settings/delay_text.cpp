#include "core/settings/delay_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/settings/numbers.h"

namespace parlomat {
namespace {

// Whole tenths, limited to the 32-bit range like every delay.
std::int64_t WholeTenths(double tenths) {
    if (std::isnan(tenths)) {
        return 0;
    }
    return static_cast<std::int64_t>(std::clamp(std::round(tenths), 0.0, 2147483647.0));
}

}  // namespace

std::string DelayEditText(std::string_view tenths) {
    const std::int64_t t = WholeTenths(LeadingNumber(tenths));
    return std::to_string(t / 10) + "." + std::to_string(t % 10);
}

std::string DelaySecondsText(std::string_view tenths) {
    return DelayEditText(tenths) + " s";
}

std::string DelayTenthsText(std::string_view seconds) {
    return std::to_string(WholeTenths(LeadingNumber(seconds) * 10.0));
}

}  // namespace parlomat
