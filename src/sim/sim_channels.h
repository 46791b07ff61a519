#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/audio/channel_ticker.h"
#include "core/audio/wave_channels.h"
#include "sim/sim_scheduler.h"
#include "sim/trace.h"

namespace parlomat {

/// Six wave channels in virtual time. Opening reads the real file's header (libsndfile); a play
/// lasts exactly the file's length; recording produces silence of the recorded length, which
/// SaveChannel writes as a real 16-bit PCM mono 8,000 Hz wave file. An edit reads the file's
/// samples (a recording's silence) and applies the real edit to them, so Trim changes the
/// length; once edited, the samples are what SaveChannel writes.
class SimChannels final : public WaveChannels {
  public:
    static constexpr int kSampleRate = 8000;

    SimChannels(SimScheduler& scheduler, Trace& trace, std::string station_dir);
    ~SimChannels() override;
    SimChannels(const SimChannels&) = delete;
    SimChannels& operator=(const SimChannels&) = delete;

    void set_listener(ChannelListener* listener) override { ticker_.set_listener(listener); }
    void PrepareChannels() override;
    void OpenChannel(int i, const std::string& path) override;
    OpenFailure LastOpenFailure(int i) const override { return channels_[i].failure; }
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
    /// A steady speaking level (-6 dBFS peak, -18 dBFS RMS) while a channel plays or records:
    /// the simulated files hold silence, but a meter should be seen to move.
    ChannelLevel Level(int i) const override;
    bool EditChannel(int i, SampleEdit edit) override;
    bool UndoEdit(int i) override;
    bool CanUndoEdit(int i) const override { return !channels_[i].undo.empty(); }

    /// Writes `ms` of silence as a 16-bit PCM mono 8,000 Hz wave file. False when it failed.
    static bool WriteSilence(const std::string& path, std::int64_t ms) {
        return WriteSound(path, ms, 0, 0);
    }
    /// The same with a steady tone at -6 dBFS from `sound_from` to `sound_to` ms (a spoken part).
    static bool WriteSound(const std::string& path, std::int64_t ms, std::int64_t sound_from,
                           std::int64_t sound_to);
    /// The length in ms of the wave file at `path`, or -1 when it does not open.
    static std::int64_t WaveLength(const std::string& path);
    /// The sound system goes away (true) or comes back: playing and recording channels stop at
    /// once, short of their end; opening, playing and recording fail while it is away.
    void set_audio_lost(bool lost);
    /// Why the file at `path` does not open as a message, or None when it does.
    static OpenFailure WaveFailure(const std::string& path);
    /// Period of channel `i`'s status updates in ms (0 = none).
    std::int16_t update_interval(int i) const { return ticker_.interval(i); }

  private:
    struct Channel {
        ChannelState mode = mode::kNotOpen;
        std::int32_t length = 0;    // ms
        std::int32_t position = 0;  // ms, while not running
        Ms started{0};              // virtual time the play or recording began
        OpenFailure failure = OpenFailure::None;
        Scheduler::CallbackId end_event = 0;
        std::string path;   // the file opened, empty after a recording
        bool held = false;  // samples hold the content (after the first edit)
        std::vector<float> samples;
        int rate = kSampleRate;                // of samples, Hz
        std::vector<std::vector<float>> undo;  // the content before each edit, latest last
    };

    void trace(int i, const std::string& what);
    void cancel_end(Channel& channel);
    void settle(Channel& channel);
    std::int32_t elapsed(const Channel& channel) const;
    /// Reads the channel's content into its samples, once.
    static void hold(Channel& channel);
    /// The content is new (opened, recorded, closed): no samples held, no edits to undo.
    static void forget_content(Channel& channel);

    SimScheduler& scheduler_;
    Trace& trace_;
    std::string station_dir_;
    ChannelTicker ticker_;
    bool audio_lost_ = false;
    std::array<Channel, kCount> channels_;
};

}  // namespace parlomat
