#pragma once

#include <string>

namespace parlomat {

/// Starts other programs without waiting for them, and opens web addresses. Never uses a shell.
class Launcher {
  public:
    virtual ~Launcher() = default;
    /// True when `program` is an executable file: an absolute path, or a name found on PATH.
    virtual bool program_exists(const std::string& program) const = 0;
    /// Splits `command_line` into program and arguments as a desktop does (quotes, no shell) and
    /// starts it detached. False when the quotes do not balance, nothing is named, the program
    /// is not an executable file, or it could not be started.
    virtual bool start(const std::string& command_line) = 0;
    /// Opens a web address in the desktop's browser. False when nothing could open it.
    virtual bool open_url(const std::string& url) = 0;
};

}  // namespace parlomat
