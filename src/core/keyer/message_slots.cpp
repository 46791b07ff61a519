#include "core/keyer/message_slots.h"

#include <string>
#include <utility>

#include "core/keyer/clock_text.h"
#include "core/settings/msg_config.h"
#include "core/settings/profile_file.h"

namespace parlomat {

MessageSlots::MessageSlots(Screen& screen, WaveChannels& mci, Dialogs& dialogs, Launcher& launcher,
                           const Preferences& prefs, Files files, MessageSlotsHost& host)
    : screen_(screen),
      mci(mci),
      dialogs_(dialogs),
      launcher_(launcher),
      prefs(prefs),
      files_(std::move(files)),
      host_(host) {}

void MessageSlots::optMessage_Click(int index) {
    if (index < 0 || index >= kSlotCount) {
        return;
    }
    // The option button is checked before its click handler runs.
    screen_.set_frame(&FrameLook::active, index);
    host_.ActiveSlotChanging();
    screen_.set_slot(f_.ActiveMsg, &SlotLook::run_colours, false);
    mci.SetUpdateInterval(f_.ActiveMsg, 0);
    screen_.set_frame(&FrameLook::gauge, 0);
    mci.StopChannel(f_.ActiveMsg);
    f_.ActiveMsg = static_cast<std::int16_t>(index);
    for (int i = 0; i < kSlotCount; ++i) {
        screen_.set_slot(i, &SlotLook::bold, i == index);
    }
}

void MessageSlots::txtPAM_Change(int index, const std::string& text) {
    if (index < 0 || index >= kSlotCount) {
        return;
    }
    // The delay is stored in a configuration as one value of at most 255 characters.
    const char* problem = text.find_first_of("\r\n") != std::string::npos ? "holds a line break"
                          : text.size() > kProfileValueMax ? "is longer than 255 characters"
                                                           : nullptr;
    if (problem != nullptr) {
        dialogs_.message_box(MsgIcon::Critical, "Invalid Delay",
                             "The delay of Msg " + std::to_string(index + 1) + " " + problem +
                                 "; it stays as it was.",
                             MsgButtons::Ok);
        return;
    }
    screen_.set_slot(index, &SlotLook::delay, text);
}

void MessageSlots::txtLabel_Change(int index, const std::string& text) {
    if (index >= 0 && index < kSlotCount) {
        screen_.set_slot(index, &SlotLook::label, ProfileValueText(text));
    }
}

std::string MessageSlots::SlotLengthText(int index) const {
    if (index < 0 || index >= kSlotCount || mci.ChannelMode(index) == mode::kNotOpen) {
        return {};
    }
    return MessageLengthText(Ms{mci.ChannelLength(index)});
}

void MessageSlots::chkLoop_Change(int index, int value) {
    if (index >= 0 && index < kSlotCount && value >= 0 && value <= 2) {
        screen_.set_slot(index, &SlotLook::loop, value);
    }
}

void MessageSlots::ShowMsgConfig(const MsgConfig& config) {
    for (int i = 0; i < kSlotCount; ++i) {
        const auto& slot = config[i];
        screen_.set_slot(i, &SlotLook::name, slot.name);
        screen_.set_slot(i, &SlotLook::delay, slot.delay);
        screen_.set_slot(i, &SlotLook::loop, slot.loop ? 1 : 0);
        screen_.set_slot(i, &SlotLook::label, slot.label);
        if (mci.ChannelMode(i) != mode::kNotOpen) {
            mci.CloseChannel(i);
        }
        // The flag follows the slot: a slot whose earlier open had failed is not left marked.
        f_.MsgLoaded[i] = false;
        if (slot.name.empty()) {
            screen_.set_slot(i, &SlotLook::unplayable, "");
            continue;
        }
        // A file that does not open keeps its name, greyed with the reason, and is not loaded.
        OpenSlot(i);
    }
}

MsgConfig MessageSlots::SlotsConfig() const {
    MsgConfig config;
    for (int i = 0; i < kSlotCount; ++i) {
        const auto& look = screen_.slot(i);
        config[i] = MsgSlotConfig{look.name, look.delay, look.loop == 1, look.label};
    }
    return config;
}

void MessageSlots::CloseAll() {
    for (int i = 0; i < kSlotCount; ++i) {
        if (f_.MsgLoaded[i]) {
            mci.CloseChannel(i);
        }
    }
}

}  // namespace parlomat
