// AudioEngine: recording into a channel, saving and empty files.
#include "platform/audio_engine.h"

#include "platform/log_categories.h"
#include "platform/wave_file.h"

namespace parlomat {
namespace {

constexpr int kPreferredRate = 48000;

}  // namespace

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

bool AudioEngine::CreateEmptyWave(const std::string& path) {
    const int rate = sample_rate();
    return WriteWave16(path, WaveData{{}, rate > 0 ? rate : kPreferredRate});
}

std::size_t AudioEngine::record_limit(int rate) const {
    return static_cast<std::size_t>(options_.max_recording.count()) *
           static_cast<std::size_t>(rate) / 1000;
}

}  // namespace parlomat
