// Keyed transmissions on the real audio path: a private PulseAudio null sink, the real Keyer on
// QtScheduler, the audio engine, and a serial port fake that timestamps the PTT line. The same
// run also starts `aplay` after the same PTT delay, as station scripts do, and both onsets are
// taken from one capture of the sink's monitor.
//
// Usage: ptt_timing [runs=100] [idle seconds=30] [suggested output latency ms=0: the device's
//        default] [frames per buffer=0: PortAudio chooses] [audio idle s=6: longer than a run]
// After the runs the stream is left to suspend ("Audio Idle"); the idle CPU is measured then, and
// one more transmission shows the onset of a message after a suspended idle.

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/keyer/station.h"
#include "platform/audio_engine.h"
#include "platform/qt_scheduler.h"
#include "platform/wave_file.h"

namespace parlomat::bench {
namespace {

constexpr double kPttDelay = 0.300;  // s
constexpr int kRate = 48000;

class StampingSerialPort final : public SerialPort {
  public:
    void set_port_number(std::int16_t number) override { number_ = number; }
    std::int16_t port_number() const override { return number_; }
    void set_line(const SerialLine&) override {}
    void set_dtr(bool on) override { change(dtr_, on); }
    void set_rts(bool on) override { change(rts_, on); }
    bool open(SerialError&) override {
        open_ = true;
        return true;
    }
    bool is_open() const override { return open_; }
    bool cts() const override { return false; }
    bool dsr() const override { return false; }
    void set_lost_handler(std::function<void()>) override {}

    std::vector<double> keyed;
    std::vector<double> released;

  private:
    void change(bool& line, bool on) {
        if (line == on || !open_) {
            return;
        }
        line = on;
        (on ? keyed : released).push_back(now_s());
    }
    std::int16_t number_ = 1;
    bool open_ = false;
    bool dtr_ = false;
    bool rts_ = false;
};

class QuietDialogs final : public Dialogs {
  public:
    MsgReply message_box(MsgIcon, const std::string&, const std::string&,
                         MsgButtons buttons) override {
        return buttons == MsgButtons::YesNo ? MsgReply::Yes : MsgReply::Ok;
    }
    std::optional<std::string> file_dialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    void beep(BeepSound) override {}
};

class QuietLauncher final : public Launcher {
  public:
    bool program_exists(const std::string&) const override { return false; }
    bool start(const std::string&) override { return false; }
    bool open_url(const std::string&) override { return false; }
};

class QuietView final : public MainWindowView {
  public:
    void slot_changed(int, SlotField, const SlotLook&) override {}
    void frame_changed(FrameField, const FrameLook&) override {}
    void panel_changed(Panel, const std::string&) override {}
    void button_changed(Button, bool) override {}
    void check_changed(Check, bool) override {}
    void window_changed(Window, bool) override {}
    void show_modal(Window) override {}
    void program_ended() override {}
};

/// Passes every call to the engine and notes when the keyer first sees channel 0 "Stopped".
class StopWatchChannels final : public WaveChannels {
  public:
    explicit StopWatchChannels(AudioEngine& engine) : engine_(engine) {}
    void watch() {
        stopped_at = 0;
        watching_ = true;
    }
    mutable double stopped_at = 0;  ///< now_s() of the first "Stopped" after a play

