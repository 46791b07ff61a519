// AudioEngine: the devices, opening and closing channels, and what a channel reports.
#include "platform/audio_engine.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/log_categories.h"
#include "platform/wave_file.h"

namespace parlomat {
namespace {

constexpr std::int16_t kPreparedInterval = 50;
constexpr const char* kFallbackNotice = "Sound device not found: using the default";
constexpr const char* kNoDeviceNotice = "No sound device: messages cannot be played";

/// Why a file the channel refused does not open.
OpenFailure OpenFailureOf(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return OpenFailure::NotFound;
    }
    if (!std::ifstream(path, std::ios::binary)) {
        return OpenFailure::Unreadable;
    }
    // A header that reads with no length limit belongs to a file that is only too long.
    constexpr std::chrono::seconds kAnyLength = std::chrono::hours(24 * 366);
    return ProbeWave(path, kAnyLength) ? OpenFailure::TooLong : OpenFailure::NotSound;
}

float Dbfs(float linear) {
    return linear > 0 ? 20.0f * std::log10(linear) : -std::numeric_limits<float>::infinity();
}

}  // namespace

AudioEngine::AudioEngine(AudioEngineOptions options, Scheduler& scheduler)
    : options_(std::move(options)),
      scheduler_(scheduler),
      ticker_(scheduler),
      recorder_(session_.ok() ? FindAudioDevice(options_.input_device, AudioDirection::Input).index
                              : -1),
      decoder_([this](const std::shared_ptr<DecodeJob>& job) { decode_finished(job); }) {
    if (!session_.ok()) {
        notice_ = kNoDeviceNotice;
        return;
    }
    const AudioDeviceChoice out = FindAudioDevice(options_.output_device, AudioDirection::Output);
    const AudioDeviceChoice in = FindAudioDevice(options_.input_device, AudioDirection::Input);
    if (out.fell_back || in.fell_back) {
        notice_ = kFallbackNotice;
        qCWarning(lcAudio, "sound device \"%s\" not found: using the default",
                  (out.fell_back ? options_.output_device : options_.input_device).c_str());
    }
    output_ =
        std::make_unique<OutputStream>(out.index, options_.latency, options_.frames_per_buffer);
    if (!output_->open()) {
        notice_ = kNoDeviceNotice;
        return;
    }
    arm_idle_stop();
}

AudioEngine::~AudioEngine() {
    scheduler_.cancel(housekeeping_);
    scheduler_.cancel(idle_stop_);
    for (Channel& c : channels_) {
        if (c.decoding) {
            c.decoding->cancel.store(true);
        }
    }
    recorder_.stop();
    output_.reset();
}

std::vector<std::string> AudioEngine::OutputDeviceNames() {
    PortAudioSession session;
    return session.ok() ? AudioDeviceNames(AudioDirection::Output) : std::vector<std::string>{};
}

std::vector<std::string> AudioEngine::InputDeviceNames() {
    PortAudioSession session;
    return session.ok() ? AudioDeviceNames(AudioDirection::Input) : std::vector<std::string>{};
}

void AudioEngine::set_notice_handler(std::function<void(const std::string&)> handler) {
    notice_handler_ = std::move(handler);
}

std::chrono::microseconds AudioEngine::output_latency() const {
    return has_output() ? output_->latency() : std::chrono::microseconds{0};
}

std::uint64_t AudioEngine::buffers_rendered() const {
    return has_output() && output_->mixer() != nullptr ? output_->mixer()->buffers() : 0;
}

AudioEngine::PlayTimes AudioEngine::play_times(int i) const {
    PlayTimes t;
    if (!valid(i) || !has_output()) {
        return t;
    }
    const AudioMixer::PlayReport r = output_->mixer()->report(i, channel(i).play_id);
    t.started = r.started;
    t.first_dac = r.first_dac;
    t.finished = r.finished;
    t.end_dac = r.end_dac;
    return t;
}

void AudioEngine::PrepareChannels() {
    for (int i = 0; i < kCount; ++i) {
        SetUpdateInterval(i, kPreparedInterval);
    }
}

void AudioEngine::SetUpdateInterval(int i, std::int16_t ms) {
    ticker_.SetUpdateInterval(i, ms);
}

std::int32_t AudioEngine::ms_of(std::size_t frames, int rate) const {
    if (rate <= 0) {
        return 0;
    }
    return static_cast<std::int32_t>(static_cast<double>(frames) * 1000.0 / rate);
}

