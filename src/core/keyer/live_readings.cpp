#include "core/keyer/clock_text.h"
#include "core/keyer/keyer.h"
#include "core/keyer/sked_segments.h"

namespace parlomat {

LampState Keyer::lamp() const {
    LampInputs in;
    in.on_air = ptt_.on_air();
    in.phase = sequencer_.phase();
    in.sked_mode = sked_.fields().SkedMode;
    in.receive_left = sequencer_.ReceiveLeft();
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
    if (sequencer_.phase() != RunPhase::Idle || PTTKeyed || ptt_.on_air()) {
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
    return mci.Level(slots_.fields().ActiveMsg);
}

std::string Keyer::RecordingElapsedText() const {
    if (mci.ChannelMode(slots_.fields().ActiveMsg) != mode::kRecording) {
        return {};
    }
    return MessageLengthText(Ms{mci.ChannelPosition(slots_.fields().ActiveMsg)});
}

}  // namespace parlomat
