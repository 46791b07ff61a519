#include "core/keyer/remote_control.h"

#include <utility>

#include "core/keyer/key_codes.h"

namespace parlomat {

std::string ControlErrorReply(ControlError error) {
    return "ERR " + std::string(ControlErrorText(error));
}

RemoteControl::RemoteControl(Keyer& keyer, Splash& splash, Hooks hooks)
    : keyer_(keyer), splash_(splash), hooks_(std::move(hooks)) {}

bool RemoteControl::modal_open() const {
    return keyer_.modal_open() || (hooks_.other_modal_open && hooks_.other_modal_open());
}

ControlStatus RemoteControl::Status() const {
    const MainScreenFields& fields = keyer_.fields();
    const WindowState& state = keyer_.state();
    ControlStatus status;
    status.slot = state.frame.active + 1;
    status.playing = fields.Playing;
    status.ptt = keyer_.ptt().on_air();
    status.feedback = state.panels[static_cast<int>(Panel::pnlFeedback)];
    status.mode = state.panels[static_cast<int>(Panel::pnlMode)];
    status.sked = fields.SkedMode;
    status.loop = state.slots[state.frame.active].loop == 1;
    status.ready = state.windows[static_cast<int>(Window::frmMainScreen)] && !state.ended;
    return status;
}

std::string RemoteControl::Handle(std::string_view line) {
    const auto parsed = ParseControlLine(line);
    if (const auto* error = std::get_if<ControlError>(&parsed)) {
        return ControlErrorReply(*error);
    }
    return Reply(std::get<ControlRequest>(parsed));
}

std::string RemoteControl::Reply(const ControlRequest& request) {
    using Kind = ControlRequest::Kind;
    switch (request.kind) {
        case Kind::Status:
            return FormatControlStatus(Status());
        case Kind::Raise:
            if (hooks_.raise) {
                hooks_.raise();
            }
            return "OK";
        case Kind::Play:
        case Kind::Stop:
            break;
    }
    if (keyer_.state().ended) {
        return ControlErrorReply(ControlError::Ended);
    }
    if (modal_open()) {
        return ControlErrorReply(ControlError::Modal);
    }
    if (splash_.shown()) {
        // Any key dismisses the start-up window; the command itself is not carried out.
        splash_.ExitForm();
        return ControlErrorReply(ControlError::Starting);
    }
    if (!keyer_.state().windows[static_cast<int>(Window::frmMainScreen)]) {
        return ControlErrorReply(ControlError::Starting);
    }
    keyer_.Form_KeyDown(request.kind == Kind::Play ? kKeyF1 + request.slot - 1 : kKeyEscape, 0);
    return "OK";
}

}  // namespace parlomat
