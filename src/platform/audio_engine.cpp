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

constexpr int kPreferredRate = 48000;
constexpr Ms kHousekeepingPeriod{20};
/// A running stream that renders nothing for this long while a channel plays is taken as a
/// device that has gone away (a null or network sink may pause for a second or two).
constexpr Ms kStallLimit{2500};
constexpr std::int16_t kPreparedInterval = 50;
/// "Stopped" waits this long past the last sample's DAC time: the device's own estimate of its
/// delay may be off by a millisecond or so, and an unkey must never clip the tail.
constexpr double kTailGuardSeconds = 0.005;
/// A scheduled start lands this much after its due time: the scheduler's clock counts whole
/// milliseconds, and a start must never come early.
constexpr double kScheduleMarginSeconds = 0.001;
/// A scheduled play the stream has not begun this long after its due time (a device that came
/// back with a clock of its own) is started at once instead.
constexpr double kScheduleOverdueSeconds = 0.5;
constexpr const char* kFallbackNotice = "Sound device not found: using the default";
constexpr const char* kNoDeviceNotice = "No sound device: messages cannot be played";
constexpr const char* kLostNotice = "Sound device lost";

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

bool AudioEngine::play_over(int i) const {
    const Channel& c = channel(i);
    if (c.activity != Activity::Playing || c.play_pending || !has_output()) {
        return false;
    }
    const AudioMixer::PlayReport r = output_->mixer()->report(i, c.play_id);
    return r.finished && output_->time() >= r.end_dac + kTailGuardSeconds;
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

std::int32_t AudioEngine::ChannelMode(int i) const {
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

void AudioEngine::RecordChannel(int i) {
    if (!valid(i) || !has_output() || !recorder_.has_device() || recorder_.running()) {
        return;
    }
    Channel& c = channel(i);
    if (!c.open) {
        return;
    }
    StopChannel(i);
    wait_for_decode(i);
    if (!c.open || !ensure_running() || !recorder_.start(output_->rate())) {
        return;
    }
    // Overwrite from the start: what lies beyond the new take's end stays.
    c.recording = c.play_buffer
                      ? ConvertRate(ToFloat(*c.play_buffer), output_->rate(), recorder_.rate())
                      : std::vector<float>{};
    c.record_pos = 0;
    c.undo.clear();
    if (c.recording.size() > record_limit(recorder_.rate())) {
        c.recording.resize(record_limit(recorder_.rate()));
    }
    c.activity = Activity::Recording;
    recording_channel_ = i;
    watch();
}

void AudioEngine::end_recording(int i) {
    if (recording_channel_ != i || !recorder_.running()) {
        return;
    }
    recorder_.stop();
    Channel& c = channel(i);
    recorder_.drain(c.recording, c.record_pos, record_limit(recorder_.rate()));
    release_from_mixer(c, i);
    const int rate = has_output() ? output_->rate() : recorder_.rate();
    std::vector<std::int16_t> take = ToPcm16(ConvertRate(c.recording, recorder_.rate(), rate));
    // Rate conversion may round up by a frame: the take must still load back.
    if (take.size() > record_limit(rate)) {
        take.resize(record_limit(rate));
    }
    c.play_buffer = std::make_shared<const std::vector<std::int16_t>>(std::move(take));
    c.recording = {};
    c.activity = Activity::Idle;
    c.position_ms = ms_of(c.record_pos, recorder_.rate());
    recording_channel_ = -1;
    arm_idle_stop();
}

bool AudioEngine::SaveChannel(int i, const std::string& path) {
    if (!valid(i) || !channel(i).open) {
        return false;
    }
    wait_for_decode(i);
    Channel& c = channel(i);
    if (!c.open) {
        return false;
    }
    bool written = false;
    if (c.activity == Activity::Recording) {
        recorder_.drain(c.recording, c.record_pos, record_limit(recorder_.rate()));
        written = WriteWave16(path, ToPcm16(c.recording), recorder_.rate());
    } else {
        written = WriteWave16(path, c.play_buffer ? *c.play_buffer : std::vector<std::int16_t>{},
                              sample_rate());
    }
    if (!written) {
        qCWarning(lcAudio, "\"%s\" could not be written", path.c_str());
        return false;
    }
    c.path = path;
    c.undo.clear();  // the edits are in the file now
    return true;
}

bool AudioEngine::editable(int i) {
    if (!valid(i) || !channel(i).open) {
        return false;
    }
    wait_for_decode(i);
    settle(i);
    const Channel& c = channel(i);
    return c.open && c.play_buffer && c.activity == Activity::Idle && !c.scheduled && has_output();
}

void AudioEngine::replace_content(int i, std::shared_ptr<const std::vector<std::int16_t>> content) {
    Channel& c = channel(i);
    // The mixer may still hold the ended play's samples: they are retired, not freed.
    release_from_mixer(c, i);
    c.play_buffer = std::move(content);
    c.position_ms = 0;
}

bool AudioEngine::EditChannel(int i, SampleEdit edit) {
    if (!editable(i)) {
        return false;
    }
    Channel& c = channel(i);
    std::optional<std::vector<float>> edited =
        ApplyEdit(edit, ToFloat(*c.play_buffer), output_->rate());
    if (!edited) {
        return false;
    }
    c.undo.push_back(c.play_buffer);
    replace_content(i, std::make_shared<const std::vector<std::int16_t>>(ToPcm16(*edited)));
    return true;
}

bool AudioEngine::UndoEdit(int i) {
    if (!editable(i) || channel(i).undo.empty()) {
        return false;
    }
    Channel& c = channel(i);
    auto previous = std::move(c.undo.back());
    c.undo.pop_back();
    replace_content(i, std::move(previous));
    return true;
}

bool AudioEngine::CreateEmptyWave(const std::string& path) {
    const int rate = sample_rate();
    return WriteWave16(path, WaveData{{}, rate > 0 ? rate : kPreferredRate});
}

std::size_t AudioEngine::record_limit(int rate) const {
    return static_cast<std::size_t>(options_.max_recording.count()) *
           static_cast<std::size_t>(rate) / 1000;
}

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
