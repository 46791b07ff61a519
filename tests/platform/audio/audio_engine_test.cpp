#include "platform/audio_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/audio/audio_test_support.h"
#include "platform/qt_scheduler.h"
#include "platform/wave_file.h"

namespace parlomat {
namespace {

using namespace std::chrono_literals;
using test::WaitFor;

/// Every engine in this file talks to the fixture's private daemon, or to the server
/// PARLOMAT_PULSE_SERVER names (PipeWire's, see pipewire_run.sh).
const bool kPulseServerSet = [] {
    const char* other = std::getenv("PARLOMAT_PULSE_SERVER");
    const std::string server =
        other != nullptr ? std::string(other)
                         : std::string("unix:") + PARLOMAT_PULSE_DIR + "/run/pulse/native";
    setenv("PULSE_SERVER", server.c_str(), 1);
    return true;
}();

class AudioEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::app();
        dir_ = test::scratch_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    std::string file(const std::string& name) const { return (dir_ / name).string(); }

    /// Writes a 48 kHz 16-bit mono message of `frames` frames; returns its samples.
    std::vector<short> write_message(const std::string& name, std::size_t frames) const {
        std::vector<short> s = test::message_samples(frames);
        EXPECT_TRUE(
            test::write_sound_file(file(name), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 1, s));
        return s;
    }

