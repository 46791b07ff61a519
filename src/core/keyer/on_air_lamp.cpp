#include "core/keyer/on_air_lamp.h"

#include <algorithm>

#include "core/keyer/clock_text.h"

namespace parlomat {

std::string TenthsText(Ms left) {
    const auto tenths = (std::max<Ms::rep>(left.count(), 0) + 99) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
}

LampState LampFor(const LampInputs& in) {
    LampState lamp;
    if (in.on_air) {
        lamp.colour = in.phase == RunPhase::KeyDelay ? LampColour::Amber : LampColour::Red;
        lamp.text = in.phase == RunPhase::KeyDelay ? "PTT DELAY" : "ON AIR";
    } else if (in.phase == RunPhase::Listening) {
        lamp.colour = LampColour::Amber;
        lamp.text = "LISTENING";
    } else if (in.sked_mode && in.phase == RunPhase::SkedWait) {
        lamp.colour = LampColour::Amber;
        lamp.text = "RECEIVE";
    }
    if (in.sked_mode && in.segment_seconds) {
        lamp.countdown = std::to_string(*in.segment_seconds) + " s";
    } else if (in.phase == RunPhase::Listening && in.receive_left) {
        lamp.countdown = TenthsText(*in.receive_left);
    }
    if (in.id_left) {
        lamp.id_text = *in.id_left > Ms{0} ? "ID " + IdCountdownText(*in.id_left) : "ID due";
    }
    return lamp;
}

}  // namespace parlomat
