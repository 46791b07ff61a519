#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "core/runtime/scheduler.h"

namespace parlomat {

/// The simulation's flight recorder: one line per observable event, stamped with the scheduler's
/// virtual time in ms (right-aligned in 8 columns, then one blank).
class Trace {
  public:
    Trace(const Scheduler& scheduler, std::ostream& out);

    /// Writes one event line with the current time prefix.
    void event(std::string_view text);
    /// Writes a line as it stands, without a time prefix.
    void raw(std::string_view text);

    /// `text` in double quotes with `\"`, `\\` and `\n` escaped.
    static std::string quote(std::string_view text);
    /// "on" or "off".
    static const char* on_off(bool on) { return on ? "on" : "off"; }

  private:
    const Scheduler& scheduler_;
    std::ostream& out_;
};

}  // namespace parlomat
