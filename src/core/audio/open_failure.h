#pragma once

#include <chrono>
#include <string_view>

namespace parlomat {

/// Why a channel's last open left it "Not Open".
enum class OpenFailure {
    None,        ///< the last open succeeded, or none was tried
    NotFound,    ///< no file of that name
    Unreadable,  ///< the file is there but cannot be read
    NotSound,    ///< the file holds no sound format the channel knows
    TooLong,     ///< longer than kMaxMessageLength
    NoDevice,    ///< no sound device to play it on
};

/// Longest message a channel opens.
inline constexpr std::chrono::minutes kMaxMessageLength{5};

/// The reason as the operator reads it, e.g. in "could not be used: not a sound file".
std::string_view OpenFailureText(OpenFailure failure);

}  // namespace parlomat
