#include "platform/audio_engine.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace parlomat {
namespace {

constexpr int kPreferredRate = 48000;

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
constexpr std::chrono::milliseconds kHousekeepingPeriod{20};
/// A running stream that renders nothing for this long while a channel plays is taken as a
/// device that has gone away (a null or network sink may pause for a second or two).
constexpr std::chrono::milliseconds kStallLimit{2500};
constexpr std::int16_t kPreparedInterval = 50;
/// "Stopped" waits this long past the last sample's DAC time: the device's own estimate of its
/// delay may be off by a millisecond or so, and an unkey must never clip the tail.
constexpr double kTailGuardSeconds = 0.005;
constexpr const char* kFallbackNotice = "Sound device not found: using the default";
constexpr const char* kNoDeviceNotice = "No sound device: messages cannot be played";
constexpr const char* kLostNotice = "Sound device lost";

bool rate_supported(int device, int channels, double rate, AudioDirection direction) {
    PaStreamParameters p{};
    p.device = device;
    p.channelCount = channels;
    p.sampleFormat = paFloat32;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (info == nullptr) {
        return false;
    }
    if (direction == AudioDirection::Output) {
        p.suggestedLatency = info->defaultLowOutputLatency;
        return Pa_IsFormatSupported(nullptr, &p, rate) == paFormatIsSupported;
    }
    p.suggestedLatency = info->defaultLowInputLatency;
    return Pa_IsFormatSupported(&p, nullptr, rate) == paFormatIsSupported;
}

/// 48 kHz when the device takes it, else the device's own rate; 0 when neither works.
int pick_rate(int device, int channels, AudioDirection direction, int preferred) {
    if (rate_supported(device, channels, preferred, direction)) {
        return preferred;
    }
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (info != nullptr && info->defaultSampleRate > 0 &&
        rate_supported(device, channels, info->defaultSampleRate, direction)) {
        return static_cast<int>(std::lround(info->defaultSampleRate));
    }
    return 0;
}

}  // namespace

