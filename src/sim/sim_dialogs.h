#pragma once

#include <deque>
#include <optional>
#include <string>

#include "core/runtime/dialogs.h"
#include "sim/trace.h"

namespace parlomat {

/// Message boxes and file dialogs answered from queues the scenario fills (first in, first out).
/// A box with no queued answer gets Yes or OK; a file dialog with none is cancelled.
class SimDialogs final : public Dialogs {
  public:
    SimDialogs(Trace& trace, std::string station_dir);

    MsgReply message_box(MsgIcon icon, const std::string& title, const std::string& text,
                         MsgButtons buttons) override;
    std::optional<std::string> file_dialog(const FileDialogRequest& request) override;
    void beep(BeepSound sound) override;

    void queue_reply(MsgReply reply) { replies_.push_back(reply); }
    /// A path (relative ones lie in the station directory), or nothing for Cancel.
    void queue_choice(std::optional<std::string> path);

  private:
    Trace& trace_;
    std::string station_dir_;
    std::deque<MsgReply> replies_;
    std::deque<std::optional<std::string>> choices_;
};

}  // namespace parlomat
