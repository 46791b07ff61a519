#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/settings/profile_document.h"

namespace parlomat {

/// One slot of a message configuration, as it stands in the "MSG Config" section.
struct MsgSlotConfig {
    std::string name;   ///< bare wave file name; empty for an empty slot
    std::string delay;  ///< receive window in tenths of a second, as typed
    bool loop = false;
    std::string label = {};  ///< the operator's words for the message ("CQ contest"); may be empty

    bool operator==(const MsgSlotConfig&) const = default;
};

inline constexpr int kMsgConfigSlots = 6;
using MsgConfig = std::array<MsgSlotConfig, kMsgConfigSlots>;

inline constexpr const char* kMsgConfigSection = "MSG Config";

/// Reads the six slots of the "MSG Config" section of `path` (one read of the file). A missing
/// file, section or key gives an empty slot; a name of "EMPTY" means an empty slot.
MsgConfig ReadMsgConfigSection(const std::string& path);
MsgConfig ReadMsgConfigSection(const ProfileDocument& file);

/// Sets the 18 keys slot by slot (MSG1, Delay1, Loop1, MSG2, ...) and writes the file once;
/// every other key and section stays as it was. A label goes into "Label<n>", a key older
/// readers skip; an empty label is set only to clear one the file holds. False when the file
/// could not be written.
bool WriteMsgConfigSection(const std::string& path, const MsgConfig& config);
/// Sets the same keys in `file`, written when the caller saves it.
bool WriteMsgConfigSection(ProfileDocument& file, const MsgConfig& config);

/// A Loop value as a Boolean literal: "True" or "False" in any letter case, or a number (0 is
/// false, any other number true). Empty text and anything else are false.
bool LoopLiteral(std::string_view text);

/// The delay text to store: the text as typed when its leading number is above 0, else "0".
std::string DelayTextToWrite(std::string_view delay);

/// `text` made safe as one profile value: line breaks become blanks and NUL bytes are dropped,
/// so a value can never start a line of its own in the file.
std::string ProfileValueText(std::string_view text);

}  // namespace parlomat
