#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/audio/wave_channels.h"
#include "core/keyer/run_phase.h"
#include "core/keyer/screen.h"
#include "core/keyer/sked_clock.h"
#include "core/runtime/event_log.h"
#include "core/runtime/scheduler.h"
#include "core/runtime/timer.h"
#include "core/settings/preferences.h"

namespace parlomat {

/// What the run sequencer needs of the main window it works for.
class SequencerHost {
  public:
    virtual ~SequencerHost() = default;
    /// Keys (true) or unkeys the transmitter for the active slot, with why.
    virtual void PTT_Control(bool Keyed, KeyCause cause) = 0;
    /// Opens slot `i`'s named file on its channel; true when it opened.
    virtual bool OpenSlot(int i) = 0;
};

/// A run: Start keys the transmitter, waits the PTT delay, plays the active slot's message and
/// watches it every 100 ms; at its end the run stops, or a loop sends it again, at once or after
/// a receive window with the transmitter released. In Sked mode the passes follow the transmit
/// segments. Where the run stands is one RunPhase.
class RunSequencer {
  public:
    struct Fields {
        bool Playing = false;
        bool LoopActive = false;
        double RcvDelayMs = 0;      ///< ms
        double RcvRemainingMs = 0;  ///< ms
        bool RepeatPending = false;
        std::int32_t MsgLengthMs = 0;
    };
    /// The message slots' fields, owned by the main window; read only.
    struct Slots {
        const std::int16_t& ActiveMsg;
        const std::array<bool, kSlotCount>& MsgLoaded;
    };

    RunSequencer(Scheduler& scheduler, Screen& screen, WaveChannels& mci, const Preferences& prefs,
                 const SkedClock& sked, Slots slots, SequencerHost& host);

    const Fields& fields() const { return f_; }
    RunPhase phase() const { return phase_; }
    const Timer& timer_tmrMSGStatus() const { return tmrMSGStatus; }
    const Timer& timer_tmrPlayback() const { return tmrPlayback; }
    const Timer& timer_tmrRcvWindow() const { return tmrRcvWindow; }
    /// While a receive window runs: the time until it ends; else nothing.
    std::optional<Ms> ReceiveLeft() const;

    void cmdStart_Click();
    void cmdStop_Click();
    void tmrMSGStatus_Timer();
    void tmrPlayback_Timer();
    void tmrRcvWindow_Timer();
    /// The active slot's channel has moved on: the gauge follows it while a run plays.
    void mci_StatusUpdate();

    // The Sked clock's segment edges.
    void XmitSegmentStarted();
    void XmitSegmentEnding();
    void RecvSegmentStarted();

    /// The active slot changed: the next status tick must not take the old slot's pass for
    /// the new one's.
    void ForgetPass() { pass_slot_ = -1; }
    /// pnlFeedback holds a notice ("Comm port lost") until the operator's next action.
    void HoldFeedback() { feedback_held_ = true; }
    void ReleaseFeedback() { feedback_held_ = false; }
    /// The status tick runs again (Manual mode resumed).
    void ResumeStatusTick() { tmrMSGStatus.set_enabled(true); }
    /// The run is forgotten without a key-up or a word: the recorder takes the channel.
    void Halt();
    /// Every timer of the run stops: the program is going away.
    void StopTimers();

    static std::string GetModeText(ChannelState mode);

  private:
    /// The pass has ended with a receive window to come: the transmitter is released and the
    /// window opens.
    void StartListening();
    /// Hands the next chunk of RcvRemainingMs (at most 65,535 ms) to tmrRcvWindow; false when
    /// nothing is left.
    bool ArmReceiveChunk();
    void EndOfRun();
    /// A pass that played nothing: the run ends as Stop ends it, with `reason` shown.
    void AbortRun(const std::string& reason);
    /// Why the pass now ending played nothing, or empty when it really played.
    std::string NothingSentReason() const;
    void set_phase(RunPhase phase);
    /// "Playback Stopped" and the buttons of an idle keyer.
    void ShowRunEnded();
    /// Stop on (a run under way) and the message buttons off, or Start and them on (idle).
    void ShowRunButtons(bool running);
    /// tmrPlayback starts the pass one PTT delay from now, and the channel's first sample is
    /// due at the DAC just then.
    void ArmMessageStart();

    Scheduler& scheduler_;
    Screen& screen_;
    WaveChannels& mci;
    const Preferences& prefs;
    const SkedClock& sked_;
    Slots slots_;
    SequencerHost& host_;
    Fields f_;
    RunPhase phase_ = RunPhase::Idle;
    /// The slot whose pass the sequencer started last; -1 after a slot change.
    int pass_slot_ = -1;
    bool feedback_held_ = false;
    Timer tmrMSGStatus;
    Timer tmrPlayback;
    Timer tmrRcvWindow;
};

}  // namespace parlomat
