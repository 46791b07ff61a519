#pragma once

class QKeyEvent;

namespace parlomat {

/// The virtual-key code (core/keyer/key_codes.h) the keyer knows a key by, or 0 for a key it has
/// no code for.
int virtual_key_code(const QKeyEvent& event);

/// The modifier state as the keyer counts it: kShiftMask, kCtrlMask, kAltMask.
int shift_state(const QKeyEvent& event);

}  // namespace parlomat
