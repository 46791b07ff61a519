// AudioEngine: plays, scheduled starts and stops, and when a play counts as heard.
#include "platform/audio_engine.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace parlomat {
namespace {

/// "Stopped" waits past the last sample's DAC time by the stream's output latency, at least
/// this: the device's estimate of its delay may be off, and an unkey must never clip the tail.
/// PulseAudio's is good to a few milliseconds; PipeWire's (0.3.65) leaves out up to 13 ms
/// seen at the sink's monitor, within one output latency.
constexpr double kMinTailGuardSeconds = 0.005;

/// A scheduled start lands this much after its due time: the scheduler's clock counts whole
/// milliseconds, and a start must never come early.
constexpr double kScheduleMarginSeconds = 0.001;

}  // namespace

void AudioEngine::release_from_mixer(Channel& c, int i) {
    c.scheduled = false;
    if (!c.in_mixer) {
        return;
    }
    c.in_mixer = false;
    if (!has_output()) {
        return;
    }
    AudioMixer& mixer = *output_->mixer();
    // When the stop cannot be sent the buffer stays retired until the stream is closed.
    const bool sent = mixer.stop(i);
    retired_.push_back(
        Retired{c.play_buffer, sent ? mixer.sent() : std::numeric_limits<std::uint64_t>::max()});
    watch();
}

void AudioEngine::cancel_schedules(int except) {
    for (int k = 0; k < kCount; ++k) {
        Channel& c = channel(k);
        if (k == except) {
            continue;
        }
        c.start_dac = 0;
        if (c.scheduled) {
            release_from_mixer(c, k);
        }
    }
}

bool AudioEngine::play_over(int i) const {
    const Channel& c = channel(i);
    if (c.activity != Activity::Playing || c.play_pending || !has_output()) {
        return false;
    }
    const AudioMixer::PlayReport r = output_->mixer()->report(i, c.play_id);
    const double guard =
        std::max(kMinTailGuardSeconds, std::chrono::duration<double>(output_->latency()).count());
    return r.finished && output_->time() >= r.end_dac + guard;
}

void AudioEngine::settle(int i) {
    Channel& c = channel(i);
    if (c.activity != Activity::Playing) {
        return;
    }
    if (!has_output()) {
        c.activity = Activity::Idle;
    } else if (play_over(i)) {
        c.activity = Activity::Idle;
        c.position_ms = ms_of(c.play_buffer ? c.play_buffer->size() : 0, output_->rate());
    }
}

bool AudioEngine::ensure_running() {
    scheduler_.cancel(idle_stop_);
    idle_stop_ = 0;
    if (!output_) {
        return false;
    }
    // A device lost earlier is tried again.
    if (!output_->is_open()) {
        return output_->open();
    }
    return output_->resume();
}

void AudioEngine::Wake() {
    ensure_running();
    arm_idle_stop();
}

void AudioEngine::ScheduleStart(int i, Ms due) {
    if (!valid(i) || !ensure_running()) {
        return;
    }
    cancel_schedules(i);
    settle(i);
    Channel& c = channel(i);
    if (!c.open || c.activity != Activity::Idle) {
        return;
    }
    c.start_dac = output_->time() + std::chrono::duration<double>(due - scheduler_.now()).count() +
                  kScheduleMarginSeconds;
    // Sent ahead, so the mixer places the first sample itself; a file still decoding starts
    // when its decode ends.
    if (c.play_buffer && send_play(i, c.start_dac)) {
        c.scheduled = true;
    }
    watch();
}

void AudioEngine::PlayFromStart(int i) {
    if (!valid(i)) {
        return;
    }
    Channel& c = channel(i);
    if (!c.open) {
        return;
    }
    if (c.activity == Activity::Recording) {
        end_recording(i);
    }
    settle(i);
    cancel_schedules(i);
    if (!ensure_running()) {
        return;
    }
    if (c.scheduled) {
        // The play is already in the mixer, due at its time.
        c.scheduled = false;
        c.activity = Activity::Playing;
        c.position_ms = 0;
        watch();
        return;
    }
    if (c.activity == Activity::Playing) {
        release_from_mixer(c, i);
    }
    c.activity = Activity::Playing;
    c.position_ms = 0;
    if (c.decoding) {
        c.play_pending = true;
        watch();
        return;
    }
    if (!send_play(i, 0)) {
        c.activity = Activity::Idle;
    }
}

bool AudioEngine::send_play(int i, double start_dac) {
    Channel& c = channel(i);
    if (!has_output() || !c.play_buffer) {
        return false;
    }
    const std::uint32_t id = next_play_id_++;
    if (next_play_id_ == 0) {
        next_play_id_ = 1;
    }
    if (!output_->mixer()->play(i, c.play_buffer->data(), c.play_buffer->size(), id, start_dac)) {
        return false;
    }
    c.in_mixer = true;
    c.play_id = id;
    c.due_dac = start_dac;
    c.start_dac = 0;
    watch();
    return true;
}

void AudioEngine::StopChannel(int i) {
    if (!valid(i)) {
        return;
    }
    Channel& c = channel(i);
    if (c.activity == Activity::Recording) {
        end_recording(i);
        return;
    }
    // Only the end of a sound counts as activity: a Stop of an idle channel (an interrupt line
    // held asserted stops every clock tick) must not keep the stream running.
    const bool sounding = c.activity == Activity::Playing || c.scheduled;
    if (c.activity == Activity::Playing) {
        c.position_ms = ChannelPosition(i);
        c.activity = Activity::Idle;
    }
    c.play_pending = false;
    c.start_dac = 0;
    release_from_mixer(c, i);
    if (sounding) {
        arm_idle_stop();
    }
}

}  // namespace parlomat
