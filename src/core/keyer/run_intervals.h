#pragma once

#include <cstdint>
#include <string_view>

#include "core/runtime/scheduler.h"

namespace parlomat {

/// The PTT delay as a timer interval: 1..65,535 ms. A delay of 0 still gives the timer an
/// interval it fires on (an interval of 0 never fires and would leave the transmitter keyed).
Ms PTTDelayInterval(std::int32_t ptt_delay);

/// A slot's delay text (tenths of a second) as milliseconds; text whose value is not finite
/// after scaling counts as 0.
double ReceiveDelayMs(std::string_view delay_text);

/// The interval for the last chunk of a receive window of `remaining` ms (0 < remaining <=
/// 65,535): rounded halves to even, at least 1 ms so that the window always ends.
Ms ReceiveChunkInterval(double remaining);

}  // namespace parlomat
