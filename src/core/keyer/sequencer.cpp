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

std::string Keyer::GetModeText(ChannelState mode) {
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
    }
    return "";
}

void Keyer::cmdStart_Click() {
    feedback_held_ = false;
    const int active = ActiveMsg;
    const std::string& name = screen_.slot(active).name;
    if (name.empty()) {
        screen_.set_panel(Panel::pnlFeedback, "No filename assigned");
        return;
    }
    // Outside Sked mode a slot whose file is not open is opened first; keying a transmitter with
    // nothing to play is refused.
    if (!sked_.fields().SkedMode && mci.ChannelMode(active) == mode::kNotOpen) {
        if (!OpenSlot(active)) {
            screen_.set_panel(Panel::pnlFeedback, "Not Open");
            return;
        }
    }

    RcvDelayMs = ReceiveDelayMs(screen_.slot(active).delay);
    RcvRemainingMs = RcvDelayMs;
    screen_.set_button(Button::cmdRecord, false);
    screen_.set_button(Button::cmdStop, true);
    screen_.set_button(Button::cmdSave, false);
    screen_.set_button(Button::cmdErase, false);
    screen_.set_button(Button::cmdLoad, false);
    screen_.set_button(Button::cmdXmit, false);
    screen_.set_slot(active, &SlotLook::run_colours, true);
    MsgLengthMs = mci.ChannelLength(active);
    mci.SetUpdateInterval(active, kRunUpdateInterval);

    if (!sked_.fields().SkedMode) {
        PTT_Control(true, KeyCause::Start);
        // A Start during a run sends the message again from its start after a fresh PTT delay.
        tmrMSGStatus.set_enabled(false);
        tmrMSGStatus.set_interval(kStatusTick);
        tmrRcvWindow.set_enabled(false);
        if (mci.ChannelMode(active) == mode::kPlaying) {
            mci.StopChannel(active);
        }
        set_phase(RunPhase::KeyDelay);
        tmrPlayback.set_enabled(false);
        tmrPlayback.set_interval(PTTDelayInterval(prefs.PTTDelay));
        tmrPlayback.set_enabled(true);
        ScheduleMessageStart();
        return;
    }

    set_phase(RunPhase::SkedWait);
    if (mci.ChannelMode(active) == mode::kNotOpen) {
        if (OpenSlot(active)) {
            MsgLengthMs = mci.ChannelLength(active);
        }
    }
    if (sked_.fields().InXmitPeriod) {
        set_phase(RunPhase::Sending);
        pass_slot_ = active;
        mci.PlayFromStart(active);
        tmrMSGStatus.set_enabled(true);
    }
}

void Keyer::cmdStop_Click() {
    feedback_held_ = false;
    const int active = ActiveMsg;
    screen_.set_slot(active, &SlotLook::run_colours, false);
    mci.SetUpdateInterval(active, 0);
    screen_.set_frame(&FrameLook::gauge, 0);
    mci.StopChannel(active);
    set_phase(RunPhase::Idle);
    PTT_Control(false, KeyCause::Stop);
    tmrRcvWindow.set_enabled(false);
    tmrMSGStatus.set_enabled(false);
    tmrPlayback.set_enabled(false);
    ShowRunEnded();
}

void Keyer::tmrPlayback_Timer() {
    tmrPlayback.set_interval(Ms{0});
    tmrPlayback.set_enabled(false);
    RepeatPending = false;
    set_phase(RunPhase::Sending);
    pass_slot_ = ActiveMsg;
    tmrMSGStatus.set_enabled(true);
    mci.PlayFromStart(ActiveMsg);
}

std::string Keyer::NothingSentReason() const {
    const int active = ActiveMsg;
    if (phase_ != RunPhase::Sending || pass_slot_ != active) {
        return {};
    }
    if (mci.ChannelMode(active) != mode::kNotOpen && mci.ChannelLength(active) <= 0) {
        return "Message is empty";
    }
    // Closed under the pass, a play that never began, or a play cut short: the sound device
    // is gone.
    const bool closed = mci.ChannelMode(active) == mode::kNotOpen;
    if ((closed && MsgLoaded[active]) ||
        (!closed && mci.ChannelPosition(active) < mci.ChannelLength(active))) {
        return "No sound device: messages cannot be played";
    }
    return {};
}

void Keyer::AbortRun(const std::string& reason) {
    cmdStop_Click();
    screen_.set_panel(Panel::pnlFeedback, reason);
}

