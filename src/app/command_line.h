#pragma once

#include <QString>
#include <QStringList>

namespace parlomat {

/// What the command line asks for.
struct CommandLine {
    enum class Action { Run, Play, Stop, Status, Help, Version, UsageError };
    Action action = Action::Run;
    int slot = 0;          ///< 1..6, for Play
    QString dir;           ///< --dir; empty = the default station directory
    QString text;          ///< the help or version text, or the usage error
    bool verbose = false;  ///< --verbose: the station log also goes to standard error
};

/// Exit statuses of the command-line client.
inline constexpr int kExitDelivered = 0;
inline constexpr int kExitNoInstance = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitRefused = 3;

/// Parses the program's arguments (the program name first).
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace parlomat
