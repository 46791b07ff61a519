#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace parlomat {

/// The leading decimal number of `text`: blanks, tabs and line feeds are ignored wherever they
/// stand; then an optional sign, digits, an optional "." with digits and an optional exponent.
/// Text that does not begin with a number gives 0. May return +-infinity ("1e999").
double LeadingNumber(std::string_view text);

/// Number to text: at most 15 significant digits, "-" for negatives, no zero before the point
/// below 1 (".5"), no trailing zeros and no point for whole numbers. Not finite gives "0".
std::string NumberText(double value);

/// NumberText with one leading blank in place of a plus sign (" 5", "-5.5").
std::string SignedNumberText(double value);

/// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

/// RoundHalfEven, clamped into the field's range; not-a-number gives 0.
std::int32_t RoundToInt32(double value);
std::int16_t RoundToInt16(double value);

/// Clamped into the 32-bit range; not-a-number gives 0; the fraction is dropped toward zero.
double ClampToInt32Range(double value);

}  // namespace parlomat
