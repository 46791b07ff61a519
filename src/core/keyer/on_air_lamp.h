#pragma once

#include <optional>
#include <string>

#include "core/keyer/run_phase.h"
#include "core/runtime/scheduler.h"

namespace parlomat {

/// The on-air lamp's colour: dark, red (transmitting) or amber (about to transmit, or waiting
/// between transmissions).
enum class LampColour { Off, Red, Amber };

/// What the large indicator beside the status bar shows.
struct LampState {
    LampColour colour = LampColour::Off;
    std::string text = "ON AIR";  ///< the lamp's caption
    std::string countdown;        ///< "3.2 s" left in a receive window, "12 s" left in a segment
    std::string id_text;          ///< the ID reminder: "ID 09:59", "ID due", or empty
    bool operator==(const LampState&) const = default;
};

/// What the lamp is drawn from.
struct LampInputs {
    bool on_air = false;  ///< a line or the link really holds the transmitter keyed
    RunPhase phase = RunPhase::Idle;
    bool sked_mode = false;
    std::optional<Ms> receive_left = {};      ///< time left in a loop's receive window
    std::optional<int> segment_seconds = {};  ///< Sked mode: seconds left in the segment
    std::optional<Ms> id_left = {};           ///< the ID reminder runs: time until it is due
};

/// Red "ON AIR" only while the transmitter is really keyed (the PTT delay is amber); amber
/// "LISTENING" with the countdown during a receive window; dark otherwise. In Sked mode the
/// countdown is the segment's seconds left.
LampState LampFor(const LampInputs& in);

/// Time left as seconds with one decimal, rounded up: "3.2 s".
std::string TenthsText(Ms left);

}  // namespace parlomat
