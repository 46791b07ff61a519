#pragma once

#include <string>
#include <string_view>

namespace parlomat {

/// ASCII upper and lower case; the locale plays no part.
std::string UpperCase(std::string text);
std::string LowerCase(std::string text);

/// Equal but for ASCII letter case.
bool EqualsNoCase(std::string_view a, std::string_view b);

/// `text` without the white space (blank, tab, CR, LF, VT, FF) at either end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace parlomat