    void set_listener(ChannelListener* l) override { engine_.set_listener(l); }
    void PrepareChannels() override { engine_.PrepareChannels(); }
    void OpenChannel(int i, const std::string& p) override { engine_.OpenChannel(i, p); }
    OpenFailure LastOpenFailure(int i) const override { return engine_.LastOpenFailure(i); }
    void CloseChannel(int i) override { engine_.CloseChannel(i); }
    ChannelState ChannelMode(int i) const override {
        const ChannelState m = engine_.ChannelMode(i);
        if (watching_ && i == 0 && m == mode::kStopped && stopped_at == 0) {
            stopped_at = now_s();
        }
        return m;
    }
    std::int32_t ChannelLength(int i) const override { return engine_.ChannelLength(i); }
    std::int32_t ChannelPosition(int i) const override { return engine_.ChannelPosition(i); }
    void SetUpdateInterval(int i, std::int16_t ms) override { engine_.SetUpdateInterval(i, ms); }
    void PlayFromStart(int i) override {
        engine_.PlayFromStart(i);
        watch();
    }
    void StopChannel(int i) override { engine_.StopChannel(i); }
    void RecordChannel(int i) override { engine_.RecordChannel(i); }
    bool SaveChannel(int i, const std::string& p) override { return engine_.SaveChannel(i, p); }
    bool CreateEmptyWave(const std::string& p) override { return engine_.CreateEmptyWave(p); }
    ChannelLevel Level(int i) const override { return engine_.Level(i); }
    void Wake() override { engine_.Wake(); }
    void ScheduleStart(int i, Ms due) override { engine_.ScheduleStart(i, due); }

  private:
    AudioEngine& engine_;
    bool watching_ = false;
};

/// Runs the Qt event loop until `done` or `limit` seconds; a 2 ms heartbeat rechecks `done`.
bool run_until(const std::function<bool()>& done, double limit) {
    QEventLoop loop;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    beat.setInterval(2);
    const double end = now_s() + limit;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        if (done() || now_s() > end) {
            loop.quit();
        }
    });
    beat.start();
    if (!done()) {
        loop.exec();
    }
    return done();
}

void wait_s(double seconds) {
    run_until([] { return false; }, seconds);
}

bool write_message(const std::string& path) {
    std::vector<std::int16_t> s(kRate);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double v = 8000 * std::sin(2 * M_PI * 700 * static_cast<double>(i) / kRate);
        s[i] = static_cast<std::int16_t>(std::lround(v) >= 0 ? std::lround(v) + 200
                                                             : std::lround(v) - 200);
    }
    return WriteWave16(path, s, kRate);
}

/// Offset that turns the engine's stream time into now_s() time.
double engine_to_steady(const AudioEngine& engine) {
    double best_span = 1e9;
    double offset = 0;
    for (int k = 0; k < 5; ++k) {
        const double before = now_s();
        const double stream_time = engine.stream_time();
        const double after = now_s();
        if (after - before < best_span) {
            best_span = after - before;
            offset = (before + after) / 2 - stream_time;
        }
    }
    return offset;
}

void print(const char* what, const std::vector<double>& seconds) {
    const Summary s = Summarise(seconds);
    std::printf("%-44s n=%3zu  median %8.2f  p95 %8.2f  min %8.2f  max %8.2f  ms\n", what,
                seconds.size(), s.median * 1e3, s.p95 * 1e3, s.min * 1e3, s.max * 1e3);
}

}  // namespace

