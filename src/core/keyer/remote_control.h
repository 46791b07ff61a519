#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/keyer/keyer.h"
#include "core/keyer/splash.h"
#include "core/remote/control_protocol.h"

namespace parlomat {

/// Answers the control socket's lines with the keyer's own handlers: PLAY N is the F-key N,
/// STOP is Esc. A command is refused while a modal window is open (a key is ignored then too)
/// and while the start-up window shows, which it dismisses as a key does.
class RemoteControl {
  public:
    struct Hooks {
        /// A modal window the keyer does not track is open (a message box, a file dialog).
        std::function<bool()> other_modal_open;
        /// Brings the program's window to the front.
        std::function<void()> raise;
    };

    RemoteControl(Keyer& keyer, Splash& splash, Hooks hooks);

    /// The reply to one line, without its line feed: "OK", the status JSON, or "ERR reason".
    std::string Handle(std::string_view line);
    std::string Reply(const ControlRequest& request);
    ControlStatus Status() const;

  private:
    bool modal_open() const;

    Keyer& keyer_;
    Splash& splash_;
    Hooks hooks_;
};

/// "ERR " and the reason.
std::string ControlErrorReply(ControlError error);

}  // namespace parlomat
