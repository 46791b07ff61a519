#pragma once

#include <string>
#include <string_view>

namespace parlomat {

/// A receive window is stored in tenths of a second, as typed ("20"); the delay box shows and
/// takes seconds.

/// The stored tenths as seconds with their unit: "20" -> "2.0 s"; what reads as no number or
/// below zero shows as "0.0 s".
std::string DelaySecondsText(std::string_view tenths);

/// The same without the unit, for editing: "20" -> "2.0".
std::string DelayEditText(std::string_view tenths);

/// Seconds as the operator typed them ("2.5", "2.5 s", "3") as the tenths to store ("25",
/// "30"), rounded to a whole tenth; no number reads as "0".
std::string DelayTenthsText(std::string_view seconds);

}  // namespace parlomat
