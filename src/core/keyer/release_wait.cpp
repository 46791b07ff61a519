#include "core/keyer/keyer.h"

namespace parlomat {
namespace {

constexpr Ms kRepeatUnkeyAfter{2000};
constexpr Ms kWarnAfter{5000};
constexpr Ms kBeepEvery{1000};

}  // namespace

void Keyer::StartReleaseWait() {
    // An unkey while the alarm sounds is the operator's Xmit or Esc: it silences the alarm.
    if (stuck_alarm_ == StuckAlarm::Sounding) {
        stuck_alarm_ = StuckAlarm::Silenced;
    }
    // A repeated unkey keeps the time of the first: the radio has been keyed since then.
    if (!unkeyed_at_) {
        unkeyed_at_ = scheduler_.now();
        unkey_repeated_ = false;
    }
    tmrFTLinkDelay.set_enabled(true);
}

void Keyer::tmrFTLinkDelay_Timer() {
    if (!FTMonitor) {
        tmrFTLinkDelay.set_enabled(false);
        return;
    }
    const auto state = FTMonitor->TransmitState();
    if (!state) {
        return;
    }
    if (*state == LinkTransmit::NotTransmitting) {
        PTTKeyed = false;
        tmrFTLinkDelay.set_enabled(false);
        unkeyed_at_.reset();
        stuck_alarm_ = StuckAlarm::Off;
        return;
    }
    CheckStuckPTT(*state);
}

void Keyer::CheckStuckPTT(LinkTransmit state) {
    // Only a radio this keyer unkeyed, and has not keyed again since, can be stuck.
    if (!unkeyed_at_ || ptt_.link_keyed()) {
        return;
    }
    const Ms now = scheduler_.now();
    if (state == LinkTransmit::MicKeyed) {
        // The operator transmits with the microphone: not a stuck PTT.
        unkeyed_at_ = now;
        return;
    }
    const Ms since = now - *unkeyed_at_;
    if (since >= kRepeatUnkeyAfter && !unkey_repeated_) {
        unkey_repeated_ = true;
        if (!FTMonitor->SetPTT(false)) {
            screen_.set_panel(Panel::pnlFeedback, "PTT crap error");
        }
    }
    if (since >= kWarnAfter && stuck_alarm_ == StuckAlarm::Off) {
        stuck_alarm_ = StuckAlarm::Sounding;
        screen_.set_panel(Panel::pnlFeedback, "Rig still transmitting!");
        dialogs_.beep(BeepSound::Exclamation);
        last_beep_ = now;
        return;
    }
    if (stuck_alarm_ == StuckAlarm::Sounding && now - last_beep_ >= kBeepEvery) {
        dialogs_.beep(BeepSound::Exclamation);
        last_beep_ += kBeepEvery;
    }
}

}  // namespace parlomat