AudioEngine::AudioEngine(AudioEngineOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {
    status_timer_.setSingleShot(true);
    connect(&status_timer_, &QTimer::timeout, this, [this] { status_tick(); });
    housekeeping_timer_.setInterval(kHousekeepingPeriod);
    connect(&housekeeping_timer_, &QTimer::timeout, this, [this] { housekeeping(); });

    if (!session_.ok()) {
        notice_ = kNoDeviceNotice;
        return;
    }
    const AudioDeviceChoice out = FindAudioDevice(options_.output_device, AudioDirection::Output);
    const AudioDeviceChoice in = FindAudioDevice(options_.input_device, AudioDirection::Input);
    output_device_ = out.index;
    input_device_ = in.index;
    if (out.fell_back || in.fell_back) {
        notice_ = kFallbackNotice;
    }
    if (!open_output()) {
        notice_ = kNoDeviceNotice;
    }
}

AudioEngine::~AudioEngine() {
    for (Channel& c : channels_) {
        cancel_decode(c);
    }
    if (input_stream_ != nullptr) {
        Pa_AbortStream(input_stream_);
        Pa_CloseStream(input_stream_);
    }
    close_output();
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

bool AudioEngine::open_output() {
    if (output_device_ < 0) {
        return false;
    }
    const PaDeviceInfo* info = Pa_GetDeviceInfo(output_device_);
    if (info == nullptr || info->maxOutputChannels < 1) {
        return false;
    }
    // Mono when the device takes it; otherwise the same signal on the first two channels.
    int channels = 1;
    int rate = pick_rate(output_device_, channels, AudioDirection::Output, kPreferredRate);
    if (rate == 0 && info->maxOutputChannels >= 2) {
        channels = 2;
        rate = pick_rate(output_device_, channels, AudioDirection::Output, kPreferredRate);
    }
    if (rate == 0) {
        return false;
    }
    PaStreamParameters p{};
    p.device = output_device_;
    p.channelCount = channels;
    p.sampleFormat = paFloat32;
    p.suggestedLatency = std::chrono::duration<double>(options_.latency).count();
    auto mixer = std::make_unique<AudioMixer>(rate);
    mixer_ = std::move(mixer);
    out_channels_ = channels;
    rate_ = rate;
    output_finished_.store(false);
    PaStream* stream = nullptr;
    const unsigned long frames =
        options_.frames_per_buffer == 0 ? paFramesPerBufferUnspecified : options_.frames_per_buffer;
    if (Pa_OpenStream(&stream, nullptr, &p, rate, frames, paClipOff | paDitherOff,
                      &AudioEngine::OutputCallback, this) != paNoError) {
        mixer_.reset();
        rate_ = 0;
        return false;
    }
    Pa_SetStreamFinishedCallback(stream, &AudioEngine::OutputFinished);
    stream_ = stream;
    if (Pa_StartStream(stream_) != paNoError) {
        close_output();
        return false;
    }
    watched_buffers_ = 0;
    watched_since_ = std::chrono::steady_clock::now();
    return true;
}

void AudioEngine::close_output() {
    if (stream_ != nullptr) {
        Pa_AbortStream(stream_);
        Pa_CloseStream(stream_);
        stream_ = nullptr;
    }
    // No callback runs any more: nothing in the mixer refers to our buffers.
    retired_.clear();
    for (Channel& c : channels_) {
        c.in_mixer = false;
        if (c.activity == Activity::Playing) {
            c.activity = Activity::Idle;
        }
    }
    mixer_.reset();
}

int AudioEngine::OutputCallback(const void*, void* output, unsigned long frames,
                                const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                                void* self) {
    auto* engine = static_cast<AudioEngine*>(self);
    if ((flags & paOutputUnderflow) != 0) {
        engine->underflows_.fetch_add(1, std::memory_order_relaxed);
    }
    engine->mixer_->render(static_cast<float*>(output), frames, engine->out_channels_,
                           time->outputBufferDacTime);
    return paContinue;
}

int AudioEngine::InputCallback(const void* input, void*, unsigned long frames,
                               const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags,
                               void* self) {
    auto* engine = static_cast<AudioEngine*>(self);
    if (input == nullptr) {
        return paContinue;
    }
    if (!engine->record_started_.load(std::memory_order_relaxed)) {
        engine->record_first_adc_.store(time->inputBufferAdcTime, std::memory_order_relaxed);
        engine->record_started_.store(true, std::memory_order_release);
    }
    const auto* samples = static_cast<const float*>(input);
    if (engine->record_ring_.push(samples, frames) != frames) {
        engine->record_overflow_.store(true, std::memory_order_relaxed);
    }
    return paContinue;
}

void AudioEngine::OutputFinished(void* self) {
    static_cast<AudioEngine*>(self)->output_finished_.store(true);
}

std::chrono::microseconds AudioEngine::output_latency() const {
    if (stream_ == nullptr) {
        return std::chrono::microseconds{0};
    }
    const PaStreamInfo* info = Pa_GetStreamInfo(stream_);
    if (info == nullptr) {
        return std::chrono::microseconds{0};
    }
    return std::chrono::microseconds{std::lround(info->outputLatency * 1e6)};
}

double AudioEngine::stream_time() const {
    return stream_ == nullptr ? 0.0 : Pa_GetStreamTime(stream_);
}

AudioEngine::PlayTimes AudioEngine::play_times(int i) const {
    PlayTimes t;
    if (!valid(i) || !mixer_) {
        return t;
    }
    const AudioMixer::PlayReport r = mixer_->report(i, channels_[i].play_id);
    t.started = r.started;
    t.first_dac = r.first_dac;
    t.finished = r.finished;
    t.end_dac = r.end_dac;
    return t;
}

double AudioEngine::record_first_adc() const {
    return record_started_.load(std::memory_order_acquire)
               ? record_first_adc_.load(std::memory_order_relaxed)
               : 0.0;
}

void AudioEngine::set_listener(ChannelListener* listener) {
    listener_ = listener;
}

void AudioEngine::PrepareChannels() {
    for (int i = 0; i < kCount; ++i) {
        SetUpdateInterval(i, kPreparedInterval);
    }
}

void AudioEngine::SetUpdateInterval(int i, std::int16_t ms) {
    if (!valid(i)) {
        return;
    }
    Channel& c = channels_[static_cast<std::size_t>(i)];
    const std::chrono::milliseconds interval{ms > 0 ? ms : 0};
    if (interval == c.update_interval) {
        return;  // an unchanged interval keeps its phase
    }
    c.update_interval = interval;
    c.update_due = std::chrono::steady_clock::now() + interval;
    schedule_status();
}

void AudioEngine::schedule_status() {
    std::optional<std::chrono::steady_clock::time_point> earliest;
    for (const Channel& c : channels_) {
        if (c.update_interval.count() > 0 && (!earliest || c.update_due < *earliest)) {
            earliest = c.update_due;
        }
    }
    if (!earliest) {
        status_timer_.stop();
        return;
    }
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(*earliest - std::chrono::steady_clock::now());
    status_timer_.start(std::max(wait, std::chrono::milliseconds{0}));
}

void AudioEngine::status_tick() {
    const auto now = std::chrono::steady_clock::now();
    for (int i = 0; i < kCount; ++i) {
        Channel& c = channels_[static_cast<std::size_t>(i)];
        // A coarse timer may fire a little early, and channels set up together are due
        // microseconds apart: all within a twentieth of their interval share this wake-up.
        if (c.update_interval.count() <= 0 || c.update_due - c.update_interval / 20 > now) {
            continue;
        }
        c.update_due += c.update_interval;
        if (c.update_due <= now) {
            c.update_due = now + c.update_interval;  // fell behind: no burst of missed updates
        }
        // The listener may change any channel's interval; the loop reads them afresh.
        if (listener_ != nullptr) {
            listener_->mci_StatusUpdate(i);
        }
    }
    schedule_status();
}

std::int32_t AudioEngine::ms_of(std::size_t frames, int rate) const {
    if (rate <= 0) {
        return 0;
    }
    return static_cast<std::int32_t>(static_cast<double>(frames) * 1000.0 / rate);
}

void AudioEngine::release_from_mixer(Channel& c, int i) {
    if (!c.in_mixer) {
        return;
    }
    c.in_mixer = false;
    if (!mixer_) {
        return;
    }
    // When the stop cannot be sent the buffer stays retired until the stream is closed.
    const bool sent = mixer_->stop(i);
    retired_.push_back(
        Retired{c.play_buffer, sent ? mixer_->sent() : std::numeric_limits<std::uint64_t>::max()});
    update_housekeeping();
}

void AudioEngine::OpenChannel(int i, const std::string& path) {
    if (!valid(i)) {
        return;
    }
    Channel& c = channels_[static_cast<std::size_t>(i)];
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
    auto job = std::make_shared<DecodeJob>();
    const int rate = rate_;
    job->worker = std::thread([this, i, job, path, rate] {
        job->result = DecodeWave(path, rate, job->cancel);
        QMetaObject::invokeMethod(
            this, [this, i, job] { decode_finished(i, job); }, Qt::QueuedConnection);
    });
    c.decoding = std::move(job);
    c.header_length_ms = ms_of(static_cast<std::size_t>(header->frames), header->rate);
    c.path = path;
    c.open = true;
    c.activity = Activity::Idle;
    c.position_ms = 0;
}

OpenFailure AudioEngine::LastOpenFailure(int i) const {
    return valid(i) ? channels_[static_cast<std::size_t>(i)].failure : OpenFailure::None;
}

void AudioEngine::cancel_decode(Channel& c) {
    if (!c.decoding) {
        return;
    }
    c.decoding->cancel.store(true);
    c.decoding->worker.join();
    c.decoding.reset();
    c.play_pending = false;
}

void AudioEngine::wait_for_decode(int i) {
    Channel& c = channels_[static_cast<std::size_t>(i)];
    if (c.decoding) {
        const std::shared_ptr<DecodeJob> job = c.decoding;  // decode_finished resets the member
        job->worker.join();
        decode_finished(i, job);
    }
}

void AudioEngine::decode_finished(int i, const std::shared_ptr<DecodeJob>& job) {
    Channel& c = channels_[static_cast<std::size_t>(i)];
    if (c.decoding != job) {
        return;  // closed or reopened meanwhile
    }
    if (job->worker.joinable()) {
        job->worker.join();
    }
    c.decoding.reset();
    const bool play = c.play_pending;
    c.play_pending = false;
    if (!job->result) {
        // The header looked right but the data did not decode: nothing is open after all.
        c.failure = OpenFailure::NotSound;
        c.activity = Activity::Idle;
        c.open = false;
        c.path.clear();
        return;
    }
    c.play_buffer = std::make_shared<const std::vector<std::int16_t>>(std::move(*job->result));
    if (play) {
        start_play(i);
    }
}

void AudioEngine::CloseChannel(int i) {
    if (!valid(i)) {
        return;
    }
    Channel& c = channels_[static_cast<std::size_t>(i)];
    if (!c.open) {
        return;
    }
    StopChannel(i);
    cancel_decode(c);
    c.play_buffer.reset();
    c.recording = {};
    c.path.clear();
    c.open = false;
    c.position_ms = 0;
}

void AudioEngine::settle(int i) const {
    Channel& c = channels_[static_cast<std::size_t>(i)];
    if (c.activity != Activity::Playing || c.play_pending) {
        return;
    }
    if (!mixer_) {
        c.activity = Activity::Idle;
        return;
    }
    const AudioMixer::PlayReport r = mixer_->report(i, c.play_id);
    if (r.finished && Pa_GetStreamTime(stream_) >= r.end_dac + kTailGuardSeconds) {
        c.activity = Activity::Idle;
        c.position_ms = ms_of(c.play_buffer ? c.play_buffer->size() : 0, rate_);
    }
}

std::int32_t AudioEngine::ChannelMode(int i) const {
    if (!valid(i)) {
        return mode::kNotOpen;
    }
    settle(i);
    const Channel& c = channels_[static_cast<std::size_t>(i)];
    if (!c.open) {
        return mode::kNotOpen;
    }
    switch (c.activity) {
        case Activity::Playing:
            return mode::kPlaying;
        case Activity::Recording:
            return mode::kRecording;
        case Activity::Idle:
            break;
    }
    return mode::kStopped;
}

std::int32_t AudioEngine::ChannelLength(int i) const {
    if (!valid(i)) {
        return 0;
    }
    const Channel& c = channels_[static_cast<std::size_t>(i)];
    if (!c.open) {
        return 0;
    }
    if (c.activity == Activity::Recording) {
        return ms_of(c.recording.size(), record_rate_);
    }
    if (!c.play_buffer) {
        return c.header_length_ms;
    }
    return ms_of(c.play_buffer->size(), rate_);
}

std::int32_t AudioEngine::ChannelPosition(int i) const {
    if (!valid(i)) {
        return 0;
    }
    settle(i);
    const Channel& c = channels_[static_cast<std::size_t>(i)];
    if (!c.open) {
        return 0;
    }
    if (c.activity == Activity::Recording) {
        return ms_of(c.record_pos, record_rate_);
    }
    if (c.activity != Activity::Playing || c.play_pending) {
        return c.position_ms;
    }
    const AudioMixer::PlayReport r = mixer_->report(i, c.play_id);
    if (!r.started) {
        return 0;
    }
    const double played = (Pa_GetStreamTime(stream_) - r.first_dac) * 1000.0;
    const double length = c.play_buffer ? ms_of(c.play_buffer->size(), rate_) : 0;
    return static_cast<std::int32_t>(std::clamp(played, 0.0, length));
}

void AudioEngine::PlayFromStart(int i) {
    if (!valid(i)) {
        return;
    }
    Channel& c = channels_[static_cast<std::size_t>(i)];
    if (!c.open) {
        return;
    }
    if (c.activity == Activity::Recording) {
        end_recording(i);
    }
    if (!has_output() && !open_output()) {
        return;
    }
    if (c.activity == Activity::Playing) {
        release_from_mixer(c, i);
    }
    c.activity = Activity::Playing;
    c.position_ms = 0;
    if (c.decoding) {
        c.play_pending = true;
        return;
    }
    start_play(i);
}

void AudioEngine::start_play(int i) {
    Channel& c = channels_[static_cast<std::size_t>(i)];
    if (!mixer_ || !c.play_buffer) {
        c.activity = Activity::Idle;
        return;
    }
    const std::uint32_t id = next_play_id_++;
    if (next_play_id_ == 0) {
        next_play_id_ = 1;
    }
    if (!mixer_->play(i, c.play_buffer->data(), c.play_buffer->size(), id)) {
        c.activity = Activity::Idle;
        return;
    }
    c.in_mixer = true;
    c.play_id = id;
    update_housekeeping();
}

void AudioEngine::StopChannel(int i) {
    if (!valid(i)) {
        return;
    }
    Channel& c = channels_[static_cast<std::size_t>(i)];
    if (c.activity == Activity::Recording) {
        end_recording(i);
        return;
    }
    if (c.activity == Activity::Playing) {
        c.position_ms = ChannelPosition(i);
        c.activity = Activity::Idle;
    }
    c.play_pending = false;
    release_from_mixer(c, i);
}

void AudioEngine::RecordChannel(int i) {
    if (!valid(i) || input_device_ < 0 || input_stream_ != nullptr) {
        return;
    }
    Channel& c = channels_[static_cast<std::size_t>(i)];
    if (!c.open) {
        return;
    }
    StopChannel(i);
    const int rate =
        pick_rate(input_device_, 1, AudioDirection::Input, rate_ > 0 ? rate_ : kPreferredRate);
    if (rate == 0) {
        return;
    }
    const PaDeviceInfo* info = Pa_GetDeviceInfo(input_device_);
    PaStreamParameters p{};
    p.device = input_device_;
    p.channelCount = 1;
    p.sampleFormat = paFloat32;
    p.suggestedLatency = info != nullptr ? info->defaultLowInputLatency : 0.02;
    float discard = 0;
    while (record_ring_.pop(discard)) {
    }
    record_started_.store(false);
    record_overflow_.store(false);
    PaStream* stream = nullptr;
    if (Pa_OpenStream(&stream, &p, nullptr, rate, paFramesPerBufferUnspecified, paNoFlag,
                      &AudioEngine::InputCallback, this) != paNoError) {
        return;
    }
    if (Pa_StartStream(stream) != paNoError) {
        Pa_CloseStream(stream);
        return;
    }
    // Overwrite from the start: what lies beyond the new take's end stays.
    c.recording =
        c.play_buffer ? ConvertRate(ToFloat(*c.play_buffer), rate_, rate) : std::vector<float>{};
    c.record_pos = 0;
    c.activity = Activity::Recording;
    input_stream_ = stream;
    recording_channel_ = i;
    record_rate_ = rate;
    if (c.recording.size() > record_limit()) {
        c.recording.resize(record_limit());
    }
    update_housekeeping();
}

void AudioEngine::drain_recording() {
    if (recording_channel_ < 0) {
        return;
    }
    Channel& c = channels_[static_cast<std::size_t>(recording_channel_)];
    std::array<float, 4096> chunk{};
    for (;;) {
        // Past the limit the input is dropped; housekeeping ends the take.
        const std::size_t room = record_limit() - std::min(c.record_pos, record_limit());
        const std::size_t n = record_ring_.pop(chunk.data(), std::min(chunk.size(), room));
        if (n == 0) {
            break;
        }
        std::vector<float>& s = c.recording;
        for (std::size_t k = 0; k < n; ++k) {
            if (c.record_pos < s.size()) {
                s[c.record_pos] = chunk[k];
            } else {
                s.push_back(chunk[k]);
            }
            ++c.record_pos;
        }
    }
}

std::size_t AudioEngine::record_limit() const {
    return static_cast<std::size_t>(options_.max_recording.count()) *
           static_cast<std::size_t>(record_rate_) / 1000;
}

void AudioEngine::end_recording(int i) {
    if (recording_channel_ != i || input_stream_ == nullptr) {
        return;
    }
    Pa_AbortStream(input_stream_);
    Pa_CloseStream(input_stream_);
    input_stream_ = nullptr;
    drain_recording();
    Channel& c = channels_[static_cast<std::size_t>(i)];
    release_from_mixer(c, i);
    std::vector<std::int16_t> take = ToPcm16(ConvertRate(c.recording, record_rate_, rate_));
    // Rate conversion may round up by a frame: the take must still load back.
    const auto limit = static_cast<std::size_t>(options_.max_recording.count()) *
                       static_cast<std::size_t>(rate_) / 1000;
    if (take.size() > limit) {
        take.resize(limit);
    }
    c.play_buffer = std::make_shared<const std::vector<std::int16_t>>(std::move(take));
    c.recording = {};
    c.activity = Activity::Idle;
    c.position_ms = ms_of(c.record_pos, record_rate_);
    recording_channel_ = -1;
    update_housekeeping();
}

bool AudioEngine::SaveChannel(int i, const std::string& path) {
    if (!valid(i)) {
        return false;
    }
    Channel& c = channels_[static_cast<std::size_t>(i)];
    if (!c.open) {
        return false;
    }
    wait_for_decode(i);
    if (!c.open) {
        return false;
    }
    bool written = false;
    if (c.activity == Activity::Recording) {
        drain_recording();
        written = WriteWave16(path, ToPcm16(c.recording), record_rate_);
    } else {
        written =
            WriteWave16(path, c.play_buffer ? *c.play_buffer : std::vector<std::int16_t>{}, rate_);
    }
    if (!written) {
        return false;
    }
    c.path = path;
    return true;
}

bool AudioEngine::CreateEmptyWave(const std::string& path) {
    return WriteWave16(path, WaveData{{}, rate_ > 0 ? rate_ : kPreferredRate});
}

void AudioEngine::update_housekeeping() {
    // A buffer whose stop could not be sent stays retired until the stream closes: no need to
    // watch for it.
    bool busy = recording_channel_ >= 0 ||
                std::any_of(retired_.begin(), retired_.end(), [](const Retired& r) {
                    return r.seq != std::numeric_limits<std::uint64_t>::max();
                });
    for (const Channel& c : channels_) {
        busy = busy || c.activity == Activity::Playing;
    }
    if (busy && !housekeeping_timer_.isActive()) {
        if (mixer_) {
            watched_buffers_ = mixer_->buffers();
        }
        watched_since_ = std::chrono::steady_clock::now();
        housekeeping_timer_.start();
    } else if (!busy) {
        housekeeping_timer_.stop();
    }
}

void AudioEngine::housekeeping() {
    drain_recording();
    if (recording_channel_ >= 0 &&
        channels_[static_cast<std::size_t>(recording_channel_)].record_pos >= record_limit()) {
        // The longest take that Load accepts: stopped here as StopChannel would.
        end_recording(recording_channel_);
    }
    if (mixer_) {
        const std::uint64_t done = mixer_->processed();
        std::erase_if(retired_, [done](const Retired& r) { return r.seq <= done; });
    }
    bool playing = false;
    for (int i = 0; i < kCount; ++i) {
        settle(i);
        playing = playing || channels_[static_cast<std::size_t>(i)].activity == Activity::Playing;
    }
    if (stream_ != nullptr) {
        const auto now = std::chrono::steady_clock::now();
        const std::uint64_t buffers = mixer_->buffers();
        if (buffers != watched_buffers_) {
            watched_buffers_ = buffers;
            watched_since_ = now;
        }
        const bool stalled = playing && now - watched_since_ > kStallLimit;
        if (output_finished_.load() || stalled) {
            device_lost();
        }
    }
    update_housekeeping();
}

void AudioEngine::device_lost() {
    for (int i = 0; i < kCount; ++i) {
        Channel& c = channels_[static_cast<std::size_t>(i)];
        if (c.activity == Activity::Playing) {
            c.position_ms = ChannelPosition(i);
        }
    }
    close_output();
    if (notice_handler_) {
        notice_handler_(kLostNotice);
    }
}

}  // namespace parlomat
