#pragma once

#include <portaudio.h>
#include <QObject>
#include <QTimer>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/audio/wave_channels.h"
#include "platform/audio_devices.h"
#include "platform/audio_mixer.h"
#include "platform/audio_ring.h"
#include "platform/wave_file.h"

namespace parlomat {

/// Device choice and buffering of the audio engine.
struct AudioEngineOptions {
    std::string output_device;  ///< "AudioOut": a device name; empty = the default device
    std::string input_device;   ///< "AudioIn": a device name; empty = the default device
    /// Suggested output latency. 20 ms plays cleanly on a busy 2-core machine; 10 ms drops out.
    std::chrono::milliseconds latency{20};
    /// Frames per callback; 0 lets PortAudio choose for the latency.
    unsigned long frames_per_buffer = 0;
    /// A recording stops by itself at this length, so that every take loads back.
    std::chrono::milliseconds max_recording{kMaxWaveLength};
};

/// The six wave channels on PortAudio. One output stream is opened at construction and runs
/// until destruction (silence when idle), so a play starts within one buffer. An open checks the
/// file's header at once and decodes the whole file on a worker thread, converted to 16-bit
/// samples at the stream's rate (a play asked for before that ends starts when it does). A play
/// ends ("Stopped") only once the stream clock has passed the DAC time of its last sample.
/// Recording opens an input stream until StopChannel, or until the take reaches
/// `max_recording`: the engine then stops it as StopChannel would, and the channel's mode goes
/// from kRecording to kStopped with length and position at that limit. Without an output device
/// every channel stays kNotOpen.
class AudioEngine : public QObject, public WaveChannels {
    Q_OBJECT
  public:
    explicit AudioEngine(AudioEngineOptions options, QObject* parent = nullptr);
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

    bool has_output() const { return stream_ != nullptr; }
    /// Frames per second of the output stream (0 without one).
    int sample_rate() const { return rate_; }
    /// Output latency the running stream reports.
    std::chrono::microseconds output_latency() const;
    /// Output buffers rendered, and how many of them came too late (a dropout), since the
    /// stream opened.
    std::uint64_t buffers_rendered() const { return mixer_ ? mixer_->buffers() : 0; }
    std::uint64_t underflows() const { return underflows_.load(std::memory_order_relaxed); }
    /// The stream clock (s) in which DAC times are given; 0 without a stream.
    double stream_time() const;

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
    double record_first_adc() const;

    void set_listener(ChannelListener* listener) override;
    void PrepareChannels() override;
    void OpenChannel(int i, const std::string& path) override;
    OpenFailure LastOpenFailure(int i) const override;
    void CloseChannel(int i) override;
    std::int32_t ChannelMode(int i) const override;
    std::int32_t ChannelLength(int i) const override;
    std::int32_t ChannelPosition(int i) const override;
    void SetUpdateInterval(int i, std::int16_t ms) override;
    void PlayFromStart(int i) override;
    void StopChannel(int i) override;
    void RecordChannel(int i) override;
    bool SaveChannel(int i, const std::string& path) override;
    bool CreateEmptyWave(const std::string& path) override;

  private:
    enum class Activity { Idle, Playing, Recording };
    /// A file being decoded on a worker thread.
    struct DecodeJob {
        std::atomic<bool> cancel{false};
        std::optional<std::vector<std::int16_t>> result;  ///< written by the worker before it ends
        std::thread worker;
    };
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
        Activity activity = Activity::Idle;
        std::uint32_t play_id = 0;
        std::int32_t position_ms = 0;                  ///< while idle
        std::vector<float> recording;                  ///< at record_rate_, while recording
        std::size_t record_pos = 0;                    ///< next sample a recording writes
        std::chrono::milliseconds update_interval{0};  ///< 0: no status updates
        std::chrono::steady_clock::time_point update_due{};
    };
    struct Retired {
        std::shared_ptr<const std::vector<std::int16_t>> buffer;
        std::uint64_t seq = 0;  ///< free once the mixer has processed this command
    };

    static int OutputCallback(const void* input, void* output, unsigned long frames,
                              const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                              void* self);
    static int InputCallback(const void* input, void* output, unsigned long frames,
                             const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                             void* self);
    static void OutputFinished(void* self);

    bool valid(int i) const { return i >= 0 && i < kCount; }
    bool open_output();
    void close_output();
    void release_from_mixer(Channel& c, int i);
    void cancel_decode(Channel& c);
    void wait_for_decode(int i);
    void decode_finished(int i, const std::shared_ptr<DecodeJob>& job);
    void start_play(int i);
    void settle(int i) const;
    void end_recording(int i);
    void drain_recording();
    std::size_t record_limit() const;
    void status_tick();
    void schedule_status();
    void housekeeping();
    void update_housekeeping();
    void device_lost();
    std::int32_t ms_of(std::size_t frames, int rate) const;

    AudioEngineOptions options_;
    PortAudioSession session_;
    std::string notice_;
    std::function<void(const std::string&)> notice_handler_;
    ChannelListener* listener_ = nullptr;

    int output_device_ = -1;
    int input_device_ = -1;
    PaStream* stream_ = nullptr;
    int out_channels_ = 1;
    int rate_ = 0;
    std::unique_ptr<AudioMixer> mixer_;
    std::atomic<bool> output_finished_{false};
    std::atomic<std::uint64_t> underflows_{0};
    std::uint64_t watched_buffers_ = 0;
    std::chrono::steady_clock::time_point watched_since_{};

    PaStream* input_stream_ = nullptr;
    std::atomic<bool> record_started_{false};
    std::atomic<double> record_first_adc_{0};
    int recording_channel_ = -1;
    int record_rate_ = 0;
    AudioRing<float> record_ring_{1u << 21};
    std::atomic<bool> record_overflow_{false};

    std::uint32_t next_play_id_ = 1;
    mutable std::array<Channel, kCount> channels_;
    std::vector<Retired> retired_;
    /// One timer serves every channel's status updates, set for the earliest one due.
    QTimer status_timer_;
    /// Runs only while a channel plays or records, or a stopped buffer waits for the mixer.
    QTimer housekeeping_timer_;
};

}  // namespace parlomat
