#pragma once

namespace parlomat {

/// Virtual-key codes: the numbers the keyer knows keys by, whoever reads the keyboard.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKey0 = 48;  ///< the main keyboard's digits 0..9 follow on
inline constexpr int kKeyA = 65;  ///< the letters A..Z follow on
inline constexpr int kKeyPad0 = 96;
inline constexpr int kKeyPadMultiply = 106;
inline constexpr int kKeyPadPlus = 107;
inline constexpr int kKeyPadMinus = 109;
inline constexpr int kKeyPadDivide = 111;
inline constexpr int kKeyF1 = 112;  ///< F1..F12 follow on
inline constexpr int kKeyF6 = 117;
inline constexpr int kKeyF12 = 123;
inline constexpr int kKeyPlus = 187;  ///< the main keyboard's "+"
inline constexpr int kKeyMinus = 189;
inline constexpr int kKeySlash = 191;

/// Modifier bits of a key's shift state.
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

}  // namespace parlomat
