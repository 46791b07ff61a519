#pragma once

#include <string>
#include <string_view>

namespace parlomat {

/// Replaces the file at `path` (following a symbolic link to its target) with `content` so that
/// a crash or a power cut leaves either the old file or the new one whole: a temporary file
/// beside it, written in full, flushed to the disk, given the old file's permissions, renamed
/// over it, and the rename flushed too. False when any step failed; the old file then stays as
/// it was and no temporary file is left behind.
///
/// Defined outside the core by the platform's file layer (src/platform/files), which has the
/// system calls for flushing to the disk.
bool ReplaceFileContent(const std::string& path, std::string_view content);

}  // namespace parlomat