    std::filesystem::path dir_;
    QtScheduler scheduler_;
};

/// What the engine guarantees of a play it reports "Stopped" at its end: the mixer sent its last
/// sample, the play spans at least its length at the DAC (the device's estimates move by
/// milliseconds within a play; a late buffer stretches it), the stream's clock has passed the
/// DAC time of the last sample, and the position is the whole length.
void expect_played_whole(const AudioEngine& engine, int channel, std::int32_t length_ms) {
    const AudioEngine::PlayTimes t = engine.play_times(channel);
    ASSERT_TRUE(t.started && t.finished);
    EXPECT_GE((t.end_dac - t.first_dac) * 1000, length_ms - 0.001);
    EXPECT_GE(engine.stream_time(), t.end_dac);
    EXPECT_EQ(engine.ChannelLength(channel), length_ms);
    EXPECT_EQ(engine.ChannelPosition(channel), length_ms);
}

/// The first place at or after `from` where `recording` holds samples `a`, `b` (compared as
/// 16-bit values), or nothing.
std::optional<std::size_t> find_pair(const std::vector<float>& recording, short a, short b,
                                     std::size_t from = 0) {
    for (std::size_t i = from; i + 1 < recording.size(); ++i) {
        if (test::to_pcm16(recording[i]) == a && test::to_pcm16(recording[i + 1]) == b) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t count_mismatches(const std::vector<float>& recording, std::size_t at,
                             const std::vector<short>& message) {
    std::size_t bad = 0;
    for (std::size_t k = 0; k < message.size(); ++k) {
        bad += test::to_pcm16(recording[at + k]) != message[k] ? 1 : 0;
    }
    return bad;
}

/// Plays channel `play` while channel `rec` records the sink's monitor; returns the recording
/// and when (stream time) the first sample was captured, the play's DAC times and the stream
/// time at which the channel was first seen "Stopped".
struct MonitoredPlay {
    std::vector<float> recording;
    double record_start = 0;
    AudioEngine::PlayTimes times;
    double stopped_at = 0;
};

MonitoredPlay play_and_monitor(AudioEngine& engine, int play, int rec, const std::string& save) {
    MonitoredPlay m;
    engine.RecordChannel(rec);
    EXPECT_EQ(engine.ChannelMode(rec), mode::kRecording);
    EXPECT_TRUE(WaitFor([&] { return engine.record_first_adc() != 0; }, 5s));
    test::RunFor(200ms);
    engine.PlayFromStart(play);
    EXPECT_EQ(engine.ChannelMode(play), mode::kPlaying);
    EXPECT_TRUE(WaitFor(
        [&] {
            if (engine.ChannelMode(play) != mode::kStopped) {
                return false;
            }
            m.stopped_at = engine.stream_time();
            return true;
        },
        10s));
    m.times = engine.play_times(play);
    test::RunFor(300ms);
    m.record_start = engine.record_first_adc();
    engine.StopChannel(rec);
    EXPECT_EQ(engine.ChannelMode(rec), mode::kStopped);
    EXPECT_TRUE(engine.SaveChannel(rec, save));
    if (std::optional<WaveData> saved = ReadWave(save)) {
        EXPECT_EQ(saved->rate, 48000);
        m.recording = std::move(saved->samples);
    }
    return m;
}

TEST_F(AudioEngineTest, PlayedMessageReachesTheSinkWholeAndStopsOnlyAfterItsLastSample) {
    AudioEngine engine(AudioEngineOptions{}, scheduler_);
    ASSERT_TRUE(engine.has_output()) << engine.notice();
    ASSERT_EQ(engine.sample_rate(), 48000);
    const std::vector<short> message = write_message("msg.wav", 24000);
    ASSERT_TRUE(engine.CreateEmptyWave(file("rec.wav")));
    engine.OpenChannel(0, file("msg.wav"));
    engine.OpenChannel(1, file("rec.wav"));
    ASSERT_EQ(engine.ChannelLength(0), 500);

    const MonitoredPlay m = play_and_monitor(engine, 0, 1, file("saved.wav"));
    EXPECT_EQ(engine.ChannelPosition(0), 500);
    ASSERT_TRUE(m.times.started && m.times.finished);
    const std::size_t n = message.size();
    const auto at = find_pair(m.recording, message[0], message[1]);
    ASSERT_TRUE(at) << "message not found in the monitor recording";
    // A late buffer on a loaded machine may put a gap into the sound; the last sample is
    // looked for after it.
    const auto tail = find_pair(m.recording, message[n - 2], message[n - 1], *at + n - 2);
    ASSERT_TRUE(tail && *tail + 2 < m.recording.size()) << "the end of the message is missing";
    EXPECT_EQ(test::to_pcm16(m.recording[*at - 1]), 0);
    EXPECT_EQ(test::to_pcm16(m.recording[*tail + 2]), 0);
    if (*tail + 2 == *at + n) {
        EXPECT_EQ(count_mismatches(m.recording, *at, message), 0u) << "no gap: bit-exact";
    }

    // The monitor's capture clock tells independently when each sample was rendered. Two
    // streams' delay estimates differ (PipeWire's by up to 13 ms): the tail guard, one output
    // latency, covers that.
    const double first_heard = m.record_start + static_cast<double>(*at) / 48000;
    const double last_heard = m.record_start + static_cast<double>(*tail + 2) / 48000;
    const double latency = std::chrono::duration<double>(engine.output_latency()).count();
    EXPECT_NEAR(m.times.first_dac, first_heard, latency);
    EXPECT_NEAR(m.times.end_dac, last_heard, latency);
    EXPECT_GE(m.stopped_at, last_heard);
}

TEST_F(AudioEngineTest, ARecordingStopsByItselfAtItsLongestLength) {
    AudioEngineOptions options;
    options.max_recording = 400ms;
    AudioEngine engine(options, scheduler_);
    ASSERT_TRUE(engine.has_output()) << engine.notice();
    ASSERT_TRUE(engine.CreateEmptyWave(file("rec.wav")));
    engine.OpenChannel(0, file("rec.wav"));
    engine.RecordChannel(0);
    ASSERT_EQ(engine.ChannelMode(0), mode::kRecording);
    ASSERT_TRUE(WaitFor([&] { return engine.ChannelMode(0) != mode::kRecording; }, 5s));
    EXPECT_EQ(engine.ChannelMode(0), mode::kStopped);
    EXPECT_EQ(engine.ChannelLength(0), 400);
    EXPECT_EQ(engine.ChannelPosition(0), 400);
    ASSERT_TRUE(engine.SaveChannel(0, file("take.wav")));
    const std::optional<WaveHeader> saved = ProbeWave(file("take.wav"), 1s);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->frames, engine.sample_rate() * 400 / 1000);
}

TEST_F(AudioEngineTest, PlayAgainAfterTheEndAndStopMidwayBehaveAsAPlayer) {
    AudioEngine engine(AudioEngineOptions{}, scheduler_);
    ASSERT_TRUE(engine.has_output()) << engine.notice();
    write_message("msg.wav", 4800);
    engine.OpenChannel(0, file("msg.wav"));
    for (int round = 0; round < 2; ++round) {
        engine.PlayFromStart(0);
        ASSERT_TRUE(WaitFor([&] { return engine.ChannelMode(0) == mode::kStopped; }, 5s));
        expect_played_whole(engine, 0, 100);
    }

    write_message("long.wav", 48000 * 5);
    engine.OpenChannel(1, file("long.wav"));
    engine.PlayFromStart(1);
    ASSERT_TRUE(WaitFor([&] { return engine.ChannelPosition(1) >= 200; }, 5s));
    engine.StopChannel(1);
    EXPECT_EQ(engine.ChannelMode(1), mode::kStopped);
    const std::int32_t stopped_at = engine.ChannelPosition(1);
    EXPECT_GE(stopped_at, 200);
    EXPECT_LT(stopped_at, 5000);
    test::RunFor(100ms);
    EXPECT_EQ(engine.ChannelPosition(1), stopped_at);
    EXPECT_FALSE(engine.play_times(1).finished);

    engine.CloseChannel(1);
    EXPECT_EQ(engine.ChannelMode(1), mode::kNotOpen);
    EXPECT_EQ(engine.ChannelLength(1), 0);
    engine.PlayFromStart(1);
    EXPECT_EQ(engine.ChannelMode(1), mode::kNotOpen);
    EXPECT_FALSE(engine.SaveChannel(1, file("nothing.wav")));
    EXPECT_FALSE(std::filesystem::exists(file("nothing.wav")));
}

TEST_F(AudioEngineTest, SaveRightAfterOpenWaitsForTheDecodeAndWritesEverySample) {
    AudioEngine engine(AudioEngineOptions{}, scheduler_);
    ASSERT_TRUE(engine.has_output()) << engine.notice();
    const std::vector<short> message = write_message("msg.wav", 48000 * 20);
    engine.OpenChannel(0, file("msg.wav"));
    ASSERT_TRUE(engine.SaveChannel(0, file("copy.wav")));
    EXPECT_EQ(engine.ChannelMode(0), mode::kStopped);
    EXPECT_EQ(engine.ChannelLength(0), 20000);
    const std::optional<WaveData> copy = ReadWave(file("copy.wav"));
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->samples.size(), message.size());
    EXPECT_EQ(count_mismatches(copy->samples, 0, message), 0u);

    // An edit waits for the decode too; Undo gives every sample back; a save ends the undo.
    engine.OpenChannel(1, file("msg.wav"));
    ASSERT_TRUE(engine.EditChannel(1, SampleEdit::Normalize));
    ASSERT_TRUE(engine.UndoEdit(1));
    ASSERT_TRUE(engine.SaveChannel(1, file("undone.wav")));
    EXPECT_EQ(count_mismatches(ReadWave(file("undone.wav"))->samples, 0, message), 0u);
    ASSERT_TRUE(engine.EditChannel(1, SampleEdit::Normalize));
    ASSERT_TRUE(engine.SaveChannel(1, file("loud.wav")));
    EXPECT_FALSE(engine.CanUndoEdit(1));
    const auto [low, high] = std::ranges::minmax(ReadWave(file("loud.wav"))->samples);
    EXPECT_NEAR(std::max(-low, high), 0.891f, 0.001f);  // -1 dBFS
}

TEST_F(AudioEngineTest, AScheduledPlayStartsAtItsDueTimeAfterTheIdleStreamWakes) {
    AudioEngine engine(AudioEngineOptions{}, scheduler_);
    ASSERT_TRUE(engine.has_output()) << engine.notice();
    engine.SetIdleStop(1s);  // a changed preference: the default minute is cut short
    write_message("msg.wav", 4800);
    engine.OpenChannel(0, file("msg.wav"));
    ASSERT_TRUE(WaitFor([&] { return engine.suspended(); }, 5s));
    EXPECT_EQ(engine.ChannelMode(0), mode::kStopped);

    // The key-down wakes the stream; the play is due 300 ms later (the PTT delay).
    engine.Wake();
    EXPECT_FALSE(engine.suspended());
    // The stream time of the due time is known to lie at or after this (the scheduler's clock
    // counts whole milliseconds after the stream time read before it).
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
    // Never early, and not a whole stream latency late as a play started at its due time
    // would be (the bound leaves room for a preempted test thread on a loaded machine).
    EXPECT_GE(t.first_dac, due_dac - 0.0005) << t.first_dac - due_dac;
    EXPECT_LE(t.first_dac, due_dac + 0.015) << t.first_dac - due_dac;
    EXPECT_EQ(engine.ChannelPosition(0), 100);
    EXPECT_GT(loudest, -20.0f);
    EXPECT_EQ(engine.Level(0).peak_dbfs, -std::numeric_limits<float>::infinity());

    // Quiet again a second later, until "always on" starts the stream again.
    EXPECT_TRUE(WaitFor([&] { return engine.suspended(); }, 5s));
    engine.SetIdleStop(0s);
    EXPECT_FALSE(engine.suspended());
}

/// How one odd input file is made and what a channel makes of it.
struct OddFile {
    const char* name;
    std::function<bool(const std::string& path)> make;
    std::int32_t length_ms;                   ///< -1: the channel stays "Not Open"
    OpenFailure failure = OpenFailure::None;  ///< the reason it gives then
};

/// Makes a file of a steady tone: `seconds` long, in `format`, then cut to `size` bytes if set.
std::function<bool(const std::string&)> tone(int format, int rate, double seconds,
                                             std::optional<std::uintmax_t> size = {}) {
    return [=](const std::string& path) {
        std::vector<short> s(static_cast<std::size_t>(rate * seconds));
        for (std::size_t i = 0; i < s.size(); ++i) {
            s[i] = static_cast<short>(8000 * std::sin(static_cast<double>(i) * 0.05));
        }
        const bool ok = test::write_sound_file(path, format, rate, 1, s);
        if (ok && size) {
            std::filesystem::resize_file(path, *size);
        }
        return ok;
    };
}

TEST_F(AudioEngineTest, OddFilesPlayCorrectlyOrStayNotOpen) {
    constexpr int kPcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    constexpr int kPcm8 = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
    const std::vector<OddFile> files = {
        {"empty", tone(kPcm16, 48000, 1.0, 0), -1, OpenFailure::NotSound},
        {"missing", [](const std::string& p) { return std::filesystem::remove(p); }, -1,
         OpenFailure::NotFound},
        {"truncated", tone(kPcm16, 48000, 1.0, 44 + 2 * 12000), 250},
        {"header only", tone(kPcm16, 48000, 1.0, 30), -1, OpenFailure::NotSound},
        {"no samples", tone(kPcm16, 48000, 0), 0},
        {"8-bit", tone(kPcm8, 22050, 0.4), 400},
        {"96 kHz", tone(kPcm16, 96000, 0.25), 250},
        {"one hour", tone(kPcm8, 8000, 3600.0), -1, OpenFailure::TooLong},
        // Last: nothing is written to the name once it is a directory or a FIFO. Neither is a
        // file that opens.
        {"directory",
         [](const std::string& p) {
             return std::filesystem::remove(p) && std::filesystem::create_directory(p);
         },
         -1, OpenFailure::NotFound},
        {"FIFO without a writer",
         [](const std::string& p) {
             return std::filesystem::remove(p) && mkfifo(p.c_str(), 0600) == 0;
         },
         -1, OpenFailure::NotFound},
    };
    // A FIFO that blocks the open ends the test here instead of hanging it.
    alarm(120);
    AudioEngine engine(AudioEngineOptions{}, scheduler_);
    ASSERT_TRUE(engine.has_output()) << engine.notice();
    for (const OddFile& f : files) {
        SCOPED_TRACE(f.name);
        const std::string path = file("odd.wav");
        ASSERT_TRUE(f.make(path));
        engine.CloseChannel(0);
        engine.OpenChannel(0, path);
        if (f.length_ms < 0) {
            EXPECT_EQ(engine.ChannelMode(0), mode::kNotOpen);
            EXPECT_EQ(engine.LastOpenFailure(0), f.failure);
            engine.PlayFromStart(0);
            EXPECT_EQ(engine.ChannelMode(0), mode::kNotOpen);
            continue;
        }
        // Played at once: the decode may still be running on its worker thread.
        ASSERT_EQ(engine.ChannelMode(0), mode::kStopped);
        EXPECT_EQ(engine.LastOpenFailure(0), OpenFailure::None);
        engine.PlayFromStart(0);
        EXPECT_EQ(engine.ChannelMode(0), mode::kPlaying);
        ASSERT_TRUE(WaitFor([&] { return engine.ChannelMode(0) == mode::kStopped; }, 5s));
        expect_played_whole(engine, 0, f.length_ms);
    }
    alarm(0);
}

TEST_F(AudioEngineTest, WithoutAnySoundDeviceChannelsStayNotOpen) {
    // With no PulseAudio server reachable, a machine without a sound card has no device left.
    const std::string server = std::getenv("PULSE_SERVER");
    setenv("PULSE_SERVER", ("unix:" + file("no_such_socket")).c_str(), 1);
    if (!AudioEngine::OutputDeviceNames().empty()) {
        setenv("PULSE_SERVER", server.c_str(), 1);
        GTEST_SKIP() << "this machine has a sound card of its own";
    }
    {
        AudioEngine engine(AudioEngineOptions{}, scheduler_);
        EXPECT_FALSE(engine.has_output());
        EXPECT_EQ(engine.notice(), "No sound device: messages cannot be played");
        write_message("msg.wav", 4800);
        engine.OpenChannel(0, file("msg.wav"));
        EXPECT_EQ(engine.ChannelMode(0), mode::kNotOpen);
        EXPECT_EQ(engine.LastOpenFailure(0), OpenFailure::NoDevice);
        engine.PlayFromStart(0);
        engine.RecordChannel(0);
        EXPECT_EQ(engine.ChannelMode(0), mode::kNotOpen);
        EXPECT_TRUE(engine.CreateEmptyWave(file("temp.wav")));
        EXPECT_TRUE(ReadWave(file("temp.wav")));
    }
    setenv("PULSE_SERVER", server.c_str(), 1);
}

TEST_F(AudioEngineTest, ANamedDeviceThatIsGoneFallsBackToTheDefault) {
    const std::vector<std::string> outputs = AudioEngine::OutputDeviceNames();
    EXPECT_NE(std::find(outputs.begin(), outputs.end(), "pulse"), outputs.end());
    EXPECT_FALSE(AudioEngine::InputDeviceNames().empty());

    AudioEngine named(AudioEngineOptions{"pulse", "pulse"}, scheduler_);
    EXPECT_TRUE(named.has_output());
    EXPECT_EQ(named.notice(), "");
    AudioEngine gone(AudioEngineOptions{"USB Audio CODEC gone", ""}, scheduler_);
    EXPECT_TRUE(gone.has_output());
    EXPECT_EQ(gone.notice(), "Sound device not found: using the default");
}

TEST_F(AudioEngineTest, ADeviceLostMidMessageEndsThePlay) {
    // A second daemon of our own, so the fixture's one lives on.
    const std::string dir = (dir_ / "pulse").string();
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
