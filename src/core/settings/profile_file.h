#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace parlomat {

/// Reading and writing INI ("profile") files with the Windows profile semantics:
/// section and key names match without regard to case; a missing file, section or key yields
/// the default; blanks around a value are removed and matching single or double quotes are
/// stripped; values are cut to 255 characters.
inline constexpr std::size_t kProfileValueMax = 255;

/// The value of `key` in `section` of the file at `path`, or `default_value`.
std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view default_value);

/// Creates the file, section and key as needed, replaces an existing value in place, appends a
/// new key at the end of its section and leaves every other line byte for byte as it was.
/// Writes a temporary file beside the target and renames it over; false when that failed.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace parlomat
