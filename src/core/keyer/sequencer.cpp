#include <cmath>
#include <string>

#include "core/keyer/keyer.h"
#include "core/keyer/run_intervals.h"
#include "core/settings/numbers.h"

namespace parlomat {

namespace {

constexpr Ms kStatusTick{100};
constexpr std::int16_t kRunUpdateInterval = 100;  // ms between progress notifications
constexpr Ms kSkedRepeatGap{75};

}  // namespace

std::string Keyer::GetModeText(std::int32_t mode) {
    switch (mode) {
        case mode::kNotOpen:
            return "Not Open";
        case mode::kStopped:
            return "Stopped";
        case mode::kPlaying:
            return "Playing";
        case mode::kRecording:
            return "Recording";
        case mode::kSeeking:
            return "Seeking";
        case mode::kPaused:
            return "Paused";
        case mode::kReady:
            return "Ready";
        default:
            return "";
    }
}

void Keyer::cmdStart_Click() {
    const int active = ActiveMsg;
    const std::string& name = state_.slots[active].name;
    if (name.empty()) {
        set_panel(Panel::pnlFeedback, "No filename assigned");
        return;
    }
    // Outside Sked mode a slot whose file is not open is opened first; keying a transmitter with
    // nothing to play is refused.
    if (!SkedMode && mci.ChannelMode(active) == mode::kNotOpen) {
        mci.OpenChannel(active, StationPath(name));
        if (mci.ChannelMode(active) == mode::kNotOpen) {
            set_panel(Panel::pnlFeedback, "Not Open");
            return;
        }
        MsgLoaded[active] = true;
    }

    RcvDelayMs = ReceiveDelayMs(state_.slots[active].delay);
    RcvRemainingMs = RcvDelayMs;
    set_button(Button::cmdRecord, false);
    set_button(Button::cmdStop, true);
    set_button(Button::cmdSave, false);
    set_button(Button::cmdErase, false);
    set_button(Button::cmdLoad, false);
    set_button(Button::cmdXmit, false);
    set_slot_colours(active, true);
    MsgLengthMs = mci.ChannelLength(active);
    mci.SetUpdateInterval(active, kRunUpdateInterval);

    if (!SkedMode) {
        PTT_Control(true);
        // A Start during a run sends the message again from its start after a fresh PTT delay.
        tmrMSGStatus.set_enabled(false);
        tmrMSGStatus.set_interval(kStatusTick);
        tmrRcvWindow.set_enabled(false);
        if (mci.ChannelMode(active) == mode::kPlaying) {
            mci.StopChannel(active);
        }
        Playing = true;
        tmrPlayback.set_enabled(false);
        tmrPlayback.set_interval(PTTDelayInterval(prefs.PTTDelay));
        tmrPlayback.set_enabled(true);
        return;
    }

    Playing = true;
    if (mci.ChannelMode(active) == mode::kNotOpen) {
        mci.OpenChannel(active, StationPath(name));
        if (mci.ChannelMode(active) != mode::kNotOpen) {
            MsgLoaded[active] = true;
            MsgLengthMs = mci.ChannelLength(active);
        }
    }
    if (InXmitPeriod) {
        mci.PlayFromStart(active);
        tmrMSGStatus.set_enabled(true);
    }
}

void Keyer::cmdStop_Click() {
    const int active = ActiveMsg;
    set_slot_colours(active, false);
    mci.SetUpdateInterval(active, 0);
    set_gauge(0);
    mci.StopChannel(active);
    Playing = false;
    PTT_Control(false);
    tmrRcvWindow.set_enabled(false);
    tmrMSGStatus.set_enabled(false);
    tmrPlayback.set_enabled(false);
    tmrFTLinkDelay.set_enabled(false);
    ShowRunEnded();
}

void Keyer::tmrPlayback_Timer() {
    tmrPlayback.set_interval(Ms{0});
    tmrPlayback.set_enabled(false);
    RepeatPending = false;
    tmrMSGStatus.set_enabled(true);
    mci.PlayFromStart(ActiveMsg);
}

void Keyer::tmrMSGStatus_Timer() {
    const int active = ActiveMsg;
    const bool open = MsgLoaded[active] && mci.ChannelMode(active) != mode::kNotOpen;
    if (!open) {
        // Nothing to send on the active slot (a slot change, a failed open): the pass is over.
        if (!Playing) {
            return;
        }
        if (!SkedMode) {
            EndOfRun();
        } else if (InXmitPeriod) {
            PTT_Control(false);
        }
        return;
    }

    const std::int32_t channel_mode = mci.ChannelMode(active);
    set_panel(Panel::pnlFeedback, GetModeText(channel_mode));
    RcvDelayMs = ReceiveDelayMs(state_.slots[active].delay);
    LoopActive = state_.slots[active].loop == 1;
    if (channel_mode != mode::kStopped) {
        return;
    }

    if (!SkedMode) {
        if (!LoopActive) {
            EndOfRun();
        } else if (RcvDelayMs <= 0) {
            tmrPlayback.set_interval(PTTDelayInterval(prefs.PTTDelay));
            tmrPlayback.set_enabled(true);
        } else if (!RepeatPending) {
            PTT_Control(false);
            RepeatPending = true;
            OpenReceiveWindow();
        }
        return;
    }

    if (!InXmitPeriod) {
        return;
    }
    if (!LoopActive) {
        PTT_Control(false);
    } else if (RcvDelayMs <= 0) {
        tmrPlayback.set_interval(kSkedRepeatGap);
        tmrPlayback.set_enabled(true);
    } else if (!RepeatPending) {
        PTT_Control(false);
        RepeatPending = true;
        OpenReceiveWindow();
    }
}

void Keyer::EndOfRun() {
    PTT_Control(false);
    Playing = false;
    tmrMSGStatus.set_enabled(false);
    // A receive window or repeat still pending would key the transmitter again after the end.
    tmrRcvWindow.set_enabled(false);
    tmrPlayback.set_enabled(false);
    ShowRunEnded();
}

void Keyer::ShowRunEnded() {
    set_panel(Panel::pnlFeedback, "Playback Stopped");
    set_button(Button::cmdRecord, true);
    set_button(Button::cmdStart, true);
    set_button(Button::cmdSave, true);
    set_button(Button::cmdErase, true);
    set_button(Button::cmdLoad, true);
    set_button(Button::cmdXmit, true);
}

void Keyer::OpenReceiveWindow() {
    // The delay text may have turned positive during the run, after Start loaded the window.
    if (RcvRemainingMs <= 0) {
        RcvRemainingMs = RcvDelayMs;
    }
    ArmReceiveChunk();
}

bool Keyer::ArmReceiveChunk() {
    const double remaining = RcvRemainingMs;
    if (remaining > double(Timer::kMaxInterval.count())) {
        RcvRemainingMs = remaining - double(Timer::kMaxInterval.count());
        tmrRcvWindow.set_interval(Timer::kMaxInterval);
    } else if (remaining > 0) {
        tmrRcvWindow.set_interval(ReceiveChunkInterval(remaining));
        RcvRemainingMs = 0;
    } else {
        return false;
    }
    tmrRcvWindow.set_enabled(true);
    return true;
}

void Keyer::tmrRcvWindow_Timer() {
    tmrRcvWindow.set_interval(Ms{0});
    if (ArmReceiveChunk()) {
        return;
    }
    RcvRemainingMs = RcvDelayMs;
    PTT_Control(true);
    tmrPlayback.set_interval(PTTDelayInterval(prefs.PTTDelay));
    tmrPlayback.set_enabled(true);
}

void Keyer::mci_StatusUpdate(int) {
    if (!Playing) {
        return;
    }
    const double percent = double(mci.ChannelPosition(ActiveMsg)) / double(MsgLengthMs) * 100.0;
    if (!std::isfinite(percent)) {
        return;
    }
    const double rounded = RoundHalfEven(percent);
    if (rounded < 0 || rounded > 100) {
        return;
    }
    set_gauge(static_cast<int>(rounded));
}

}  // namespace parlomat
