#pragma once

#include <string>
#include <vector>

namespace parlomat {

/// The file extensions (lower case, no dot) of every format this libsndfile reads, wav first:
/// its major formats, plus "ogg" and "opus" where it decodes Ogg containers.
std::vector<std::string> PlayableExtensions();

}  // namespace parlomat
