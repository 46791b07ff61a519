#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "core/audio/paths.h"
#include "core/audio/sound_filter.h"
#include "core/keyer/file_choice.h"
#include "core/keyer/message_slots.h"
#include "core/settings/profile_file.h"
#include "core/shell/about_texts.h"

namespace parlomat {
namespace {

constexpr const char* kWaveFilter = "Wave (*.wav)|*.wav|All (*.*)|*.*";
constexpr const char* kWorkFile = "temp.wav";

/// Why a slot cannot be named `name` (a configuration stores it as one value of at most 255
/// characters), or empty when it can.
std::string NameProblem(const std::string& name) {
    if (name.find_first_of("\r\n") != std::string::npos) {
        return "its name holds a line break";
    }
    if (name.size() > kProfileValueMax) {
        return "its name is longer than 255 characters";
    }
    return {};
}

bool SameContent(const std::string& a, const std::string& b) {
    std::error_code error;
    const auto size = std::filesystem::file_size(a, error);
    if (error || size != std::filesystem::file_size(b, error) || error) {
        return false;
    }
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    std::array<char, 65536> x{};
    std::array<char, 65536> y{};
    while (first && second) {
        first.read(x.data(), x.size());
        second.read(y.data(), y.size());
        if (first.gcount() != second.gcount() ||
            !std::equal(x.begin(), x.begin() + first.gcount(), y.begin())) {
            return false;
        }
    }
    return first.eof() && second.eof();
}

}  // namespace

void MessageSlots::cmdLoad_Click() {
    const int i = f_.ActiveMsg;
    const auto chosen =
        ChooseFile(dialogs_, files_.station_dir, FileDialogRequest::Kind::Open,
                   "Load Wave File:", LoadFilter(files_.sound_extensions).c_str(), false);
    if (!chosen) {
        return;
    }
    if (f_.MsgLoaded[i] &&
        dialogs_.message_box(MsgIcon::None, "Confirm Message Replacement",
                             "Do you wish to replace the currently assigned message?",
                             MsgButtons::YesNo) != MsgReply::Yes) {
        return;
    }
    if (!chosen->empty()) {
        const auto name = StripPath(*chosen);
        if (const auto problem = NameProblem(name); !problem.empty()) {
            RefuseFile(name, problem);
            return;
        }
        const auto plan = PlanLoad(*chosen);
        if (!plan) {
            return;
        }
        // The chosen file is tried first, so a file that does not play is never copied in.
        if (mci.ChannelMode(i) != mode::kNotOpen) {
            mci.CloseChannel(i);
        }
        std::string reason;
        mci.OpenChannel(i, plan->open);
        if (mci.ChannelMode(i) == mode::kNotOpen) {
            reason = OpenFailureText(mci.LastOpenFailure(i));
        } else if (!plan->copy_to.empty()) {
            mci.CloseChannel(i);
            if (files_.copier == nullptr || !files_.copier->CopyFile(plan->open, plan->copy_to)) {
                reason = "it could not be copied into the station directory";
            } else {
                mci.OpenChannel(i, plan->copy_to);
                if (mci.ChannelMode(i) == mode::kNotOpen) {
                    reason = OpenFailureText(mci.LastOpenFailure(i));
                }
            }
        }
        if (!reason.empty()) {
            RestoreSlot(i);
            RefuseFile(name, reason);
            return;
        }
        screen_.set_slot(i, &SlotLook::name, name);
        f_.MsgLoaded[i] = true;
        screen_.set_slot(i, &SlotLook::unplayable, "");
    }
    for (const auto button :
         {Button::cmdRecord, Button::cmdStart, Button::cmdSave, Button::cmdErase, Button::cmdLoad,
          Button::cmdStop, Button::cmdXmit}) {
        screen_.set_button(button, true);
    }
}

std::optional<MessageSlots::LoadPlan> MessageSlots::PlanLoad(const std::string& chosen) {
    std::error_code error;
    const auto folder = std::filesystem::path(chosen).parent_path();
    if (std::filesystem::equivalent(folder, files_.station_dir, error) ||
        !std::filesystem::is_regular_file(chosen, error)) {
        return LoadPlan{chosen, ""};  // used where it is; a file that is not there fails to open
    }
    const auto name = StripPath(chosen);
    const auto target = StationPath(name);
    if (!std::filesystem::exists(target, error)) {
        return LoadPlan{chosen, target};
    }
    if (SameContent(chosen, target)) {
        return LoadPlan{target, ""};
    }
    if (dialogs_.message_box(MsgIcon::None, "Confirm File Replacement",
                             "A different file named " + name +
                                 " is already in the station directory.  Do you wish to "
                                 "replace it?",
                             MsgButtons::YesNo) != MsgReply::Yes) {
        return std::nullopt;
    }
    return LoadPlan{chosen, target};
}

void MessageSlots::RestoreSlot(int i) {
    if (mci.ChannelMode(i) != mode::kNotOpen) {
        mci.CloseChannel(i);
    }
    if (f_.MsgLoaded[i]) {
        OpenSlot(i);  // an empty slot, or one shown greyed, had nothing open
    }
}

bool MessageSlots::OpenSlot(int i) {
    const auto file = PathUnder(files_.station_dir, screen_.slot(i).name);
    std::error_code error;
    if (!file || !std::filesystem::is_regular_file(*file, error)) {
        f_.MsgLoaded[i] = false;
        screen_.set_slot(i, &SlotLook::unplayable,
                         std::string(OpenFailureText(OpenFailure::NotFound)));
        return false;
    }
    return OpenSlotFile(i, *file);
}

bool MessageSlots::OpenSlotFile(int i, const std::string& path) {
    mci.OpenChannel(i, path);
    const bool open = mci.ChannelMode(i) != mode::kNotOpen;
    f_.MsgLoaded[i] = open;
    screen_.set_slot(i, &SlotLook::unplayable,
                     open ? "" : std::string(OpenFailureText(mci.LastOpenFailure(i))));
    return open;
}

void MessageSlots::RefuseFile(const std::string& name, const std::string& reason) {
    dialogs_.message_box(MsgIcon::Critical, "Message Not Loaded",
                         "The file " + name + " could not be used: " + reason + ".",
                         MsgButtons::Ok);
}

void MessageSlots::cmdRecord_Click() {
    const int i = f_.ActiveMsg;
    host_.RecorderStarting();
    if (!prefs.Recorder.empty()) {
        RunRecorder();
        return;
    }
    const auto previous = screen_.slot(i).name;
    const bool was_loaded = f_.MsgLoaded[i];
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
        const auto file = PathUnder(files_.station_dir, previous);
        const bool reopened = was_loaded && file && std::filesystem::is_regular_file(*file, error);
        if (reopened) {
            mci.OpenChannel(i, *file);
        }
        // A slot shown greyed keeps its name and reason.
        screen_.set_slot(i, &SlotLook::name, reopened || !was_loaded ? previous : "");
        f_.MsgLoaded[i] = reopened;
        if (was_loaded && !reopened) {
            screen_.set_slot(i, &SlotLook::unplayable, "");
        }
        screen_.set_panel(Panel::pnlFeedback, "Recording failed");
        return;
    }
    screen_.set_slot(i, &SlotLook::name, kWorkFile);
    f_.MsgLoaded[i] = true;
    screen_.set_slot(i, &SlotLook::unplayable, "");
    for (const auto button :
         {Button::cmdStart, Button::cmdSave, Button::cmdErase, Button::cmdLoad, Button::cmdXmit}) {
        screen_.set_button(button, false);
    }
    screen_.set_button(Button::cmdStop, true);
}

