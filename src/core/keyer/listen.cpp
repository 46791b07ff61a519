#include "core/keyer/keyer.h"

namespace parlomat {

void Keyer::cmdListen_Click() {
    const int i = slots_.fields().ActiveMsg;
    if (!MessageToolsState().ready) {
        return;
    }
    mci.PlayFromStart(i);
    screen_.set_panel(Panel::pnlFeedback, "Listening");
    listen_slot_ = i;
    tmrListen.set_enabled(true);
}

void Keyer::tmrListen_Timer() {
    if (listen_slot_ >= 0 && mci.ChannelMode(listen_slot_) == mode::kPlaying) {
        return;
    }
    tmrListen.set_enabled(false);
    listen_slot_ = -1;
    // Whatever the operator did meanwhile (Stop, Start, an edit) has written its own text.
    if (screen_.panel(Panel::pnlFeedback) == "Listening") {
        screen_.set_panel(Panel::pnlFeedback, "Playback Stopped");
    }
}

void Keyer::EndListen() {
    if (listen_slot_ < 0) {
        return;
    }
    if (mci.ChannelMode(listen_slot_) == mode::kPlaying) {
        mci.StopChannel(listen_slot_);
    }
    tmrListen.set_enabled(false);
    listen_slot_ = -1;
}

}  // namespace parlomat
