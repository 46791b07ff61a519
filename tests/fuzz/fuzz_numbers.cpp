// Any text read as a number, and any double written as text, must neither crash nor lose more
// than the fifteenth significant digit on the way back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/settings/numbers.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

void CheckRoundTrip(double value) {
    const std::string text = parlomat::NumberText(value);
    Check(!text.empty() && text.size() <= 24);
    Check(text.find(',') == std::string::npos && text.front() != ' ' && text.front() != '+');
    const double back = parlomat::LeadingNumber(text);
    if (!std::isfinite(value)) {
        Check(back == 0.0);
        return;
    }
    Check(std::fabs(back - value) <= std::fabs(value) * 1e-14);
    const std::string signed_text = parlomat::SignedNumberText(value);
    Check(signed_text.front() == ' ' || signed_text.front() == '-');
    Check(parlomat::LeadingNumber(signed_text) == back);
}

void CheckRounding(double value) {
    const double rounded = parlomat::RoundHalfEven(value);
    if (std::isfinite(value)) {
        Check(std::fabs(rounded - value) <= 0.5 && rounded == std::floor(rounded));
    }
    const std::int32_t as32 = parlomat::RoundToInt32(value);
    const std::int16_t as16 = parlomat::RoundToInt16(value);
    if (std::isnan(value)) {
        Check(as32 == 0 && as16 == 0);
    }
    const double clamped = parlomat::ClampToInt32Range(value);
    Check(clamped >= -2147483648.0 && clamped <= 2147483647.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double read = parlomat::LeadingNumber(text);
    Check(!std::isnan(read));
    CheckRoundTrip(read);
    CheckRounding(read);
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        CheckRoundTrip(raw);
        CheckRounding(raw);
    }
    return 0;
}
