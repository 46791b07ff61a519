#pragma once

#include <string>

namespace parlomat {

/// Copies a message file into the station directory.
class FileCopier {
  public:
    virtual ~FileCopier() = default;
    /// Replaces `to` with a copy of `from` in one step (a temporary file beside `to`, flushed to
    /// disk, then renamed over it). False when it failed; `to` is then as it was and no temporary
    /// file is left behind.
    virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
};

}  // namespace parlomat
