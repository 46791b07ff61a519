#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/audio_ring.h"

namespace parlomat {

/// The audio-callback side of the wave channels: six voices mixed into one output stream.
/// The UI thread sends commands through a lock-free ring; the audio thread renders and
/// publishes each play's progress through atomics. `render` takes no lock, allocates nothing
/// and does no I/O. Sample buffers handed to `play` stay owned by the caller, who keeps them
/// alive until `processed()` has reached the sequence number of a later `stop` of that voice.
class AudioMixer {
  public:
    static constexpr int kVoices = 6;

    /// What the audio thread has published about one play.
    struct PlayReport {
        bool started = false;   ///< the first sample is in an output buffer
        double first_dac = 0;   ///< stream time (s) the first sample reaches the DAC
        bool finished = false;  ///< the last sample is in an output buffer
        double end_dac = 0;     ///< stream time (s) the last sample has left the DAC
    };

    explicit AudioMixer(double sample_rate);
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    double sample_rate() const { return rate_; }

    /// Peak and RMS (linear, 0..1) of a voice's samples in the latest buffer it sounded in.
    struct Level {
        float peak = 0;
        float rms = 0;
    };

    /// UI thread: starts `voice` on `frames` mono 16-bit samples (replacing what it played),
    /// tagged `play_id` (non-zero, new for each play). With `start_dac` > 0 the first sample
    /// reaches the DAC at that stream time (s), to the frame and never earlier; a time already
    /// past starts it at once. False when the command ring is full.
    bool play(int voice, const std::int16_t* samples, std::size_t frames, std::uint32_t play_id,
              double start_dac = 0);
    /// UI thread: silences `voice` at the next buffer. False when the command ring is full.
    bool stop(int voice);
    /// UI thread: sequence number of the last command sent (0 = none yet).
    std::uint64_t sent() const { return sent_; }
    /// Any thread: sequence number of the last command the audio thread has applied.
    std::uint64_t processed() const { return processed_.load(std::memory_order_acquire); }
    /// Any thread: what is known of play `play_id` on `voice`.
    PlayReport report(int voice, std::uint32_t play_id) const;
    /// Any thread: the level of `voice` in its latest buffer.
    Level level(int voice) const;
    /// Any thread: the number of buffers rendered so far.
    std::uint64_t buffers() const { return buffers_.load(std::memory_order_relaxed); }

    /// Audio thread: fills `frames` frames of `channels` interleaved samples whose first frame
    /// reaches the DAC at stream time `dac_time` (s). Every channel carries the same mono mix,
    /// a sample k playing as k / 32768.
    void render(float* out, std::size_t frames, int channels, double dac_time);

  private:
    struct Command {
        enum class Kind : std::uint8_t { Play, Stop };
        Kind kind = Kind::Stop;
        std::uint8_t voice = 0;
        std::uint32_t play_id = 0;
        const std::int16_t* samples = nullptr;
        std::size_t frames = 0;
        double start_dac = 0;
        std::uint64_t seq = 0;
    };
    struct Voice {
        const std::int16_t* samples = nullptr;
        std::size_t frames = 0;
        std::size_t pos = 0;
        std::uint32_t play_id = 0;
        double start_dac = 0;  ///< > 0 until the first sample is placed
    };
    struct Published {
        std::atomic<std::uint32_t> started_id{0};
        std::atomic<double> first_dac{0};
        std::atomic<std::uint32_t> finished_id{0};
        std::atomic<double> end_dac{0};
        std::atomic<float> peak{0};
        std::atomic<float> rms{0};
    };

    bool send(Command command);
    void apply_commands();

    double rate_;
    AudioRing<Command> commands_{64};
    std::uint64_t sent_ = 0;
    std::atomic<std::uint64_t> processed_{0};
    std::atomic<std::uint64_t> buffers_{0};
    std::array<Voice, kVoices> voices_{};
    std::array<Published, kVoices> published_{};
};

}  // namespace parlomat
