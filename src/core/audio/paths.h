#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace parlomat {

/// The file name of `path`: what follows its last "/" or "\" (names written on Windows come
/// out bare), or the whole path when it holds neither.
std::string StripPath(std::string_view path);

/// True when the last characters of `path`, in lower case, are `extension` (given in lower
/// case, with its dot: ".wav").
bool HasExtension(std::string_view path, std::string_view extension);

/// `dir` + "/" + `name` for a name stored in a configuration: a bare name or one with plain
/// subdirectories ("\" counts as "/"). Nothing for a name that is empty, absolute, starts with
/// a drive letter or climbs out of `dir` with "..".
std::optional<std::string> PathUnder(const std::string& dir, std::string_view name);

}  // namespace parlomat
