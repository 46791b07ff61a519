#pragma once

#include <array>
#include <optional>

#include "core/keyer/key_codes.h"

namespace parlomat {

/// What a key does on the main window. The shift state does not matter.
enum class KeyAction {
    Stop,      ///< as the Stop button
    Start,     ///< as the Start button, on the active slot
    SendSlot,  ///< checks the slot, then Start
};

struct Shortcut {
    int key;
    KeyAction action;
    int slot = -1;  ///< SendSlot's slot, 0..5
};

/// Every key the main window answers.
inline constexpr std::array<Shortcut, 9> kShortcuts = {{
    {kKeyEscape, KeyAction::Stop},
    {kKeyPadPlus, KeyAction::Start},
    {kKeyF12, KeyAction::Start},
    {kKeyF1, KeyAction::SendSlot, 0},
    {kKeyF1 + 1, KeyAction::SendSlot, 1},
    {kKeyF1 + 2, KeyAction::SendSlot, 2},
    {kKeyF1 + 3, KeyAction::SendSlot, 3},
    {kKeyF1 + 4, KeyAction::SendSlot, 4},
    {kKeyF6, KeyAction::SendSlot, 5},
}};

/// The shortcut of `key_code`, or nothing for a key the window ignores.
constexpr std::optional<Shortcut> ShortcutFor(int key_code) {
    for (const auto& shortcut : kShortcuts) {
        if (shortcut.key == key_code) {
            return shortcut;
        }
    }
    return std::nullopt;
}

}  // namespace parlomat
