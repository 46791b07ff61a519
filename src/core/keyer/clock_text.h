#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "core/runtime/scheduler.h"

namespace parlomat {

/// A time of day as "hh:nn:ss" (24-hour).
std::string TimeOfDayText(std::chrono::seconds time_of_day);

/// The time of day of a local date-time, whole seconds (the fraction dropped).
std::chrono::seconds TimeOfDay(LocalTime t);

/// Minutes as whole seconds, halves to even; not finite gives 0; limited to about 30 years
/// either way so that date arithmetic cannot overflow.
std::chrono::seconds MinutesAsSeconds(double minutes);

/// The UTC time of day for local time of day `local`, when UTC leads local time by
/// `hours` hours and `minutes` minutes; wraps around midnight.
std::chrono::seconds UtcTimeOfDay(std::chrono::seconds local, std::int32_t hours, double minutes);

/// A message's length as "m:ss.s": tenths rounded to the nearest, minutes not limited.
std::string MessageLengthText(Ms length);

/// The station-ID countdown for `left` (> 0) time left: whole seconds rounded up, as "mm:ss"
/// with whole hours dropped.
std::string IdCountdownText(Ms left);

}  // namespace parlomat
