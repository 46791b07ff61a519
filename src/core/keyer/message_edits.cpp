#include "core/keyer/keyer.h"

namespace parlomat {

Keyer::ToolsState Keyer::MessageToolsState() const {
    const int i = slots_.fields().ActiveMsg;
    // Nothing that sounds or replaces what a channel plays while it sounds, records or may go
    // on air.
    const bool idle = slots_.fields().MsgLoaded[i] && !sequencer_.fields().Playing && !PTTKeyed &&
                      sequencer_.phase() == RunPhase::Idle && mci.ChannelMode(i) == mode::kStopped;
    return {.ready = idle, .undo = idle && mci.CanUndoEdit(i)};
}

void Keyer::EditMessage(SampleEdit edit, const char* done, const char* nothing) {
    if (MessageToolsState().ready) {
        screen_.set_panel(Panel::pnlFeedback,
                          mci.EditChannel(slots_.fields().ActiveMsg, edit) ? done : nothing);
    }
}

void Keyer::cmdTrim_Click() {
    EditMessage(SampleEdit::Trim, "Trimmed", "Nothing to trim");
}

void Keyer::cmdNormalize_Click() {
    EditMessage(SampleEdit::Normalize, "Normalized", "Nothing to normalize");
}

void Keyer::cmdUndo_Click() {
    if (MessageToolsState().undo && mci.UndoEdit(slots_.fields().ActiveMsg)) {
        screen_.set_panel(Panel::pnlFeedback, "Edit undone");
    }
}

}  // namespace parlomat
