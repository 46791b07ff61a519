#pragma once

#include <string>

#include "core/runtime/launcher.h"

namespace parlomat {

/// Starts programs with QProcess (split like a desktop's command line, never through a shell)
/// and opens addresses with QDesktopServices.
class ProcessLauncher final : public Launcher {
  public:
    bool program_exists(const std::string& program) const override;
    bool start(const std::string& command_line) override;
    bool open_url(const std::string& url) override;

    /// False when a double quote opens a group that never closes. Three quotes in a row stand
    /// for one literal quote, as QProcess::splitCommand reads them.
    static bool QuotesBalanced(const std::string& command_line);
};

}  // namespace parlomat
