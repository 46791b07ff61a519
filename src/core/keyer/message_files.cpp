#include <filesystem>
#include <string>
#include <system_error>

#include "core/audio/paths.h"
#include "core/keyer/keyer.h"
#include "core/shell/about_texts.h"

namespace parlomat {
namespace {

constexpr const char* kWaveFilter = "Wave (*.wav)|*.wav|All (*.*)|*.*";
constexpr const char* kWorkFile = "temp.wav";

}  // namespace

void Keyer::cmdLoad_Click() {
    const int i = ActiveMsg;
    const auto chosen =
        ChooseFile(FileDialogRequest::Kind::Open, "Load Wave File:", kWaveFilter, false);
    if (!chosen) {
        return;
    }
    if (MsgLoaded[i] &&
        dialogs_.message_box(MsgIcon::None, "Confirm Message Replacement",
                             "Do you wish to replace the currently assigned message?",
                             MsgButtons::YesNo) != MsgReply::Yes) {
        return;
    }
    if (mci.ChannelMode(i) != mode::kNotOpen) {
        mci.CloseChannel(i);
    }
    if (!chosen->empty()) {
        mci.OpenChannel(i, *chosen);
        set_slot_name(i, StripPath(*chosen));
        MsgLoaded[i] = true;
    }
    for (const auto button :
         {Button::cmdRecord, Button::cmdStart, Button::cmdSave, Button::cmdErase, Button::cmdLoad,
          Button::cmdStop, Button::cmdXmit}) {
        set_button(button, true);
    }
}

void Keyer::cmdRecord_Click() {
    const int i = ActiveMsg;
    set_phase(RunPhase::Idle);
    tmrMSGStatus.set_enabled(false);
    if (!prefs.Recorder.empty()) {
        RunRecorder();
        return;
    }
    const auto previous = state_.slots[i].name;
    const bool was_loaded = MsgLoaded[i];
    if (mci.ChannelMode(i) != mode::kNotOpen) {
        mci.CloseChannel(i);
    }
    const auto work_file = StationPath(kWorkFile);
    std::error_code error;
    if (!std::filesystem::exists(work_file, error)) {
        mci.CreateEmptyWave(work_file);
    }
    mci.OpenChannel(i, work_file);
    mci.RecordChannel(i);
    if (mci.ChannelMode(i) != mode::kRecording) {
        // No input device or no usable work file: say so rather than show a recording that is
        // not there, and give the slot its message back from the station directory.
        if (mci.ChannelMode(i) != mode::kNotOpen) {
            mci.CloseChannel(i);
        }
        const auto file = PathUnder(ports_.station_dir, previous);
        const bool reopened = was_loaded && file && std::filesystem::is_regular_file(*file, error);
        if (reopened) {
            mci.OpenChannel(i, *file);
        }
        set_slot_name(i, reopened ? previous : "");
        MsgLoaded[i] = reopened;
        set_panel(Panel::pnlFeedback, "Recording failed");
        return;
    }
    set_slot_name(i, kWorkFile);
    MsgLoaded[i] = true;
    for (const auto button :
         {Button::cmdStart, Button::cmdSave, Button::cmdErase, Button::cmdLoad, Button::cmdXmit}) {
        set_button(button, false);
    }
    set_button(Button::cmdStop, true);
}

void Keyer::cmdSave_Click() {
    const int i = ActiveMsg;
    const auto chosen =
        ChooseFile(FileDialogRequest::Kind::Save, "Save Wave File:", kWaveFilter, true);
    if (!chosen) {
        return;
    }
    if (!chosen->empty()) {
        const auto target = HasExtension(*chosen, ".wav") ? *chosen : *chosen + ".wav";
        if (mci.SaveChannel(i, target)) {
            set_slot_name(i, StripPath(target));
        } else {
            set_panel(Panel::pnlFeedback, "Save failed");
        }
    }
    for (const auto button : {Button::cmdRecord, Button::cmdStart, Button::cmdSave,
                              Button::cmdErase, Button::cmdLoad}) {
        set_button(button, true);
    }
    set_button(Button::cmdStop, false);
}

void Keyer::cmdErase_Click() {
    const int i = ActiveMsg;
    if (!MsgLoaded[i]) {
        dialogs_.message_box(MsgIcon::Exclamation, "No Message Found",
                             "Message " + std::to_string(i + 1) + " was not loaded.",
                             MsgButtons::Ok);
        return;
    }
    mci.CloseChannel(i);
    set_slot_name(i, "");
    MsgLoaded[i] = false;
}

void Keyer::RunRecorder() {
    if (launcher_.start(prefs.Recorder)) {
        return;
    }
    dialogs_.message_box(MsgIcon::Critical, std::string(kProductName),
                         "An error occured while attempting to start " + prefs.Recorder +
                             ".  The path or filename may be incorrect.  Corrections to either "
                             "may be made in the Parlomat.ini file.  This file is located in the " +
                             ports_.station_dir + " subdirectory.",
                         MsgButtons::Ok);
}

}  // namespace parlomat
