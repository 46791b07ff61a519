#include "platform/audio_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <ranges>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/audio/audio_test_support.h"
#include "platform/qt_scheduler.h"
#include "platform/wave_file.h"

namespace parlomat {
namespace {

using namespace std::chrono_literals;
using test::WaitFor;

/// The fixture's daemon, or the server PARLOMAT_PULSE_SERVER names (pipewire_run.sh).
const bool kPulseServerSet = [] {
    const char* other = std::getenv("PARLOMAT_PULSE_SERVER");
    const std::string own = std::string("unix:") + PARLOMAT_PULSE_DIR + "/run/pulse/native";
    return setenv("PULSE_SERVER", other != nullptr ? other : own.c_str(), 1) == 0;
}();

class AudioEngineTest : public ::testing::Test {
  protected:
    void SetUp() override { test::app(); }
    std::string file(const std::string& name) const { return dir_.file(name); }
    /// A 48 kHz 16-bit mono message of `frames` frames; returns its samples.
    std::vector<short> write_message(const std::string& name, std::size_t frames) const {
        std::vector<short> s = test::message_samples(frames);
        EXPECT_TRUE(
            test::write_sound_file(file(name), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 1, s));
        return s;
    }
    test::TempDir dir_;  // of this run alone: runs in other build trees may overlap
    QtScheduler scheduler_;
};

/// What "Stopped" at a play's end guarantees: the last sample was sent, the play spans at least
/// its length at the DAC, the stream clock has passed its end, the position is the whole length.
void expect_played_whole(const AudioEngine& engine, int channel, std::int32_t length_ms) {
    const AudioEngine::PlayTimes t = engine.play_times(channel);
    ASSERT_TRUE(t.started && t.finished);
    EXPECT_GE((t.end_dac - t.first_dac) * 1000, length_ms - 0.001);
    EXPECT_GE(engine.stream_time(), t.end_dac);
    EXPECT_EQ(engine.ChannelLength(channel), length_ms);
    EXPECT_EQ(engine.ChannelPosition(channel), length_ms);
}

/// Whether `v` holds `m` at `at`, compared as 16-bit samples.
bool holds_at(const std::vector<float>& v, std::size_t at, const std::vector<short>& m) {
    return at + m.size() <= v.size() &&
           std::equal(m.begin(), m.end(), v.begin() + static_cast<std::ptrdiff_t>(at),
                      [](short a, float b) { return a == test::to_pcm16(b); });
}

TEST_F(AudioEngineTest, PlayedMessageReachesTheSinkWholeStopsAfterItsLastSampleTakesAtTheLongest) {
    AudioEngineOptions options;
    options.max_recording = 4s;
    AudioEngine engine(options, scheduler_);
    ASSERT_TRUE(engine.has_output()) << engine.notice();
    ASSERT_EQ(engine.sample_rate(), 48000);
    const std::vector<short> message = write_message("msg.wav", 24000);
    ASSERT_TRUE(engine.CreateEmptyWave(file("rec.wav")));
    engine.OpenChannel(0, file("msg.wav"));
    engine.OpenChannel(1, file("rec.wav"));  // records the sink's monitor
    ASSERT_EQ(engine.ChannelLength(0), 500);
    engine.RecordChannel(1);
    ASSERT_TRUE(WaitFor([&] { return engine.record_first_adc() != 0; }, 5s));
    test::RunFor(200ms);
    engine.PlayFromStart(0);
    EXPECT_EQ(engine.ChannelMode(0), mode::kPlaying);
    double stopped_at = 0;  // stream time when first seen "Stopped"
    ASSERT_TRUE(WaitFor(
        [&] {
            const bool stopped = engine.ChannelMode(0) == mode::kStopped;
            stopped_at = engine.stream_time();
            return stopped;
        },
        10s));
    const AudioEngine::PlayTimes times = engine.play_times(0);
    EXPECT_EQ(engine.ChannelPosition(0), 500);
    const double record_start = engine.record_first_adc();
    ASSERT_TRUE(WaitFor([&] { return engine.ChannelMode(1) == mode::kStopped; }, 10s));
    EXPECT_EQ(engine.ChannelPosition(1), 4000);  // the take stopped by itself at its longest
    ASSERT_TRUE(engine.SaveChannel(1, file("saved.wav")));
    const std::optional<WaveData> saved = ReadWave(file("saved.wav"));
    ASSERT_TRUE(saved && saved->rate == 48000);
    const std::vector<float>& rec = saved->samples;
    ASSERT_EQ(rec.size(), 4u * 48000);

    // Silence around the message; a late buffer on a loaded machine may put a gap inside.
    const auto sounding = [](float v) { return test::to_pcm16(v) != 0; };
    const auto at = static_cast<std::size_t>(std::ranges::find_if(rec, sounding) - rec.begin());
    const auto end =
        static_cast<std::size_t>(rec.rend() - std::find_if(rec.rbegin(), rec.rend(), sounding));
    const std::size_t n = message.size();
    ASSERT_TRUE(at > 0 && at + n <= end && end < rec.size()) << "message missing or cut";
    EXPECT_TRUE(holds_at(rec, at, {message[0], message[1]}));
    EXPECT_TRUE(holds_at(rec, end - 2, {message[n - 2], message[n - 1]}));
    if (end == at + n) {
        EXPECT_TRUE(holds_at(rec, at, message)) << "no gap: bit-exact";
    }
    // The monitor's capture clock tells when each sample was rendered; two streams' delay
    // estimates differ (PipeWire's by up to 13 ms), which one output latency covers.
    const double first_heard = record_start + static_cast<double>(at) / 48000;
    const double last_heard = record_start + static_cast<double>(end) / 48000;
    const double latency = std::chrono::duration<double>(engine.output_latency()).count();
    ASSERT_TRUE(times.started && times.finished);
    EXPECT_NEAR(times.first_dac, first_heard, latency);
    EXPECT_NEAR(times.end_dac, last_heard, latency);
    EXPECT_GE(stopped_at, last_heard);
}

TEST_F(AudioEngineTest, AnEditWaitsForTheDecodeUndoGivesEverySampleBackASaveEndsTheUndo) {
    AudioEngine engine(AudioEngineOptions{}, scheduler_);
    const std::vector<short> message = write_message("msg.wav", 48000 * 20);
    const auto samples = [&](const char* name) {
        const std::optional<WaveData> w = ReadWave(file(name));
        return w ? w->samples : std::vector<float>{};
    };
    engine.OpenChannel(2, file("msg.wav"));
    ASSERT_TRUE(engine.EditChannel(2, SampleEdit::Normalize));
    ASSERT_TRUE(engine.UndoEdit(2));
    ASSERT_TRUE(engine.SaveChannel(2, file("undone.wav")));
    EXPECT_EQ(engine.ChannelLength(2), 20000);
    EXPECT_EQ(samples("undone.wav").size(), message.size());
    EXPECT_TRUE(holds_at(samples("undone.wav"), 0, message));
    ASSERT_TRUE(engine.EditChannel(2, SampleEdit::Normalize));
    ASSERT_TRUE(engine.SaveChannel(2, file("loud.wav")));
    EXPECT_FALSE(engine.CanUndoEdit(2));  // a save ends the undo
    const auto [low, high] = std::ranges::minmax(samples("loud.wav"));
    EXPECT_NEAR(std::max(-low, high), 0.891f, 0.001f);  // -1 dBFS
}

TEST_F(AudioEngineTest, AScheduledPlayStartsAtItsDueTimeAfterTheIdleStreamWakes) {
    AudioEngine engine(AudioEngineOptions{}, scheduler_);
    ASSERT_TRUE(engine.has_output()) << engine.notice();
    engine.SetIdleStop(1s);
    write_message("msg.wav", 4800);
    engine.OpenChannel(0, file("msg.wav"));
    ASSERT_TRUE(WaitFor([&] { return engine.suspended(); }, 5s));
    EXPECT_EQ(engine.ChannelMode(0), mode::kStopped);
    engine.Wake();  // the key-down; the play is due a PTT delay later
    EXPECT_FALSE(engine.suspended());
    // The due time's stream time lies at or after this: the scheduler counts whole ms after it.
    const double due_dac = engine.stream_time() + 0.300;
    const Ms due = scheduler_.now() + 300ms;
    engine.ScheduleStart(0, due);
    EXPECT_EQ(engine.ChannelMode(0), mode::kStopped);
    ASSERT_TRUE(WaitFor([&] { return scheduler_.now() >= due; }, 5s));
    engine.PlayFromStart(0);
    EXPECT_EQ(engine.ChannelMode(0), mode::kPlaying);
    float loudest = -std::numeric_limits<float>::infinity();
    ASSERT_TRUE(WaitFor(
        [&] {
            loudest = std::max(loudest, engine.Level(0).peak_dbfs);
            return engine.ChannelMode(0) == mode::kStopped;
        },
        5s));
    const AudioEngine::PlayTimes t = engine.play_times(0);
    ASSERT_TRUE(t.started && t.finished);
    // Never early, and not a stream latency late (room left for a preempted test thread).
    EXPECT_GE(t.first_dac, due_dac - 0.0005) << t.first_dac - due_dac;
    EXPECT_LE(t.first_dac, due_dac + 0.015) << t.first_dac - due_dac;
    EXPECT_EQ(engine.ChannelPosition(0), 100);
    EXPECT_GT(loudest, -20.0f);
    EXPECT_EQ(engine.Level(0).peak_dbfs, -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(WaitFor([&] { return engine.suspended(); }, 5s));
    engine.SetIdleStop(0s);  // "always on"
    EXPECT_FALSE(engine.suspended());
}

/// A message `seconds` long in `format`, then cut to `size` bytes if set.
std::function<bool(const std::string&)> tone(int format, int rate, double seconds,
                                             std::optional<std::uintmax_t> size = {}) {
    return [=](const std::string& path) {
        const auto frames = static_cast<std::size_t>(rate * seconds);
        const bool ok =
            test::write_sound_file(path, format, rate, 1, test::message_samples(frames));
        if (ok && size) {
            std::filesystem::resize_file(path, *size);
        }
        return ok;
    };
}

/// Replaces the file by what `make` (mkdir, mkfifo) makes of its name.
std::function<bool(const std::string&)> replaced_by(int (*make)(const char*, mode_t)) {
    return [=](const std::string& p) {
        return std::filesystem::remove(p) && make(p.c_str(), 0700) == 0;
    };
}

TEST_F(AudioEngineTest, OddFilesPlayCorrectlyOrStayNotOpen) {
    constexpr int kPcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    constexpr int kPcm8 = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
    const struct {
        const char* name;
        std::function<bool(const std::string& path)> make;
        std::int32_t length_ms;  ///< -1: "Not Open", for `failure`
        OpenFailure failure = OpenFailure::None;
    } files[] = {
        {"empty", tone(kPcm16, 48000, 1.0, 0), -1, OpenFailure::NotSound},
        {"missing", [](const std::string& p) { return std::filesystem::remove(p); }, -1,
         OpenFailure::NotFound},
        {"truncated", tone(kPcm16, 48000, 1.0, 44 + 2 * 12000), 250},
        {"header only", tone(kPcm16, 48000, 1.0, 30), -1, OpenFailure::NotSound},
        {"no samples", tone(kPcm16, 48000, 0), 0},
        {"8-bit", tone(kPcm8, 22050, 0.4), 400},
        {"96 kHz", tone(kPcm16, 96000, 0.25), 250},
        {"one hour", tone(kPcm8, 8000, 3600.0), -1, OpenFailure::TooLong},
        // Last: nothing more is written to the name once it is a directory or a FIFO.
        {"directory", replaced_by(mkdir), -1, OpenFailure::NotFound},
        {"FIFO without a writer", replaced_by(mkfifo), -1, OpenFailure::NotFound},
    };
    alarm(120);  // a FIFO that blocks the open ends the test instead of hanging it
    AudioEngine engine(AudioEngineOptions{}, scheduler_);
    ASSERT_TRUE(engine.has_output()) << engine.notice();
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        ASSERT_TRUE(f.make(file("odd.wav")));
        engine.CloseChannel(0);
        engine.OpenChannel(0, file("odd.wav"));
        EXPECT_EQ(engine.LastOpenFailure(0), f.failure);
        // Played at once: the decode may still be running on its worker thread.
        engine.PlayFromStart(0);
        if (f.length_ms < 0) {
            EXPECT_EQ(engine.ChannelMode(0), mode::kNotOpen);
            continue;
        }
        EXPECT_EQ(engine.ChannelMode(0), mode::kPlaying);
        ASSERT_TRUE(WaitFor([&] { return engine.ChannelMode(0) == mode::kStopped; }, 5s));
        expect_played_whole(engine, 0, f.length_ms);
    }
    alarm(0);
}

TEST_F(AudioEngineTest, AGoneDeviceFallsBackToTheDefaultAndALostOneEndsThePlay) {
    {
        AudioEngine gone(AudioEngineOptions{"USB Audio CODEC gone", ""}, scheduler_);
        EXPECT_TRUE(gone.has_output());
        EXPECT_EQ(gone.notice(), "Sound device not found: using the default");
    }
    // A second daemon of our own to lose, so the fixture's one lives on.
    const std::string dir = dir_.file("pulse");
    const std::string scripts = PARLOMAT_PULSE_SCRIPTS;
    ASSERT_EQ(std::system((scripts + "/pulse_start.sh " + dir + " >/dev/null").c_str()), 0);
    const std::string server = std::getenv("PULSE_SERVER");
    setenv("PULSE_SERVER", ("unix:" + dir + "/run/pulse/native").c_str(), 1);
    std::vector<std::string> notices;
    {
        AudioEngine engine(AudioEngineOptions{"pulse", "pulse"}, scheduler_);
        engine.set_notice_handler([&](const std::string& text) { notices.push_back(text); });
        ASSERT_TRUE(engine.has_output());
        write_message("long.wav", 48000 * 20);
        engine.OpenChannel(0, file("long.wav"));
        engine.PlayFromStart(0);
        ASSERT_TRUE(WaitFor([&] { return engine.ChannelPosition(0) >= 300; }, 10s));
        ASSERT_EQ(std::system((scripts + "/pulse_stop.sh " + dir).c_str()), 0);
        EXPECT_TRUE(WaitFor([&] { return engine.ChannelMode(0) == mode::kStopped; }, 10s));
        EXPECT_LT(engine.ChannelPosition(0), 20000);
    }
    setenv("PULSE_SERVER", server.c_str(), 1);
    EXPECT_EQ(notices, std::vector<std::string>{"Sound device lost"});
}

}  // namespace
}  // namespace parlomat
