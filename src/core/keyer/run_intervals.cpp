#include "core/keyer/run_intervals.h"

#include <algorithm>
#include <cmath>

#include "core/runtime/timer.h"
#include "core/settings/numbers.h"

namespace parlomat {

Ms PTTDelayInterval(std::int32_t ptt_delay) {
    return std::clamp(Ms{ptt_delay}, Ms{1}, Timer::kMaxInterval);
}

double ReceiveDelayMs(std::string_view delay_text) {
    const double ms = LeadingNumber(delay_text) * 100;
    return std::isfinite(ms) ? ms : 0;
}

Ms ReceiveChunkInterval(double remaining) {
    const double rounded = RoundHalfEven(std::min(remaining, double(Timer::kMaxInterval.count())));
    return std::max(Ms{1}, Ms{static_cast<Ms::rep>(rounded)});
}

}  // namespace parlomat