int Main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 100;
    const double idle_seconds = argc > 2 ? std::atof(argv[2]) : 30.0;
    const int latency_ms = argc > 3 ? std::atoi(argv[3]) : 0;
    const long frames_per_buffer = argc > 4 ? std::atol(argv[4]) : 0;
    const int audio_idle_s = argc > 5 ? std::atoi(argv[5]) : 6;

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "parlomat_ptt_timing";
    const std::string pulse_dir = (dir / "pulse").string();
    const std::string scripts = PARLOMAT_PULSE_SCRIPTS;
    if (std::system((scripts + "/pulse_start.sh " + pulse_dir).c_str()) != 0) {
        std::fprintf(stderr, "ptt_timing: could not start the PulseAudio null sink\n");
        return 1;
    }
    setenv("PULSE_SERVER", ("unix:" + pulse_dir + "/run/pulse/native").c_str(), 1);
    // The pulse directory is left to the scripts: it holds the daemon's pid file.
    const std::string station = (dir / "station").string();
    std::filesystem::remove_all(station);
    std::filesystem::create_directories(station);
    const std::string message = station + "/msg.wav";
    write_message(message);
    std::ofstream(station + "/parlomat.ini")
        << "[Preference]\nPTT Delay=300\n[MSG Config]\nMSG1=msg.wav\nDelay1=0\nLoop1=False\n";

    int status = 0;
    {
        AudioEngineOptions options;
        options.latency = std::chrono::milliseconds{latency_ms};
        options.frames_per_buffer = static_cast<unsigned long>(frames_per_buffer);
        options.idle_stop = std::chrono::seconds{audio_idle_s};
        QtScheduler scheduler;
        AudioEngine engine(options, scheduler);
        if (!engine.has_output()) {
            std::fprintf(stderr, "ptt_timing: no output stream: %s\n", engine.notice().c_str());
            status = 1;
        }
        std::optional<MonitorCapture> capture;
        capture.emplace();
        MonitorCapture& monitor = *capture;
        if (status == 0 && !monitor.ok()) {
            std::fprintf(stderr, "ptt_timing: cannot capture the monitor\n");
            status = 1;
        }
        StopWatchChannels channels(engine);
        StampingSerialPort port;
        NoLinkServer link;
        QuietDialogs dialogs;
        QuietLauncher launcher;
        QuietView view;
        Station assembly(
            KeyerPorts{scheduler, channels, port, link, dialogs, launcher, view, nullptr, station});
        Keyer& keyer = assembly.keyer;
        keyer.Show();
        // The null sink starts with a stall; let the stream run steadily first.
        wait_s(1.0);
        const std::uint64_t underflows_before = engine.underflows();
        const std::uint64_t buffers_before = engine.buffers_rendered();
        const double run_start = now_s();

        std::vector<double> onset_engine, onset_monitor, onset_aplay, tail_engine, tail_monitor,
            unkey_engine, unkey_monitor;
        for (int run = 0; status == 0 && run < runs; ++run) {
            // The keyer: Start keys the line, the PTT delay runs, the message plays, the
            // status tick sees "Stopped" and unkeys.
            monitor.arm();
            const std::size_t keys = port.keyed.size();
            const std::size_t releases = port.released.size();
            keyer.cmdStart_Click();
            if (!run_until([&] { return port.released.size() > releases; }, 5.0) ||
                port.keyed.size() != keys + 1) {
                std::fprintf(stderr, "ptt_timing: run %d did not key and release\n", run);
                status = 1;
                break;
            }
            wait_s(0.05);
            const double key = port.keyed.back();
            const double release = port.released.back();
            const AudioEngine::PlayTimes t = engine.play_times(0);
            const double to_steady = engine_to_steady(engine);
            const double first_dac = t.first_dac + to_steady;
            const double end_dac = t.end_dac + to_steady;
            onset_engine.push_back(first_dac - (key + kPttDelay));
            tail_engine.push_back(channels.stopped_at - end_dac);
            unkey_engine.push_back(release - end_dac);
            if (monitor.first_sound() && monitor.last_sound_end()) {
                onset_monitor.push_back(*monitor.first_sound() - (key + kPttDelay));
                tail_monitor.push_back(channels.stopped_at - *monitor.last_sound_end());
                unkey_monitor.push_back(release - *monitor.last_sound_end());
            }
            wait_s(0.25);

            // The script way: key, sleep the PTT delay, start aplay.
            monitor.arm();
            const double script_key = now_s();
            wait_s(kPttDelay);
            QProcess aplay;
            aplay.start("aplay", {"-q", QString::fromStdString(message)});
            run_until([&] { return aplay.state() == QProcess::NotRunning; }, 10.0);
            aplay.waitForFinished(5000);
            if (monitor.first_sound()) {
                onset_aplay.push_back(*monitor.first_sound() - (script_key + kPttDelay));
            }
            wait_s(0.25);
        }

        if (status == 0) {
            std::printf("ptt_timing: %d keyed transmissions of a 1 s message, PTT delay 300 ms\n",
                        runs);
            std::printf("stream: %d Hz, reported output latency %.2f ms\n", engine.sample_rate(),
                        static_cast<double>(engine.output_latency().count()) / 1e3);
            const double span = now_s() - run_start;
            std::printf("buffers: %.1f per second; dropouts (late buffers) during the runs: %llu\n",
                        static_cast<double>(engine.buffers_rendered() - buffers_before) / span,
                        static_cast<unsigned long long>(engine.underflows() - underflows_before));
            print("onset error, engine DAC time", onset_engine);
            print("onset error, monitor capture", onset_monitor);
            print("onset error, aplay after delay (monitor)", onset_aplay);
            const double ours = Summarise(onset_monitor).median;
            const double theirs = Summarise(onset_aplay).median;
            std::printf("onset ratio aplay/engine (medians, monitor): %.1f\n",
                        ours > 0 ? theirs / ours : 0.0);
            print("tail margin, engine DAC time", tail_engine);
            print("tail margin, monitor capture", tail_monitor);
            int non_negative = 0;
            for (double v : tail_engine) {
                non_negative += v >= 0 ? 1 : 0;
            }
            std::printf("tail margin >= 0 (engine DAC time): %d of %zu\n", non_negative,
                        tail_engine.size());
            non_negative = 0;
            for (double v : tail_monitor) {
                non_negative += v >= 0 ? 1 : 0;
            }
            std::printf("tail margin >= 0 (monitor capture): %d of %zu\n", non_negative,
                        tail_monitor.size());
            print("unkey lag, engine DAC time", unkey_engine);
            print("unkey lag, monitor capture", unkey_monitor);
        }
        // Idle: the keyer and the engine run on (clock and status timers) and the output stream
        // suspends after its idle time; the monitor capture is closed meanwhile.
        capture.reset();
        if (status == 0 && audio_idle_s > 0 &&
            !run_until([&] { return engine.suspended(); }, audio_idle_s + 5.0)) {
            std::fprintf(stderr, "ptt_timing: the output stream did not suspend\n");
            status = 1;
        }
        if (status == 0 && idle_seconds > 0) {
            const double cpu_before = ProcessCpuSeconds();
            const double wall_before = now_s();
            QEventLoop idle;
            QTimer::singleShot(static_cast<int>(idle_seconds * 1000), &idle, &QEventLoop::quit);
            idle.exec();
            const double cpu = ProcessCpuSeconds() - cpu_before;
            const double wall = now_s() - wall_before;
            std::printf(
                "idle CPU of the running program over %.1f s (output %s): %.3f %% of one "
                "core\n",
                wall, engine.suspended() ? "suspended" : "running", 100.0 * cpu / wall);
        }
        // The first message after the suspended idle: the key-down restarts the stream.
        capture.emplace();
        if (status == 0 && capture->ok() && engine.suspended()) {
            wait_s(0.5);
            capture->arm();
            const std::size_t releases = port.released.size();
            keyer.cmdStart_Click();
            if (run_until([&] { return port.released.size() > releases; }, 5.0) &&
                capture->first_sound()) {
                wait_s(0.05);
                const double onset = *capture->first_sound() - (port.keyed.back() + kPttDelay);
                const double to_steady = engine_to_steady(engine);
                std::printf(
                    "onset after a suspended idle: monitor %.2f ms, engine DAC time "
                    "%.2f ms; tail margin (monitor) %.2f ms\n",
                    onset * 1e3,
                    (engine.play_times(0).first_dac + to_steady - (port.keyed.back() + kPttDelay)) *
                        1e3,
                    (channels.stopped_at - *capture->last_sound_end()) * 1e3);
            } else {
                std::fprintf(stderr, "ptt_timing: the message after the idle was not heard\n");
                status = 1;
            }
        }
    }
    std::system((scripts + "/pulse_stop.sh " + pulse_dir).c_str());
    return status;
}

}  // namespace parlomat::bench

int main(int argc, char** argv) {
    return parlomat::bench::Main(argc, argv);
}