void MessageSlots::cmdSave_Click() {
    const int i = f_.ActiveMsg;
    const auto chosen = ChooseFile(dialogs_, files_.station_dir, FileDialogRequest::Kind::Save,
                                   "Save Wave File:", kWaveFilter, true);
    if (!chosen) {
        return;
    }
    if (!chosen->empty()) {
        const auto target = HasExtension(*chosen, ".wav") ? *chosen : *chosen + ".wav";
        if (const auto problem = NameProblem(StripPath(target)); !problem.empty()) {
            dialogs_.message_box(
                MsgIcon::Critical, "Message Not Saved",
                "The file " + StripPath(target) + " cannot name a message: " + problem + ".",
                MsgButtons::Ok);
        } else if (mci.SaveChannel(i, target)) {
            screen_.set_slot(i, &SlotLook::name, StripPath(target));
            screen_.set_slot(i, &SlotLook::unplayable, "");
        } else {
            screen_.set_panel(Panel::pnlFeedback, "Save failed");
        }
    }
    for (const auto button : {Button::cmdRecord, Button::cmdStart, Button::cmdSave,
                              Button::cmdErase, Button::cmdLoad}) {
        screen_.set_button(button, true);
    }
    screen_.set_button(Button::cmdStop, false);
}

void MessageSlots::cmdErase_Click() {
    const int i = f_.ActiveMsg;
    if (!f_.MsgLoaded[i] && !screen_.slot(i).unplayable.empty()) {
        // A name shown greyed: nothing is open, the name goes.
        screen_.set_slot(i, &SlotLook::name, "");
        screen_.set_slot(i, &SlotLook::unplayable, "");
        return;
    }
    if (!f_.MsgLoaded[i]) {
        dialogs_.message_box(MsgIcon::Exclamation, "No Message Found",
                             "Message " + std::to_string(i + 1) + " was not loaded.",
                             MsgButtons::Ok);
        return;
    }
    mci.CloseChannel(i);
    screen_.set_slot(i, &SlotLook::name, "");
    f_.MsgLoaded[i] = false;
}

void MessageSlots::RunRecorder() {
    if (launcher_.start(prefs.Recorder)) {
        return;
    }
    dialogs_.message_box(MsgIcon::Critical, std::string(kProductName),
                         "An error occured while attempting to start " + prefs.Recorder +
                             ".  The path or filename may be incorrect.  Corrections to either "
                             "may be made in the Parlomat.ini file.  This file is located in the " +
                             files_.station_dir + " subdirectory.",
                         MsgButtons::Ok);
}

std::string MessageSlots::StationPath(const std::string& name) const {
    return files_.station_dir + "/" + name;
}

}  // namespace parlomat
