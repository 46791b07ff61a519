#include "core/keyer/run_sequencer.h"

#include <cmath>
#include <string>

#include "core/keyer/run_intervals.h"
#include "core/settings/numbers.h"

namespace parlomat {

namespace {

constexpr Ms kStatusTick{100};
constexpr std::int16_t kRunUpdateInterval = 100;  // ms between progress notifications
constexpr Ms kSkedRepeatGap{75};

}  // namespace

RunSequencer::RunSequencer(Scheduler& scheduler, Screen& screen, WaveChannels& mci,
                           const Preferences& prefs, const SkedClock& sked, Slots slots,
                           SequencerHost& host)
    : scheduler_(scheduler),
      screen_(screen),
      mci(mci),
      prefs(prefs),
      sked_(sked),
      slots_(slots),
      host_(host),
      tmrMSGStatus(
          scheduler, [this] { tmrMSGStatus_Timer(); }, kStatusTick, false),
      tmrPlayback(scheduler, [this] { tmrPlayback_Timer(); }),
      tmrRcvWindow(scheduler, [this] { tmrRcvWindow_Timer(); }) {}

void RunSequencer::set_phase(RunPhase phase) {
    phase_ = phase;
    f_.Playing = phase != RunPhase::Idle;
}

void RunSequencer::ArmMessageStart() {
    tmrPlayback.set_interval(PTTDelayInterval(prefs.PTTDelay));
    tmrPlayback.set_enabled(true);
    mci.ScheduleStart(slots_.ActiveMsg, scheduler_.now() + tmrPlayback.interval());
}

std::optional<Ms> RunSequencer::ReceiveLeft() const {
    const auto due = tmrRcvWindow.next_due();
    if (!due || phase_ != RunPhase::Listening) {
        return std::nullopt;
    }
    // The armed chunk's rest plus the chunks still to come.
    return *due - scheduler_.now() + Ms{static_cast<Ms::rep>(f_.RcvRemainingMs)};
}

void RunSequencer::Halt() {
    set_phase(RunPhase::Idle);
    tmrMSGStatus.set_enabled(false);
}

void RunSequencer::StopTimers() {
    tmrMSGStatus.set_enabled(false);
    tmrPlayback.set_enabled(false);
    tmrRcvWindow.set_enabled(false);
}

std::string RunSequencer::GetModeText(ChannelState mode) {
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

void RunSequencer::cmdStart_Click() {
    feedback_held_ = false;
    const int active = slots_.ActiveMsg;
    const std::string& name = screen_.slot(active).name;
    if (name.empty()) {
        screen_.set_panel(Panel::pnlFeedback, "No filename assigned");
        return;
    }
    // Outside Sked mode a slot whose file is not open is opened first; keying a transmitter with
    // nothing to play is refused.
    if (!sked_.fields().SkedMode && mci.ChannelMode(active) == mode::kNotOpen) {
        if (!host_.OpenSlot(active)) {
            screen_.set_panel(Panel::pnlFeedback, "Not Open");
            return;
        }
    }

    f_.RcvDelayMs = ReceiveDelayMs(screen_.slot(active).delay);
    f_.RcvRemainingMs = f_.RcvDelayMs;
    ShowRunButtons(true);
    screen_.set_slot(active, &SlotLook::run_colours, true);
    f_.MsgLengthMs = mci.ChannelLength(active);
    mci.SetUpdateInterval(active, kRunUpdateInterval);

    if (!sked_.fields().SkedMode) {
        host_.PTT_Control(true, KeyCause::Start);
        // A Start during a run sends the message again from its start after a fresh PTT delay.
        tmrMSGStatus.set_enabled(false);
        tmrMSGStatus.set_interval(kStatusTick);
        tmrRcvWindow.set_enabled(false);
        if (mci.ChannelMode(active) == mode::kPlaying) {
            mci.StopChannel(active);
        }
        set_phase(RunPhase::KeyDelay);
        tmrPlayback.set_enabled(false);
        ArmMessageStart();
        return;
    }

    set_phase(RunPhase::SkedWait);
    if (mci.ChannelMode(active) == mode::kNotOpen) {
        if (host_.OpenSlot(active)) {
            f_.MsgLengthMs = mci.ChannelLength(active);
        }
    }
    if (sked_.fields().InXmitPeriod) {
        set_phase(RunPhase::Sending);
        pass_slot_ = active;
        mci.PlayFromStart(active);
        tmrMSGStatus.set_enabled(true);
    }
}

void RunSequencer::cmdStop_Click() {
    feedback_held_ = false;
    const int active = slots_.ActiveMsg;
    screen_.set_slot(active, &SlotLook::run_colours, false);
    mci.SetUpdateInterval(active, 0);
    screen_.set_frame(&FrameLook::gauge, 0);
    mci.StopChannel(active);
    set_phase(RunPhase::Idle);
    host_.PTT_Control(false, KeyCause::Stop);
    tmrRcvWindow.set_enabled(false);
    tmrMSGStatus.set_enabled(false);
    tmrPlayback.set_enabled(false);
    ShowRunEnded();
}

void RunSequencer::tmrPlayback_Timer() {
    tmrPlayback.set_interval(Ms{0});
    tmrPlayback.set_enabled(false);
    f_.RepeatPending = false;
    set_phase(RunPhase::Sending);
    pass_slot_ = slots_.ActiveMsg;
    tmrMSGStatus.set_enabled(true);
    mci.PlayFromStart(slots_.ActiveMsg);
}

std::string RunSequencer::NothingSentReason() const {
    const int active = slots_.ActiveMsg;
    if (phase_ != RunPhase::Sending || pass_slot_ != active) {
        return {};
    }
    if (mci.ChannelMode(active) != mode::kNotOpen && mci.ChannelLength(active) <= 0) {
        return "Message is empty";
    }
    // Closed under the pass, a play that never began, or a play cut short: the sound device
    // is gone.
    const bool closed = mci.ChannelMode(active) == mode::kNotOpen;
    if ((closed && slots_.MsgLoaded[active]) ||
        (!closed && mci.ChannelPosition(active) < mci.ChannelLength(active))) {
        return "No sound device: messages cannot be played";
    }
    return {};
}

void RunSequencer::AbortRun(const std::string& reason) {
    cmdStop_Click();
    screen_.set_panel(Panel::pnlFeedback, reason);
}

void RunSequencer::tmrMSGStatus_Timer() {
    const int active = slots_.ActiveMsg;
    const bool open = slots_.MsgLoaded[active] && mci.ChannelMode(active) != mode::kNotOpen;
    if (!open) {
        // Nothing to send on the active slot (a slot change, a failed open): the run is over.
        if (!f_.Playing) {
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
    f_.RcvDelayMs = ReceiveDelayMs(screen_.slot(active).delay);
    f_.LoopActive = screen_.slot(active).loop == 1;
    if (channel_mode != mode::kStopped) {
        return;
    }
    if (const auto reason = NothingSentReason(); !reason.empty()) {
        AbortRun(reason);
        return;
    }

    if (!sked_.fields().SkedMode) {
        if (!f_.LoopActive) {
            EndOfRun();
        } else if (f_.RcvDelayMs <= 0) {
            set_phase(phase_ == RunPhase::Sending ? RunPhase::Gap : phase_);
            ArmMessageStart();
        } else if (!f_.RepeatPending) {
            StartListening();
        }
        return;
    }

    if (!sked_.fields().InXmitPeriod) {
        return;
    }
    if (!f_.LoopActive) {
        host_.PTT_Control(false, KeyCause::EndOfMessage);
        set_phase(RunPhase::SkedWait);
    } else if (f_.RcvDelayMs <= 0) {
        set_phase(phase_ == RunPhase::Sending ? RunPhase::Gap : phase_);
        tmrPlayback.set_interval(kSkedRepeatGap);
        tmrPlayback.set_enabled(true);
    } else if (!f_.RepeatPending) {
        StartListening();
    }
}

void RunSequencer::XmitSegmentStarted() {
    tmrMSGStatus.set_interval(kStatusTick);
    if (f_.Playing) {
        host_.PTT_Control(true, KeyCause::SkedSegment);
        set_phase(RunPhase::KeyDelay);
        ArmMessageStart();
    } else {
        screen_.set_panel(Panel::pnlFeedback, "Playback not Enabled");
    }
}

void RunSequencer::XmitSegmentEnding() {
    host_.PTT_Control(false, KeyCause::SkedSegment);
    tmrRcvWindow.set_interval(Ms{0});
    tmrRcvWindow.set_enabled(false);
    tmrPlayback.set_interval(Ms{0});
    tmrPlayback.set_enabled(false);
    tmrMSGStatus.set_interval(Ms{0});
    tmrMSGStatus.set_enabled(false);
}

void RunSequencer::RecvSegmentStarted() {
    if (f_.Playing) {
        set_phase(RunPhase::SkedWait);
    }
    if (!slots_.MsgLoaded[slots_.ActiveMsg]) {
        screen_.set_panel(Panel::pnlFeedback,
                          "MSG " + std::to_string(slots_.ActiveMsg + 1) + " is not loaded");
    } else {
        mci.StopChannel(slots_.ActiveMsg);
        screen_.set_panel(Panel::pnlFeedback, "Playback Suspended");
    }
}

void RunSequencer::EndOfRun() {
    host_.PTT_Control(false, KeyCause::EndOfMessage);
    set_phase(RunPhase::Idle);
    tmrMSGStatus.set_enabled(false);
    // A receive window or repeat still pending would key the transmitter again after the end.
    tmrRcvWindow.set_enabled(false);
    tmrPlayback.set_enabled(false);
    ShowRunEnded();
}

void RunSequencer::ShowRunEnded() {
    screen_.set_panel(Panel::pnlFeedback, "Playback Stopped");
    ShowRunButtons(false);
}

void RunSequencer::ShowRunButtons(bool running) {
    screen_.set_button(Button::cmdRecord, !running);
    screen_.set_button(running ? Button::cmdStop : Button::cmdStart, true);
    for (const Button button :
         {Button::cmdSave, Button::cmdErase, Button::cmdLoad, Button::cmdXmit}) {
        screen_.set_button(button, !running);
    }
}

void RunSequencer::StartListening() {
    host_.PTT_Control(false, KeyCause::EndOfMessage);
    f_.RepeatPending = true;
    set_phase(RunPhase::Listening);
    // The delay text may have turned positive during the run, after Start loaded the window.
    if (f_.RcvRemainingMs <= 0) {
        f_.RcvRemainingMs = f_.RcvDelayMs;
    }
    ArmReceiveChunk();
}

bool RunSequencer::ArmReceiveChunk() {
    const double remaining = f_.RcvRemainingMs;
    if (remaining > double(Timer::kMaxInterval.count())) {
        f_.RcvRemainingMs = remaining - double(Timer::kMaxInterval.count());
        tmrRcvWindow.set_interval(Timer::kMaxInterval);
    } else if (remaining > 0) {
        tmrRcvWindow.set_interval(ReceiveChunkInterval(remaining));
        f_.RcvRemainingMs = 0;
    } else {
        return false;
    }
    tmrRcvWindow.set_enabled(true);
    return true;
}

void RunSequencer::tmrRcvWindow_Timer() {
    tmrRcvWindow.set_interval(Ms{0});
    if (ArmReceiveChunk()) {
        return;
    }
    f_.RcvRemainingMs = f_.RcvDelayMs;
    host_.PTT_Control(true, KeyCause::Repeat);
    set_phase(RunPhase::KeyDelay);
    ArmMessageStart();
}

void RunSequencer::mci_StatusUpdate() {
    if (!f_.Playing) {
        return;
    }
    const double percent =
        double(mci.ChannelPosition(slots_.ActiveMsg)) / double(f_.MsgLengthMs) * 100.0;
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