void AudioEngine::OpenChannel(int i, const std::string& path) {
    if (!valid(i)) {
        return;
    }
    Channel& c = channel(i);
    if (c.open) {
        CloseChannel(i);
    }
    if (!has_output()) {
        c.failure = OpenFailure::NoDevice;
        return;
    }
    const std::optional<WaveHeader> header = ProbeWave(path);
    if (!header) {
        c.failure = OpenFailureOf(path);
        return;
    }
    c.failure = OpenFailure::None;
    c.undo.clear();
    c.decoding = decoder_.submit(path, output_->rate());
    c.header_length_ms = ms_of(static_cast<std::size_t>(header->frames), header->rate);
    c.path = path;
    c.open = true;
    c.activity = Activity::Idle;
    c.position_ms = 0;
}

OpenFailure AudioEngine::LastOpenFailure(int i) const {
    return valid(i) ? channel(i).failure : OpenFailure::None;
}

void AudioEngine::wait_for_decode(int i) {
    Channel& c = channel(i);
    if (c.decoding) {
        const std::shared_ptr<DecodeJob> job = c.decoding;  // decode_finished resets the member
        decoder_.wait(job);
        decode_finished(job);
    }
}

void AudioEngine::decode_finished(const std::shared_ptr<DecodeJob>& job) {
    const auto it = std::find_if(channels_.begin(), channels_.end(),
                                 [&](const Channel& c) { return c.decoding == job; });
    if (it == channels_.end()) {
        return;  // closed or reopened meanwhile
    }
    const int i = static_cast<int>(it - channels_.begin());
    Channel& c = *it;
    c.decoding.reset();
    const bool play = c.play_pending;
    c.play_pending = false;
    if (!job->result) {
        // The header looked right but the data did not decode: nothing is open after all.
        qCWarning(lcAudio, "\"%s\" did not decode", c.path.c_str());
        c.failure = OpenFailure::NotSound;
        c.activity = Activity::Idle;
        c.open = false;
        c.path.clear();
        return;
    }
    c.play_buffer = std::make_shared<const std::vector<std::int16_t>>(std::move(*job->result));
    if (play && !send_play(i, c.start_dac)) {
        c.activity = Activity::Idle;
    }
}

void AudioEngine::CloseChannel(int i) {
    if (!valid(i)) {
        return;
    }
    Channel& c = channel(i);
    if (!c.open) {
        return;
    }
    StopChannel(i);
    if (c.decoding) {
        c.decoding->cancel.store(true);
        c.decoding.reset();
    }
    c.play_pending = false;
    c.play_buffer.reset();
    c.undo.clear();
    c.recording = {};
    c.path.clear();
    c.open = false;
    c.position_ms = 0;
}

ChannelState AudioEngine::ChannelMode(int i) const {
    if (!valid(i) || !channel(i).open) {
        return mode::kNotOpen;
    }
    switch (channel(i).activity) {
        case Activity::Playing:
            return play_over(i) ? mode::kStopped : mode::kPlaying;
        case Activity::Recording:
            return mode::kRecording;
        case Activity::Idle:
            break;
    }
    return mode::kStopped;
}

std::int32_t AudioEngine::ChannelLength(int i) const {
    if (!valid(i) || !channel(i).open) {
        return 0;
    }
    const Channel& c = channel(i);
    if (c.activity == Activity::Recording) {
        return ms_of(c.recording.size(), recorder_.rate());
    }
    if (!c.play_buffer) {
        return c.header_length_ms;
    }
    return ms_of(c.play_buffer->size(), sample_rate());
}

std::int32_t AudioEngine::ChannelPosition(int i) const {
    if (!valid(i) || !channel(i).open) {
        return 0;
    }
    const Channel& c = channel(i);
    if (c.activity == Activity::Recording) {
        return ms_of(c.record_pos, recorder_.rate());
    }
    if (c.activity != Activity::Playing || c.play_pending || !has_output()) {
        return c.position_ms;
    }
    const AudioMixer::PlayReport r = output_->mixer()->report(i, c.play_id);
    if (!r.started) {
        return 0;
    }
    const double played = (output_->time() - r.first_dac) * 1000.0;
    const double length = c.play_buffer ? ms_of(c.play_buffer->size(), output_->rate()) : 0;
    return static_cast<std::int32_t>(std::clamp(played, 0.0, length));
}

ChannelLevel AudioEngine::Level(int i) const {
    if (!valid(i)) {
        return {};
    }
    const Channel& c = channel(i);
    if (c.activity == Activity::Recording) {
        return ChannelLevel{Dbfs(recorder_.peak()), Dbfs(recorder_.rms())};
    }
    if (c.activity != Activity::Playing || !has_output() || play_over(i)) {
        return {};
    }
    const AudioMixer::Level level = output_->mixer()->level(i);
    return ChannelLevel{Dbfs(level.peak), Dbfs(level.rms)};
}

}  // namespace parlomat
