#pragma once

#include <QString>
#include <chrono>
#include <optional>

#include "app/command_line.h"

namespace parlomat {

/// Sends `line` to the control socket at `path` and returns the reply line (without its line
/// feed), or nothing when no instance listens there or it does not answer within `timeout`.
std::optional<QString> SendControlLine(const QString& path, const QString& line,
                                       std::chrono::milliseconds timeout);

/// Carries out --play, --stop or --status for the instance of `station_dir`: prints the status
/// line, or one line on standard error when the command failed; returns the exit status.
int RunControlCommand(const CommandLine& command, const QString& station_dir);

}  // namespace parlomat
