#include "core/keyer/clock_text.h"
#include "core/keyer/keyer.h"
#include "core/keyer/sked_segments.h"

namespace parlomat {

LampState Keyer::lamp() const {
    LampInputs in;
    in.on_air = ptt_.on_air();
    in.phase = phase_;
    in.sked_mode = sked_.fields().SkedMode;
    if (const auto due = tmrRcvWindow.next_due(); due && phase_ == RunPhase::Listening) {
        // The armed chunk's rest plus the chunks still to come.
        in.receive_left = *due - scheduler_.now() + Ms{static_cast<Ms::rep>(RcvRemainingMs)};
    }
    if (sked_.fields().SkedMode) {
        in.segment_seconds = SegmentSecondsLeft(clock_.fields().ClockText, prefs.NAMSTiming);
    }
    if (clock_.fields().IDDueTime) {
        in.id_left =
            std::chrono::duration_cast<Ms>(*clock_.fields().IDDueTime - scheduler_.local_now());
    }
    return LampFor(in);
}

bool Keyer::live() const {
    if (phase_ != RunPhase::Idle || PTTKeyed || ptt_.on_air()) {
        return true;
    }
    for (int i = 0; i < WaveChannels::kCount; ++i) {
        const ChannelState m = mci.ChannelMode(i);
        if (m == mode::kPlaying || m == mode::kRecording) {
            return true;
        }
    }
    return false;
}

ChannelLevel Keyer::MeterLevel() const {
    return mci.Level(ActiveMsg);
}

std::string Keyer::RecordingElapsedText() const {
    if (mci.ChannelMode(ActiveMsg) != mode::kRecording) {
        return {};
    }
    return MessageLengthText(Ms{mci.ChannelPosition(ActiveMsg)});
}

}  // namespace parlomat
