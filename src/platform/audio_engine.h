#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/audio/channel_ticker.h"
#include "core/audio/wave_channels.h"
#include "core/runtime/scheduler.h"
#include "platform/audio_devices.h"
#include "platform/audio_recorder.h"
#include "platform/decode_worker.h"
#include "platform/output_stream.h"
#include "platform/wave_file.h"

namespace parlomat {

/// Device choice, buffering and idling of the audio engine.
struct AudioEngineOptions {
    std::string output_device;  ///< "AudioOut": a device name; empty = the default device
    std::string input_device;   ///< "AudioIn": a device name; empty = the default device
    /// Suggested output latency; 0 takes the device's own low-latency default (at least 20 ms).
    std::chrono::milliseconds latency{0};
    /// Frames per callback; 0 lets PortAudio choose for the latency.
    unsigned long frames_per_buffer = 0;
    /// "Audio Idle": the output stream stops after this long with nothing played or recorded,
    /// and starts again at the next key-down or play; 0 keeps it running.
    std::chrono::seconds idle_stop{60};
    /// A recording stops by itself at this length, so that every take loads back.
    std::chrono::milliseconds max_recording{kMaxWaveLength};
};

/// The six wave channels on PortAudio: the channel set. The output stream (OutputStream) opens
/// at construction; a play asked for ahead (ScheduleStart) starts at its DAC time to the frame.
/// An open checks the file's header at once and decodes it on the one decode worker (a play
/// asked for before that ends starts when it does). A play ends ("Stopped") only once the
/// stream clock has passed the DAC time of its last sample. Recording uses an AudioRecorder
/// until StopChannel, or until the take reaches `max_recording`: the engine then stops it as
/// StopChannel would (kRecording to kStopped, length and position at that limit). Progress
/// notifications come from a ChannelTicker, and every periodic check from the scheduler. Without an
/// output device every channel stays kNotOpen.
class AudioEngine : public WaveChannels {
  public:
    AudioEngine(AudioEngineOptions options, Scheduler& scheduler);
    ~AudioEngine() override;
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    /// Device names for the preferences dialog.
    static std::vector<std::string> OutputDeviceNames();
    static std::vector<std::string> InputDeviceNames();

    /// A text for the operator about the devices chosen at start-up (empty when all is well).
    const std::string& notice() const { return notice_; }
    /// Receives texts for the operator about events later on (a device lost), on the UI thread.
    void set_notice_handler(std::function<void(const std::string&)> handler);

    bool has_output() const { return output_ && output_->is_open(); }
    /// The output stream is stopped while idle.
    bool suspended() const { return has_output() && output_->suspended(); }
    /// Frames per second of the output stream (0 without one).
    int sample_rate() const { return has_output() ? output_->rate() : 0; }
    /// Output latency the running stream reports.
    std::chrono::microseconds output_latency() const;
    /// Output buffers rendered, and how many of them came too late (a dropout), since the
    /// stream opened.
    std::uint64_t buffers_rendered() const;
    std::uint64_t underflows() const { return has_output() ? output_->underflows() : 0; }
    /// The stream clock (s) in which DAC times are given; 0 without a stream.
    double stream_time() const { return has_output() ? output_->time() : 0.0; }

    /// DAC times of channel i's latest play, in stream time (s).
    struct PlayTimes {
        bool started = false;
        double first_dac = 0;  ///< the first sample reaches the DAC
        bool finished = false;
        double end_dac = 0;  ///< the last sample has left the DAC
    };
    PlayTimes play_times(int i) const;
    /// Stream time (s) the first sample of the running or latest recording was captured;
    /// 0 when none has arrived yet.
    double record_first_adc() const { return recorder_.first_adc(); }

    void set_listener(ChannelListener* listener) override { ticker_.set_listener(listener); }
    void PrepareChannels() override;
    void OpenChannel(int i, const std::string& path) override;
    OpenFailure LastOpenFailure(int i) const override;
    void CloseChannel(int i) override;
    ChannelState ChannelMode(int i) const override;
    std::int32_t ChannelLength(int i) const override;
    std::int32_t ChannelPosition(int i) const override;
    void SetUpdateInterval(int i, std::int16_t ms) override;
    void PlayFromStart(int i) override;
    void StopChannel(int i) override;
    void RecordChannel(int i) override;
    bool SaveChannel(int i, const std::string& path) override;
    bool CreateEmptyWave(const std::string& path) override;
    ChannelLevel Level(int i) const override;
    bool EditChannel(int i, SampleEdit edit) override;
    bool UndoEdit(int i) override;
    bool CanUndoEdit(int i) const override { return valid(i) && !channel(i).undo.empty(); }
    void Wake() override;
    void ScheduleStart(int i, Ms due) override;
    void SetIdleStop(std::chrono::seconds idle) override;