void Keyer::tmrMSGStatus_Timer() {
    const int active = ActiveMsg;
    const bool open = MsgLoaded[active] && mci.ChannelMode(active) != mode::kNotOpen;
    if (!open) {
        // Nothing to send on the active slot (a slot change, a failed open): the run is over.
        if (!Playing) {
            return;
        }
        if (const auto reason = NothingSentReason(); !reason.empty()) {
            AbortRun(reason);
        } else if (!sked_.fields().SkedMode) {
            EndOfRun();
        } else if (sked_.fields().InXmitPeriod) {
            // Every later transmit segment would key the transmitter with nothing to send.
            cmdStop_Click();
        }
        return;
    }

    const ChannelState channel_mode = mci.ChannelMode(active);
    if (!feedback_held_) {
        screen_.set_panel(Panel::pnlFeedback, GetModeText(channel_mode));
    }
    RcvDelayMs = ReceiveDelayMs(screen_.slot(active).delay);
    LoopActive = screen_.slot(active).loop == 1;
    if (channel_mode != mode::kStopped) {
        return;
    }
    if (const auto reason = NothingSentReason(); !reason.empty()) {
        AbortRun(reason);
        return;
    }

    if (!sked_.fields().SkedMode) {
        if (!LoopActive) {
            EndOfRun();
        } else if (RcvDelayMs <= 0) {
            set_phase(phase_ == RunPhase::Sending ? RunPhase::Gap : phase_);
            tmrPlayback.set_interval(PTTDelayInterval(prefs.PTTDelay));
            tmrPlayback.set_enabled(true);
            ScheduleMessageStart();
        } else if (!RepeatPending) {
            PTT_Control(false, KeyCause::EndOfMessage);
            RepeatPending = true;
            set_phase(RunPhase::Listening);
            OpenReceiveWindow();
        }
        return;
    }

    if (!sked_.fields().InXmitPeriod) {
        return;
    }
    if (!LoopActive) {
        PTT_Control(false, KeyCause::EndOfMessage);
        set_phase(RunPhase::SkedWait);
    } else if (RcvDelayMs <= 0) {
        set_phase(phase_ == RunPhase::Sending ? RunPhase::Gap : phase_);
        tmrPlayback.set_interval(kSkedRepeatGap);
        tmrPlayback.set_enabled(true);
    } else if (!RepeatPending) {
        PTT_Control(false, KeyCause::EndOfMessage);
        RepeatPending = true;
        set_phase(RunPhase::Listening);
        OpenReceiveWindow();
    }
}

void Keyer::XmitSegmentStarted() {
    tmrMSGStatus.set_interval(Ms{100});
    if (Playing) {
        PTT_Control(true, KeyCause::SkedSegment);
        set_phase(RunPhase::KeyDelay);
        tmrPlayback.set_interval(PTTDelayInterval(prefs.PTTDelay));
        tmrPlayback.set_enabled(true);
        ScheduleMessageStart();
    } else {
        screen_.set_panel(Panel::pnlFeedback, "Playback not Enabled");
    }
}

void Keyer::XmitSegmentEnding() {
    PTT_Control(false, KeyCause::SkedSegment);
    tmrRcvWindow.set_interval(Ms{0});
    tmrRcvWindow.set_enabled(false);
    tmrPlayback.set_interval(Ms{0});
    tmrPlayback.set_enabled(false);
    tmrMSGStatus.set_interval(Ms{0});
    tmrMSGStatus.set_enabled(false);
}

void Keyer::RecvSegmentStarted() {
    if (Playing) {
        set_phase(RunPhase::SkedWait);
    }
    if (!MsgLoaded[ActiveMsg]) {
        screen_.set_panel(Panel::pnlFeedback,
                          "MSG " + std::to_string(ActiveMsg + 1) + " is not loaded");
    } else {
        mci.StopChannel(ActiveMsg);
        screen_.set_panel(Panel::pnlFeedback, "Playback Suspended");
    }
}

void Keyer::EndOfRun() {
    PTT_Control(false, KeyCause::EndOfMessage);
    set_phase(RunPhase::Idle);
    tmrMSGStatus.set_enabled(false);
    // A receive window or repeat still pending would key the transmitter again after the end.
    tmrRcvWindow.set_enabled(false);
    tmrPlayback.set_enabled(false);
    ShowRunEnded();
}

void Keyer::ShowRunEnded() {
    screen_.set_panel(Panel::pnlFeedback, "Playback Stopped");
    screen_.set_button(Button::cmdRecord, true);
    screen_.set_button(Button::cmdStart, true);
    screen_.set_button(Button::cmdSave, true);
    screen_.set_button(Button::cmdErase, true);
    screen_.set_button(Button::cmdLoad, true);
    screen_.set_button(Button::cmdXmit, true);
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
    PTT_Control(true, KeyCause::Repeat);
    set_phase(RunPhase::KeyDelay);
    tmrPlayback.set_interval(PTTDelayInterval(prefs.PTTDelay));
    tmrPlayback.set_enabled(true);
    ScheduleMessageStart();
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
    screen_.set_frame(&FrameLook::gauge, static_cast<int>(rounded));
}

}  // namespace parlomat
