#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/runtime/launcher.h"
#include "sim/trace.h"

namespace parlomat {

/// Never runs anything: a start succeeds, and is traced, when the program it names is an
/// executable file; opening a web address always succeeds.
class SimLauncher final : public Launcher {
  public:
    explicit SimLauncher(Trace& trace) : trace_(trace) {}

    bool program_exists(const std::string& program) const override;
    bool start(const std::string& command_line) override;
    bool open_url(const std::string& url) override;

    /// Splits a command line as a desktop does: blanks separate words, double quotes group them
    /// and "" inside quotes is a literal quote. Nothing when the quotes do not balance.
    static std::optional<std::vector<std::string>> SplitCommand(const std::string& command_line);

  private:
    Trace& trace_;
};

}  // namespace parlomat
