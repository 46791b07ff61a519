#pragma once

#include <string>

#include "core/audio/file_copier.h"

namespace parlomat {

/// Copies with POSIX calls: a temporary file beside the target, fsync, rename, then fsync of the
/// directory, so a crash leaves either the old target or the whole copy.
class AtomicFileCopier final : public FileCopier {
  public:
    bool CopyFile(const std::string& from, const std::string& to) override;
};

}  // namespace parlomat
