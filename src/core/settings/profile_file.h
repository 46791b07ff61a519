#pragma once

#include <string>
#include <string_view>

#include "core/settings/profile_document.h"

namespace parlomat {

/// One key of an INI ("profile") file, read or written on its own, with the Windows profile
/// semantics of ProfileDocument. Each call reads the whole file: to read or write several keys,
/// read one ProfileDocument and save it once.

/// The value of `key` in `section` of the file at `path`, or `default_value`.
std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view default_value);

/// Creates the file, section and key as needed, replaces an existing value in place, appends a
/// new key at the end of its section and leaves every other line byte for byte as it was.
/// Replaces the file in one step (ReplaceFileContent); false when that failed.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace parlomat
