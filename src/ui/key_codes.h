#pragma once

class QKeyEvent;

namespace parlomat {

/// The virtual-key code the keyer knows a key by (27 Esc, 107 keypad "+", 112..123 F1..F12,
/// 65..90 letters, 48..57 digits, 187 the main keyboard's "+"), or 0 for a key it has no code for.
int virtual_key_code(const QKeyEvent& event);

/// The modifier state as the keyer counts it: 1 Shift, 2 Ctrl, 4 Alt.
int shift_state(const QKeyEvent& event);

}  // namespace parlomat
