#include <string>

#include "core/keyer/clock_text.h"
#include "core/keyer/keyer.h"
#include "core/settings/msg_config.h"
#include "core/settings/profile_file.h"

namespace parlomat {

void Keyer::optMessage_Click(int index) {
    if (index < 0 || index >= kSlotCount) {
        return;
    }
    // The option button is checked before its click handler runs.
    screen_.set_frame(&FrameLook::active, index);
    sequencer_.ForgetPass();
    screen_.set_slot(ActiveMsg, &SlotLook::run_colours, false);
    mci.SetUpdateInterval(ActiveMsg, 0);
    screen_.set_frame(&FrameLook::gauge, 0);
    mci.StopChannel(ActiveMsg);
    ActiveMsg = static_cast<std::int16_t>(index);
    for (int i = 0; i < kSlotCount; ++i) {
        screen_.set_slot(i, &SlotLook::bold, i == index);
    }
}

void Keyer::txtPAM_Change(int index, const std::string& text) {
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

void Keyer::txtLabel_Change(int index, const std::string& text) {
    if (index >= 0 && index < kSlotCount) {
        screen_.set_slot(index, &SlotLook::label, ProfileValueText(text));
    }
}

std::string Keyer::SlotLengthText(int index) const {
    if (index < 0 || index >= kSlotCount || mci.ChannelMode(index) == mode::kNotOpen) {
        return {};
    }
    return MessageLengthText(Ms{mci.ChannelLength(index)});
}

void Keyer::chkLoop_Change(int index, int value) {
    if (index >= 0 && index < kSlotCount && value >= 0 && value <= 2) {
        screen_.set_slot(index, &SlotLook::loop, value);
    }
}

}  // namespace parlomat
