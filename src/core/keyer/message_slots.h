#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/audio/file_copier.h"
#include "core/audio/wave_channels.h"
#include "core/keyer/screen.h"
#include "core/runtime/dialogs.h"
#include "core/runtime/launcher.h"
#include "core/settings/msg_config.h"
#include "core/settings/preferences.h"

namespace parlomat {

/// What the message slots need of the main window they work for.
class MessageSlotsHost {
  public:
    virtual ~MessageSlotsHost() = default;
    /// Another slot is being checked: a run must not take the old slot's pass for the new one's.
    virtual void ActiveSlotChanging() = 0;
    /// The recorder takes the active slot's channel: the run is dropped.
    virtual void RecorderStarting() = 0;
};

/// The six message slots: which one is active, which hold an open message, and the handlers
/// that fill, record, save and empty them. A slot's file lives in the station directory.
class MessageSlots {
  public:
    struct Fields {
        std::int16_t ActiveMsg = 0;
        std::array<bool, kSlotCount> MsgLoaded{};
    };
    /// Where messages live and how files from elsewhere come in.
    struct Files {
        std::string station_dir;
        FileCopier* copier = nullptr;  ///< nullptr: a file from outside is refused
        /// Extensions (lower case, no dot) the channels play, for the Load filter.
        std::vector<std::string> sound_extensions;
    };

    MessageSlots(Screen& screen, WaveChannels& mci, Dialogs& dialogs, Launcher& launcher,
                 const Preferences& prefs, Files files, MessageSlotsHost& host);

    const Fields& fields() const { return f_; }

    void optMessage_Click(int index);
    void txtPAM_Change(int index, const std::string& text);
    void chkLoop_Change(int index, int value);
    void txtLabel_Change(int index, const std::string& text);
    std::string SlotLengthText(int index) const;
    void cmdLoad_Click();
    void cmdRecord_Click();
    void cmdSave_Click();
    void cmdErase_Click();

    /// OpenSlotFile on the slot's named file in the station directory; a name outside it, or
    /// no such file, is shown greyed as not found without touching the channel.
    bool OpenSlot(int i);
    /// Shows a configuration's six slots and opens their files.
    void ShowMsgConfig(const MsgConfig& config);
    MsgConfig SlotsConfig() const;
    /// Closes every loaded slot's channel: the program is going away.
    void CloseAll();

  private:
    /// Opens `path` on slot `i`'s channel: the slot is loaded, or shown greyed with the reason
    /// (its name kept) and not loaded. True when the file opened.
    bool OpenSlotFile(int i, const std::string& path);
    /// What a load from `chosen` opens and, for a file from outside, where it copies it first
    /// (`copy_to` empty: nothing to copy). Nothing when the operator declined to replace a
    /// different file of that name in the station directory.
    struct LoadPlan {
        std::string open;
        std::string copy_to;
    };
    std::optional<LoadPlan> PlanLoad(const std::string& chosen);
    /// Gives slot `i` its own message back after a refused load.
    void RestoreSlot(int i);
    /// Tells the operator that `name` could not be used, and why.
    void RefuseFile(const std::string& name, const std::string& reason);
    void RunRecorder();
    std::string StationPath(const std::string& name) const;

    Screen& screen_;
    WaveChannels& mci;
    Dialogs& dialogs_;
    Launcher& launcher_;
    const Preferences& prefs;
    Files files_;
    MessageSlotsHost& host_;
    Fields f_;
};

}  // namespace parlomat
