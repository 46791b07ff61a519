#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace parlomat {

/// Whether the moment in `clock_text` ("hh:nn:ss", local time) lies in a transmit segment for
/// the segment code `NAMSTiming` (1 = 15 s, 2 = 30 s, 3 = 1 min, 4 = 2 min). `XmitOddSegments`
/// picks the "ODD" segments for transmit. Nothing for an unknown code or a malformed text.
std::optional<bool> IsTransmitSegment(std::string_view clock_text, std::int16_t NAMSTiming,
                                      bool XmitOddSegments);

/// Whole seconds left in the Sked segment that the moment in `clock_text` lies in (1 at its
/// last second). Nothing for an unknown code or a malformed text.
std::optional<int> SegmentSecondsLeft(std::string_view clock_text, std::int16_t NAMSTiming);

}  // namespace parlomat
