#pragma once

#include <array>
#include <string>
#include <string_view>

namespace parlomat {

/// One slot of a message configuration, as it stands in the "MSG Config" section.
struct MsgSlotConfig {
    std::string name;   ///< bare wave file name; empty for an empty slot
    std::string delay;  ///< receive window in tenths of a second, as typed
    bool loop = false;

    bool operator==(const MsgSlotConfig&) const = default;
};

inline constexpr int kMsgConfigSlots = 6;
using MsgConfig = std::array<MsgSlotConfig, kMsgConfigSlots>;

inline constexpr const char* kMsgConfigSection = "MSG Config";

/// Reads the six slots of the "MSG Config" section of `path`. A missing file, section or key
/// gives an empty slot; a name of "EMPTY" means an empty slot.
MsgConfig ReadMsgConfigSection(const std::string& path);

/// Writes the 18 keys slot by slot (MSG1, Delay1, Loop1, MSG2, ...), each in its own write, so
/// every other key and section of the file stays as it was. False when any write failed.
bool WriteMsgConfigSection(const std::string& path, const MsgConfig& config);

/// A Loop value as a Boolean literal: "True" or "False" in any letter case, or a number (0 is
/// false, any other number true). Empty text and anything else are false.
bool LoopLiteral(std::string_view text);

/// The delay text to store: the text as typed when its leading number is above 0, else "0".
std::string DelayTextToWrite(std::string_view delay);

/// `text` made safe as one profile value: line breaks become blanks and NUL bytes are dropped,
/// so a value can never start a line of its own in the file.
std::string ProfileValueText(std::string_view text);

}  // namespace parlomat
