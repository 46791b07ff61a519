#include "platform/audio_mixer.h"

#include <algorithm>
#include <cmath>

namespace parlomat {
namespace {

/// Full scale of a 16-bit sample; a power of two, so the conversion is exact.
constexpr float kScale = 1.0f / 32768.0f;

}  // namespace

AudioMixer::AudioMixer(double sample_rate) : rate_(sample_rate) {}

bool AudioMixer::send(Command command) {
    command.seq = sent_ + 1;
    if (!commands_.push(command)) {
        return false;
    }
    sent_ = command.seq;
    return true;
}

bool AudioMixer::play(int voice, const std::int16_t* samples, std::size_t frames,
                      std::uint32_t play_id, double start_dac) {
    if (voice < 0 || voice >= kVoices || play_id == 0) {
        return false;
    }
    Command command;
    command.kind = Command::Kind::Play;
    command.voice = static_cast<std::uint8_t>(voice);
    command.play_id = play_id;
    command.samples = samples;
    command.frames = samples == nullptr ? 0 : frames;
    command.start_dac = start_dac;
    return send(command);
}

bool AudioMixer::stop(int voice) {
    if (voice < 0 || voice >= kVoices) {
        return false;
    }
    Command command;
    command.kind = Command::Kind::Stop;
    command.voice = static_cast<std::uint8_t>(voice);
    return send(command);
}

AudioMixer::PlayReport AudioMixer::report(int voice, std::uint32_t play_id) const {
    PlayReport r;
    if (voice < 0 || voice >= kVoices || play_id == 0) {
        return r;
    }
    const Published& p = published_[static_cast<std::size_t>(voice)];
    // The ids are stored after the times they guard (release), so reading an id first
    // (acquire) makes the time that goes with it visible.
    if (p.started_id.load(std::memory_order_acquire) == play_id) {
        r.started = true;
        r.first_dac = p.first_dac.load(std::memory_order_relaxed);
    }
    if (p.finished_id.load(std::memory_order_acquire) == play_id) {
        r.finished = true;
        r.end_dac = p.end_dac.load(std::memory_order_relaxed);
    }
    return r;
}

AudioMixer::Level AudioMixer::level(int voice) const {
    if (voice < 0 || voice >= kVoices) {
        return {};
    }
    const Published& p = published_[static_cast<std::size_t>(voice)];
    return Level{p.peak.load(std::memory_order_relaxed), p.rms.load(std::memory_order_relaxed)};
}

void AudioMixer::apply_commands() {
    Command command;
    while (commands_.pop(command)) {
        Voice& v = voices_[static_cast<std::size_t>(command.voice)];
        if (command.kind == Command::Kind::Play) {
            v = Voice{command.samples, command.frames, 0, command.play_id, command.start_dac};
        } else {
            v = Voice{};
        }
        processed_.store(command.seq, std::memory_order_release);
    }
}

void AudioMixer::render(float* out, std::size_t frames, int channels, double dac_time) {
    apply_commands();
    const auto width = static_cast<std::size_t>(channels < 1 ? 1 : channels);
    std::fill(out, out + frames * width, 0.0f);
    int sounding = 0;
    for (std::size_t k = 0; k < voices_.size(); ++k) {
        Voice& v = voices_[k];
        if (v.play_id == 0) {
            continue;
        }
        Published& p = published_[k];
        // A scheduled first sample goes into the frame whose DAC time is the first at or after
        // its due time.
        std::size_t offset = 0;
        if (v.pos == 0 && v.start_dac > 0) {
            const double ahead = std::ceil((v.start_dac - dac_time) * rate_ - 1e-6);
            if (ahead >= static_cast<double>(frames)) {
                continue;
            }
            offset = ahead > 0 ? static_cast<std::size_t>(ahead) : 0;
        }
        ++sounding;
        if (v.pos == 0) {
            p.first_dac.store(dac_time + static_cast<double>(offset) / rate_,
                              std::memory_order_relaxed);
            p.started_id.store(v.play_id, std::memory_order_release);
        }
        const std::size_t n = std::min(frames - offset, v.frames - v.pos);
        float peak = 0;
        float squares = 0;
        for (std::size_t f = 0; f < n; ++f) {
            const float s = static_cast<float>(v.samples[v.pos + f]) * kScale;
            peak = std::max(peak, std::fabs(s));
            squares += s * s;
            for (std::size_t c = 0; c < width; ++c) {
                out[(offset + f) * width + c] += s;
            }
        }
        p.peak.store(peak, std::memory_order_relaxed);
        p.rms.store(n > 0 ? std::sqrt(squares / static_cast<float>(n)) : 0.0f,
                    std::memory_order_relaxed);
        v.pos += n;
        if (v.pos == v.frames) {
            // The samples leave back to back: the last one is never heard before the first
            // one's time plus the length, even when the device's delay estimate has shrunk
            // since the first buffer (PipeWire's moves by milliseconds within a play).
            const double back_to_back =
                p.first_dac.load(std::memory_order_relaxed) + static_cast<double>(v.frames) / rate_;
            p.end_dac.store(
                std::max(dac_time + static_cast<double>(offset + n) / rate_, back_to_back),
                std::memory_order_relaxed);
            p.finished_id.store(v.play_id, std::memory_order_release);
            v = Voice{};
        }
    }
    // One voice stays within -1..1 by itself: only a mix needs clipping, and silence (most
    // buffers, the stream runs all day) costs no more than the fill.
    if (sounding > 1) {
        for (std::size_t i = 0; i < frames * width; ++i) {
            out[i] = std::clamp(out[i], -1.0f, 1.0f);
        }
    }
    buffers_.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace parlomat
