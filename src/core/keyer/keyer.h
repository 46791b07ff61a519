#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/audio/file_copier.h"
#include "core/audio/wave_channels.h"
#include "core/keyer/message_slots.h"
#include "core/keyer/on_air_lamp.h"
#include "core/keyer/ptt.h"
#include "core/keyer/run_phase.h"
#include "core/keyer/run_sequencer.h"
#include "core/keyer/screen.h"
#include "core/keyer/serial_port.h"
#include "core/keyer/sked_clock.h"
#include "core/keyer/station_clock.h"
#include "core/keyer/window_state.h"
#include "core/runtime/dialogs.h"
#include "core/runtime/event_log.h"
#include "core/runtime/launcher.h"
#include "core/runtime/scheduler.h"
#include "core/runtime/timer.h"
#include "core/settings/msg_config.h"
#include "core/settings/preferences.h"
#include "core/settings/preferences_form.h"
#include "core/settings/profile_document.h"
#include "core/shell/link.h"

namespace parlomat {

/// What the keyer needs from outside. All references outlive the Keyer.
struct KeyerPorts {
    Scheduler& scheduler;
    WaveChannels& mci;
    SerialPort& SP;
    LinkServer& link;
    Dialogs& dialogs;
    Launcher& launcher;
    MainWindowView& view;
    PreferencesView* preferences_view = nullptr;
    std::string station_dir;  ///< holds parlomat.ini, temp.wav and the message files
    std::string support_url = "file:///usr/share/doc/parlomat/README.md";  ///< "&WWW Help On-line"
    /// Copies loaded files into the station directory; without it such a load is refused.
    FileCopier* files = nullptr;
    EventLog* log = nullptr;  ///< the station log; nullptr: none
    /// Extensions (lower case, no dot) of the sound files the channels play, for the Load filter.
    std::vector<std::string> sound_extensions = {};
};

/// The fields the main window keeps itself: preferences, the PTT and link flags.
struct KeyerFields {
    bool FTLinkActive = false;
    std::string IniPath;
    bool PTTKeyed = false;
    bool PTTEnabled = false;
    bool IgnorePTTInt = false;
    Preferences prefs;
};

/// The main window's shared fields as one read-only snapshot for views, the control socket and
/// the scenario runner, made of each object's own fields.
struct MainScreenFields : MessageSlots::Fields,
                          RunSequencer::Fields,
                          SkedClock::Fields,
                          StationClock::Fields,
                          KeyerFields {};

/// frmMainScreen: every handler of the main window, each run by one event of the window and
/// handed to the object that holds the behaviour (Screen, StationClock, SkedClock, RunSequencer,
/// MessageSlots, Ptt) or done here. After a handler the view has seen every change.
class Keyer : private KeyerFields,
              private ChannelListener,
              private PttHost,
              private SkedHost,
              private SequencerHost,
              private MessageSlotsHost {
  public:
    explicit Keyer(KeyerPorts ports);
    ~Keyer() override;
    Keyer(const Keyer&) = delete;
    Keyer& operator=(const Keyer&) = delete;

    /// The shared fields now, gathered from the objects that own them.
    MainScreenFields fields() const;
    const WindowState& state() const { return screen_.state(); }
    const Timer& timer_tmrMSGStatus() const { return sequencer_.timer_tmrMSGStatus(); }
    const Timer& timer_tmrPlayback() const { return sequencer_.timer_tmrPlayback(); }
    const Timer& timer_tmrRcvWindow() const { return sequencer_.timer_tmrRcvWindow(); }
    /// The transmitter's key: whether a line or the link really holds it keyed.
    const Ptt& ptt() const { return ptt_; }
    RunPhase run_phase() const { return sequencer_.phase(); }
    /// The on-air lamp now; it changes with time, so a view reads it on its own refresh.
    LampState lamp() const;
    /// The level meter's reading: the active slot's channel while it plays or records.
    ChannelLevel MeterLevel() const;
    /// While the active slot records: the time recorded so far, "m:ss.s"; else empty.
    std::string RecordingElapsedText() const;
    /// Something moves that a view should follow closely: a run, a key-down, a channel that
    /// plays or records. Otherwise the readings change only with the clock.
    bool live() const;
    /// The open preferences dialog's form, or nullptr.
    PreferencesForm* preferences_form() { return prefs_form_.get(); }
    /// A modal window is open: the main window takes no clicks, keys or menu commands.
    bool modal_open() const;

    // Start-up and shutdown.
    /// Shows the main window: runs the load sequence, then the window appears.
    void Show();
    /// A close request (close box, File > Exit): asks, and on Yes unloads and ends the program.
    void RequestClose();
    /// Unloads and ends the program as a confirmed close does, without asking (a termination
    /// signal). Before the main window has been shown it ends without saving anything.
    void EndWithoutAsking();

    // Slots.
    void optMessage_Click(int index) { slots_.optMessage_Click(index); }
    void txtPAM_Change(int index, const std::string& text) { slots_.txtPAM_Change(index, text); }
    void chkLoop_Change(int index, int value) { slots_.chkLoop_Change(index, value); }
    /// The operator typed a label for slot `index`; kept with the configuration.
    void txtLabel_Change(int index, const std::string& text) {
        slots_.txtLabel_Change(index, text);
    }
    /// The length of slot `index`'s message as "m:ss.s", or empty when it holds none.
    std::string SlotLengthText(int index) const { return slots_.SlotLengthText(index); }

    // Buttons and check boxes.
    void cmdStart_Click() { sequencer_.cmdStart_Click(); }
    void cmdStop_Click() { sequencer_.cmdStop_Click(); }
    void cmdLoad_Click() { slots_.cmdLoad_Click(); }
    void cmdRecord_Click() { slots_.cmdRecord_Click(); }
    void cmdSave_Click() { slots_.cmdSave_Click(); }
    void cmdErase_Click() { slots_.cmdErase_Click(); }
    void cmdXmit_Click();
    /// Plays the active slot to the speakers without keying: nothing while a run is under way or
    /// the transmitter is keyed (the sound would go on the air).
    void cmdListen_Click();
    /// What the message tools may do now on the active slot's message: Listen, Trim and
    /// Normalize while it is open and nothing plays, records or keys; Undo when an edit is held.
    struct ToolsState {
        bool ready = false;
        bool undo = false;
    };
    ToolsState MessageToolsState() const;
    /// Trim silence at both ends, bring the peak to -1 dBFS, take the latest edit back; each
    /// does nothing unless MessageToolsState allows it. An edit lasts until the message is saved.
    void cmdTrim_Click();
    void cmdNormalize_Click();
    void cmdUndo_Click();
    /// The check box has taken `value` (0 or 1) and its click handler runs.
    void chkMode_Click(int value);
    void chkInterval_Click(int value) { sked_.chkInterval_Click(value); }

    // Menus.
    void mnuFileItem_Click(int index);
    void mnuOptionsItem_Click(int index);
    void mnuOptionsTimingItem_Click(int index) { sked_.mnuOptionsTimingItem_Click(index); }
    void mnuMixerItem_Click(int index);
    void mnuHelpItem_Click(int index);
    /// frmAbout's "&System Info..." button.
    void StartSysInfo();

    // Keyboard and status bar.
    void Form_KeyDown(int key_code, int shift);
    void StatusBar1_PanelClick() { clock_.StatusBar1_PanelClick(); }
    void StatusBar1_PanelDblClick() { clock_.StatusBar1_PanelDblClick(); }

    /// A device adapter's notice for the operator (a sound device fell back to the default).
    void DeviceNotice(const std::string& text);

    static std::string GetModeText(ChannelState mode) { return RunSequencer::GetModeText(mode); }

  private:
    void mci_StatusUpdate(int) override { sequencer_.mci_StatusUpdate(); }

    // Listen and the message tools.
    /// Polls the channel a Listen plays; at its end "Listening" gives way to "Playback Stopped".
    void tmrListen_Timer();
    /// Ends a Listen still sounding: its sound is for the operator, never for the air.
    void EndListen();
    void EditMessage(SampleEdit edit, const char* done, const char* nothing);

    // PTT.
    void PTT_Control(bool Keyed, KeyCause cause) override;
    void ShowPanel(Panel panel, const std::string& text) override;
    void TxTimedOut() override;
    void StartReleaseWait() override;
    void OpenCommPort();
    void PollPTTInterrupt();
    void SP_Lost();

    // The run's answer to the Sked clock's segment edges.
    void XmitSegmentStarted() override { sequencer_.XmitSegmentStarted(); }
    void XmitSegmentEnding() override { sequencer_.XmitSegmentEnding(); }
    void RecvSegmentStarted() override { sequencer_.RecvSegmentStarted(); }

    // Link.
    void FTLinkDecision();
    void tmrFTLinkDelay_Timer();
    /// The stuck-PTT readback: the radio still reports `state` (not 0) after this keyer's unkey.
    void CheckStuckPTT(LinkTransmit state);

    // Start-up and shutdown.
    void Form_Load();
    bool Form_QueryUnload();
    void Form_Unload();
    /// Form_Unload, then the window goes and the program ends.
    void End();

    // Message configurations.
    void ReadMsgConfig(const std::string& path);
    bool WriteMsgConfig(const std::string& path);
    void GetLastconfig(const ProfileDocument& ini);
    void SaveLastConfig();
    void LoadConfig();
    void SaveConfig();
    void ShowPreferences();

    // The run's and the slots' requests.
    bool OpenSlot(int i) override { return slots_.OpenSlot(i); }
    void ActiveSlotChanging() override { sequencer_.ForgetPass(); }
    void RecorderStarting() override { sequencer_.Halt(); }

    KeyerPorts ports_;
    Scheduler& scheduler_;
    WaveChannels& mci;
    SerialPort& SP;
    Dialogs& dialogs_;
    Launcher& launcher_;
    Screen screen_;
    StationClock clock_;
    SkedClock sked_;
    MessageSlots slots_;
    RunSequencer sequencer_;
    std::unique_ptr<LinkMonitor> FTMonitor;
    std::unique_ptr<PreferencesForm> prefs_form_;

    NullEventLog no_log_;
    EventLog& log_;
    Ptt ptt_;
    // Stuck-PTT readback: when this keyer last unkeyed the link (none: no readback runs).
    enum class StuckAlarm { Off, Sounding, Silenced };
    std::optional<Ms> unkeyed_at_;
    bool unkey_repeated_ = false;
    StuckAlarm stuck_alarm_ = StuckAlarm::Off;
    Ms last_beep_{0};

    Timer tmrFTLinkDelay;
    Timer tmrListen;
    int listen_slot_ = -1;  ///< the channel a Listen plays; -1: none
};

}  // namespace parlomat