  private:
    enum class Activity { Idle, Playing, Recording };
    struct Channel {
        bool open = false;
        OpenFailure failure = OpenFailure::None;  ///< of the latest OpenChannel
        std::string path;
        /// The content as 16-bit samples at the stream's rate; nullptr while the file is still
        /// being decoded.
        std::shared_ptr<const std::vector<std::int16_t>> play_buffer;
        std::shared_ptr<DecodeJob> decoding;
        std::int32_t header_length_ms = 0;  ///< while decoding
        bool play_pending = false;          ///< PlayFromStart came before the decode ended
        bool in_mixer = false;              ///< the mixer may still read play_buffer
        /// The mixer holds a play sent ahead by ScheduleStart that PlayFromStart has not yet
        /// confirmed.
        bool scheduled = false;
        double start_dac = 0;  ///< stream time (s) the next play is due at the DAC; 0 = at once
        double due_dac = 0;    ///< the due time the running play was sent with; 0 = at once
        Activity activity = Activity::Idle;
        std::uint32_t play_id = 0;
        std::int32_t position_ms = 0;  ///< while idle
        std::vector<float> recording;  ///< at the recorder's rate, while recording
        std::size_t record_pos = 0;    ///< next sample a recording writes
        /// The content before each edit not yet undone, latest last; emptied by open, record,
        /// save and close.
        std::vector<std::shared_ptr<const std::vector<std::int16_t>>> undo;
    };
    struct Retired {
        std::shared_ptr<const std::vector<std::int16_t>> buffer;
        std::uint64_t seq = 0;  ///< free once the mixer has processed this command
    };

    static bool valid(int i) { return i >= 0 && i < kCount; }
    Channel& channel(int i) { return channels_[static_cast<std::size_t>(i)]; }
    const Channel& channel(int i) const { return channels_[static_cast<std::size_t>(i)]; }
    void release_from_mixer(Channel& c, int i);
    /// Forgets every schedule but channel `except`'s: only the slot about to play may wait.
    void cancel_schedules(int except);
    void decode_finished(const std::shared_ptr<DecodeJob>& job);
    void wait_for_decode(int i);
    bool send_play(int i, double start_dac);
    bool ensure_running();
    /// The play of channel `i` has been heard to its last sample (the state not yet updated).
    bool play_over(int i) const;
    void settle(int i);
    void end_recording(int i);
    /// The longest take in samples at `rate`.
    std::size_t record_limit(int rate) const;
    bool busy() const;
    /// Channel `i` is open, decoded and silent: its content may be replaced.
    bool editable(int i);
    void replace_content(int i, std::shared_ptr<const std::vector<std::int16_t>> content);
    void watch();
    void housekeeping();
    void arm_idle_stop();
    void device_lost();
    std::int32_t ms_of(std::size_t frames, int rate) const;

    AudioEngineOptions options_;
    Scheduler& scheduler_;
    PortAudioSession session_;
    std::string notice_;
    std::function<void(const std::string&)> notice_handler_;
    ChannelTicker ticker_;

    std::unique_ptr<OutputStream> output_;
    AudioRecorder recorder_;
    int recording_channel_ = -1;
    std::uint64_t watched_buffers_ = 0;
    Ms watched_since_{0};
    std::uint64_t reported_underflows_ = 0;

    std::uint32_t next_play_id_ = 1;
    std::array<Channel, kCount> channels_;
    std::vector<Retired> retired_;
    /// Runs only while a channel plays, records or waits for its start, or a stopped buffer
    /// waits for the mixer.
    Scheduler::CallbackId housekeeping_ = 0;
    Scheduler::CallbackId idle_stop_ = 0;
    DecodeWorker decoder_;
};

}  // namespace parlomat
