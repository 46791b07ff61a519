#include "sim/sim_channels.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "sim/station_paths.h"

namespace parlomat {

namespace {

std::int32_t ClampMs(std::int64_t ms) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(ms, 0, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t LengthMs(std::size_t frames, int rate) {
    return ClampMs((static_cast<std::int64_t>(frames) * 1000 + rate / 2) / rate);
}

/// The file's samples, its channels averaged into one; nothing when it does not read.
std::optional<std::vector<float>> ReadSamples(const std::string& path, int& rate) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return std::nullopt;
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
    const sf_count_t read = sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    if (read != info.frames || info.samplerate <= 0 || info.channels <= 0) {
        return std::nullopt;
    }
    std::vector<float> mono(static_cast<std::size_t>(info.frames));
    for (std::size_t f = 0; f < mono.size(); ++f) {
        float sum = 0.0f;
        for (int c = 0; c < info.channels; ++c) {
            sum +=
                frames[f * static_cast<std::size_t>(info.channels) + static_cast<std::size_t>(c)];
        }
        mono[f] = sum / static_cast<float>(info.channels);
    }
    rate = info.samplerate;
    return mono;
}

/// A new mono 16-bit WAV file at `rate` Hz, open for writing; nullptr when it cannot be made.
SNDFILE* CreateWave(const std::string& path, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    return sf_open(path.c_str(), SFM_WRITE, &info);
}

bool WriteSamples(const std::string& path, const std::vector<float>& samples, int rate) {
    SNDFILE* file = CreateWave(path, rate);
    if (file == nullptr) {
        return false;
    }
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

}  // namespace

SimChannels::SimChannels(SimScheduler& scheduler, Trace& trace, std::string station_dir)
    : scheduler_(scheduler),
      trace_(trace),
      station_dir_(std::move(station_dir)),
      ticker_(scheduler) {}

SimChannels::~SimChannels() {
    for (auto& channel : channels_) {
        cancel_end(channel);
    }
}

void SimChannels::trace(int i, const std::string& what) {
    trace_.event("channel " + std::to_string(i) + " " + what);
}

void SimChannels::cancel_end(Channel& channel) {
    if (channel.end_event != 0) {
        scheduler_.cancel(channel.end_event);
        channel.end_event = 0;
    }
}

std::int32_t SimChannels::elapsed(const Channel& channel) const {
    return ClampMs((scheduler_.now() - channel.started).count());
}

void SimChannels::settle(Channel& channel) {
    if (channel.mode == mode::kPlaying) {
        channel.position = std::min(elapsed(channel), channel.length);
        cancel_end(channel);
    } else if (channel.mode == mode::kRecording) {
        channel.position = elapsed(channel);
        channel.length = std::max(channel.length, channel.position);
    }
    if (channel.mode != mode::kNotOpen) {
        channel.mode = mode::kStopped;
    }
}

void SimChannels::PrepareChannels() {
    for (int i = 0; i < kCount; ++i) {
        SetUpdateInterval(i, 50);
    }
}

void SimChannels::OpenChannel(int i, const std::string& path) {
    trace(i, "open " + StationRelative(station_dir_, path));
    Channel& channel = channels_[i];
    cancel_end(channel);
    forget_content(channel);
    const std::int64_t length = WaveLength(path);
    channel.position = 0;
    channel.failure = audio_lost_ ? OpenFailure::NoDevice : WaveFailure(path);
    if (channel.failure != OpenFailure::None) {
        channel.mode = mode::kNotOpen;
        channel.length = 0;
        return;
    }
    channel.mode = mode::kStopped;
    channel.length = ClampMs(length);
    channel.path = path;
}

void SimChannels::CloseChannel(int i) {
    trace(i, "close");
    Channel& channel = channels_[i];
    cancel_end(channel);
    forget_content(channel);
    channel.mode = mode::kNotOpen;
    channel.length = 0;
    channel.position = 0;
}

void SimChannels::forget_content(Channel& channel) {
    channel.path.clear();
    channel.held = false;
    channel.samples = {};
    channel.rate = kSampleRate;
    channel.undo.clear();
}

void SimChannels::hold(Channel& channel) {
    if (channel.held) {
        return;
    }
    const auto read = channel.path.empty() ? std::nullopt : ReadSamples(channel.path, channel.rate);
    if (read) {
        channel.samples = *read;
    } else {
        channel.rate = kSampleRate;
        channel.samples.assign(static_cast<std::size_t>(channel.length) * kSampleRate / 1000, 0.0f);
    }
    channel.held = true;
}

bool SimChannels::EditChannel(int i, SampleEdit edit) {
    trace(i, edit == SampleEdit::Trim ? "edit trim" : "edit normalize");
    Channel& channel = channels_[i];
    if (channel.mode != mode::kStopped) {
        return false;
    }
    hold(channel);
    auto edited = ApplyEdit(edit, channel.samples, channel.rate);
    if (!edited) {
        return false;
    }
    channel.undo.push_back(std::exchange(channel.samples, std::move(*edited)));
    channel.length = LengthMs(channel.samples.size(), channel.rate);
    channel.position = 0;
    return true;
}

bool SimChannels::UndoEdit(int i) {
    trace(i, "undo");
    Channel& channel = channels_[i];
    if (channel.mode != mode::kStopped || channel.undo.empty()) {
        return false;
    }
    channel.samples = std::move(channel.undo.back());
    channel.undo.pop_back();
    channel.length = LengthMs(channel.samples.size(), channel.rate);
    channel.position = 0;
    return true;
}

ChannelLevel SimChannels::Level(int i) const {
    const ChannelState m = channels_[i].mode;
    if (m == mode::kPlaying || m == mode::kRecording) {
        return {.peak_dbfs = -6.0f, .rms_dbfs = -18.0f};
    }
    return {};
}

ChannelState SimChannels::ChannelMode(int i) const {
    return channels_[i].mode;
}

std::int32_t SimChannels::ChannelLength(int i) const {
    const Channel& channel = channels_[i];
    if (channel.mode == mode::kRecording) {
        return std::max(channel.length, elapsed(channel));
    }
    return channel.length;
}

std::int32_t SimChannels::ChannelPosition(int i) const {
    const Channel& channel = channels_[i];
    switch (channel.mode) {
        case mode::kPlaying:
            return std::min(elapsed(channel), channel.length);
        case mode::kRecording:
            return elapsed(channel);
        default:
            return channel.position;
    }
}

void SimChannels::SetUpdateInterval(int i, std::int16_t ms) {
    trace(i, "updates " + std::to_string(ms));
    ticker_.SetUpdateInterval(i, ms);
}

void SimChannels::PlayFromStart(int i) {
    trace(i, "play");
    Channel& channel = channels_[i];
    if (channel.mode == mode::kNotOpen) {
        return;
    }
    if (audio_lost_) {
        settle(channel);
        channel.position = 0;
        return;
    }
    settle(channel);
    channel.mode = mode::kPlaying;
    channel.position = 0;
    channel.started = scheduler_.now();
    channel.end_event = scheduler_.call_at(scheduler_.now() + Ms{channel.length}, [this, i] {
        Channel& ended = channels_[i];
        ended.end_event = 0;
        ended.mode = mode::kStopped;
        ended.position = ended.length;
        trace(i, "end");
    });
}

void SimChannels::StopChannel(int i) {
    trace(i, "stop");
    settle(channels_[i]);
}

void SimChannels::RecordChannel(int i) {
    trace(i, "record");
    Channel& channel = channels_[i];
    if (channel.mode == mode::kNotOpen || audio_lost_) {
        return;
    }
    settle(channel);
    forget_content(channel);
    channel.mode = mode::kRecording;
    channel.position = 0;
    channel.started = scheduler_.now();
}

void SimChannels::set_audio_lost(bool lost) {
    audio_lost_ = lost;
    if (!lost) {
        return;
    }
    for (auto& channel : channels_) {
        settle(channel);
    }
}

bool SimChannels::SaveChannel(int i, const std::string& path) {
    trace(i, "save " + StationRelative(station_dir_, path));
    Channel& channel = channels_[i];
    if (channel.mode == mode::kNotOpen) {
        return false;
    }
    if (!channel.path.empty()) {
        hold(channel);  // a file's own sound, not silence of its length
    }
    const bool written = channel.held ? WriteSamples(path, channel.samples, channel.rate)
                                      : WriteSilence(path, ChannelLength(i));
    if (written) {
        channel.undo.clear();  // the edits are in the file now
    }
    return written;
}

bool SimChannels::CreateEmptyWave(const std::string& path) {
    return WriteSilence(path, 0);
}

bool SimChannels::WriteSound(const std::string& path, std::int64_t ms, std::int64_t sound_from,
                             std::int64_t sound_to) {
    SNDFILE* file = CreateWave(path, kSampleRate);
    if (file == nullptr) {
        return false;
    }
    constexpr sf_count_t kChunk = kSampleRate / 10;
    constexpr short kTone = 16423;  // -6 dBFS
    const auto frame_at = [](std::int64_t at_ms) {
        return std::max<std::int64_t>(at_ms, 0) * kSampleRate / 1000;
    };
    const sf_count_t frames = frame_at(ms);
    const sf_count_t tone_from = frame_at(sound_from);
    const sf_count_t tone_to = frame_at(sound_to);
    std::vector<short> chunk(static_cast<std::size_t>(kChunk));
    bool ok = true;
    for (sf_count_t at = 0; ok && at < frames; at += kChunk) {
        const sf_count_t count = std::min(kChunk, frames - at);
        for (sf_count_t k = 0; k < count; ++k) {
            const bool sounding = at + k >= tone_from && at + k < tone_to;
            // A square wave: the sign alternates every 8 samples (500 Hz).
            chunk[static_cast<std::size_t>(k)] =
                static_cast<short>(sounding ? (((at + k) / 8) % 2 == 0 ? kTone : -kTone) : 0);
        }
        ok = sf_writef_short(file, chunk.data(), count) == count;
    }
    return sf_close(file) == 0 && ok;
}

OpenFailure SimChannels::WaveFailure(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return OpenFailure::NotFound;
    }
    if (!std::ifstream(path, std::ios::binary)) {
        return OpenFailure::Unreadable;
    }
    const std::int64_t length = WaveLength(path);
    if (length < 0) {
        return OpenFailure::NotSound;
    }
    if (length > std::chrono::milliseconds(kMaxMessageLength).count()) {
        return OpenFailure::TooLong;
    }
    return OpenFailure::None;
}

std::int64_t SimChannels::WaveLength(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return -1;
    }
    sf_close(file);
    if (info.samplerate <= 0) {
        return -1;
    }
    return (static_cast<std::int64_t>(info.frames) * 1000 + info.samplerate / 2) / info.samplerate;
}

}  // namespace parlomat
