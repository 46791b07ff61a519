#pragma once

namespace parlomat {

/// Virtual-key codes the keyer answers to.
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyPadPlus = 107;
inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyF6 = 117;
inline constexpr int kKeyF12 = 123;

}  // namespace parlomat
