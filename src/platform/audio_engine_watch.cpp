// AudioEngine: the housekeeping while a channel is busy, the idle stop and a lost device.
#include "platform/audio_engine.h"

#include <algorithm>
#include <limits>

#include "platform/log_categories.h"

namespace parlomat {
namespace {

constexpr Ms kHousekeepingPeriod{20};

/// A running stream that renders nothing for this long while a channel plays is taken as a
/// device that has gone away (a null or network sink may pause for a second or two).
constexpr Ms kStallLimit{2500};

/// A scheduled play the stream has not begun this long after its due time (a device that came
/// back with a clock of its own) is started at once instead.
constexpr double kScheduleOverdueSeconds = 0.5;

constexpr const char* kLostNotice = "Sound device lost";

}  // namespace

bool AudioEngine::busy() const {
    // A buffer whose stop could not be sent stays retired until the stream closes: no need to
    // watch for it.
    const bool retired = std::any_of(retired_.begin(), retired_.end(), [](const Retired& r) {
        return r.seq != std::numeric_limits<std::uint64_t>::max();
    });
    return retired || recording_channel_ >= 0 ||
           std::any_of(channels_.begin(), channels_.end(), [](const Channel& c) {
               return c.activity != Activity::Idle || c.scheduled || c.play_pending;
           });
}

void AudioEngine::watch() {
    if (housekeeping_ != 0 || !busy()) {
        return;
    }
    watched_buffers_ = buffers_rendered();
    watched_since_ = scheduler_.now();
    housekeeping_ = scheduler_.call_at(scheduler_.now() + kHousekeepingPeriod, [this] {
        housekeeping_ = 0;
        housekeeping();
    });
}

void AudioEngine::housekeeping() {
    if (recording_channel_ >= 0) {
        Channel& c = channel(recording_channel_);
        const std::size_t limit = record_limit(recorder_.rate());
        recorder_.drain(c.recording, c.record_pos, limit);
        if (c.record_pos >= limit) {
            // The longest take that Load accepts: stopped here as StopChannel would.
            end_recording(recording_channel_);
        }
    }
    if (has_output()) {
        const std::uint64_t done = output_->mixer()->processed();
        std::erase_if(retired_, [done](const Retired& r) { return r.seq <= done; });
    }
    bool playing = false;
    for (int i = 0; i < kCount; ++i) {
        Channel& c = channel(i);
        if (c.activity == Activity::Playing && c.in_mixer && c.due_dac > 0 && has_output() &&
            !output_->mixer()->report(i, c.play_id).started &&
            output_->time() > c.due_dac + kScheduleOverdueSeconds) {
            qCWarning(lcAudio, "a play due at the DAC did not begin: started at once");
            release_from_mixer(c, i);
            if (!send_play(i, 0)) {
                c.activity = Activity::Idle;
            }
        }
        settle(i);
        playing = playing || channel(i).activity == Activity::Playing;
    }
    if (has_output()) {
        const Ms now = scheduler_.now();
        const std::uint64_t buffers = buffers_rendered();
        if (buffers != watched_buffers_) {
            watched_buffers_ = buffers;
            watched_since_ = now;
        }
        if (const std::uint64_t late = output_->underflows(); late != reported_underflows_) {
            qCWarning(lcAudio, "dropout: %llu late output buffer(s), %llu in all",
                      static_cast<unsigned long long>(late - reported_underflows_),
                      static_cast<unsigned long long>(late));
            reported_underflows_ = late;
        }
        const bool stalled = playing && now - watched_since_ > kStallLimit;
        if (output_->finished() || stalled) {
            device_lost();
            return;
        }
    }
    if (busy()) {
        housekeeping_ = scheduler_.call_at(scheduler_.now() + kHousekeepingPeriod, [this] {
            housekeeping_ = 0;
            housekeeping();
        });
    } else {
        arm_idle_stop();
    }
}

void AudioEngine::arm_idle_stop() {
    scheduler_.cancel(idle_stop_);
    idle_stop_ = 0;
    if (options_.idle_stop.count() <= 0 || !has_output() || output_->suspended()) {
        return;
    }
    idle_stop_ = scheduler_.call_at(scheduler_.now() + options_.idle_stop, [this] {
        idle_stop_ = 0;
        if (busy()) {
            qCDebug(lcAudio, "idle stop put off: a channel is busy");
            return;  // the end of whatever runs arms it again
        }
        output_->suspend();
    });
}

void AudioEngine::SetIdleStop(std::chrono::seconds idle) {
    if (idle == options_.idle_stop) {
        return;
    }
    qCInfo(lcAudio, "audio idle stop: %lld s", static_cast<long long>(idle.count()));
    options_.idle_stop = idle;
    if (idle.count() <= 0) {
        // Always on from now: a suspended stream starts again.
        ensure_running();
        return;
    }
    if (!busy()) {
        arm_idle_stop();  // the new time counts from now
    }
}

void AudioEngine::device_lost() {
    qCWarning(lcAudio, "output device \"%s\" lost%s", output_->device_name().c_str(),
              output_->finished() ? " (the stream ended)" : " (no buffer rendered for 2.5 s)");
    for (int i = 0; i < kCount; ++i) {
        Channel& c = channel(i);
        if (c.activity == Activity::Playing) {
            c.position_ms = ChannelPosition(i);
            c.activity = Activity::Idle;
        }
        c.in_mixer = false;
        c.scheduled = false;
        c.play_pending = false;
    }
    retired_.clear();
    output_->close();
    if (notice_handler_) {
        notice_handler_(kLostNotice);
    }
}

}  // namespace parlomat
