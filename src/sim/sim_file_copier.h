#pragma once

#include <string>

#include "core/audio/file_copier.h"

namespace parlomat {

/// Copies files on the real file system with the standard library (a temporary file beside the
/// target, renamed over it): the scenario's station directory is real, its durability is not.
class SimFileCopier final : public FileCopier {
  public:
    bool CopyFile(const std::string& from, const std::string& to) override;
};

}  // namespace parlomat
