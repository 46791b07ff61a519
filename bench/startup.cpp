// Start-up, idle CPU and memory of the whole program on its real adapters.
//
//   startup_bench --prepare DIR     writes six 30 s messages and a last configuration into DIR
//   startup_bench DIR [IDLE_S]      starts the program on DIR, clicks the start-up window, waits
//                                   for the main window's first paint, lets 10 s pass, then
//                                   measures IDLE_S seconds of idling
//
// Run it through bench/startup.sh, which provides an X server and a sound server.
#include <sndfile.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "ui/splash_window.h"

namespace {

using namespace std::chrono;

constexpr int kRate = 44100;
constexpr int kSeconds = 30;
constexpr int kSettleSeconds = 10;

/// Real-time clock, ns.
std::int64_t wall_ns() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return std::int64_t(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

/// Milliseconds since this process was started: from the launcher's stamp when it gave one
/// (PARLOMAT_BENCH_T0_NS, wall-clock ns taken just before exec), else from /proc (10 ms steps).
double process_age_ms() {
    if (const char* t0 = std::getenv("PARLOMAT_BENCH_T0_NS")) {
        return double(wall_ns() - std::stoll(t0)) / 1e6;
    }
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long start_ticks = 0;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22) {
            start_ticks = std::stoull(field);
        }
    }
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    return (uptime - double(start_ticks) / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// CPU seconds each thread of this process has used, by thread name.
std::map<std::string, double> thread_cpu() {
    std::map<std::string, double> result;
    const double tick = double(sysconf(_SC_CLK_TCK));
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream stat(task.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const auto open = text.find('(');
        const auto close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos) {
            continue;
        }
        const std::string name = text.substr(open + 1, close - open - 1);
        std::istringstream fields(text.substr(close + 2));
        std::string field;
        double ticks = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i == 14 || i == 15) {
                ticks += std::stod(field);
            }
        }
        result[name + " " + task.path().filename().string()] += ticks / tick;
    }
    return result;
}

/// A value in kB from /proc/self/status ("VmRSS", "VmHWM").
long status_kb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::atol(line.c_str() + key.size() + 1);
        }
    }
    return -1;
}

bool write_message(const std::string& path, double tone_hz) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        return false;
    }
    std::vector<short> samples(std::size_t(kRate) * kSeconds);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = short(8000 * std::sin(2 * M_PI * tone_hz * double(i) / kRate));
    }
    const bool ok = sf_write_short(file, samples.data(), sf_count_t(samples.size())) ==
                    sf_count_t(samples.size());
    sf_close(file);
    return ok;
}

int prepare(const std::string& dir) {
    std::ofstream ini(dir + "/parlomat.ini", std::ios::trunc);
    // A short "Audio Idle", so the idle measurement (after the output stream has suspended)
    // starts soon. No interrupt line: a serial port with nothing attached may read CTS high, and
    // the keyer would then run Stop at every clock tick (set PARLOMAT_BENCH_PTT_INT=CTS to see it).
    const char* interrupt = std::getenv("PARLOMAT_BENCH_PTT_INT");
    ini << "[Preference]\nPTT Delay=100\nComm Port=1\nAudio Idle=10\nPTT Int="
        << (interrupt != nullptr ? interrupt : "") << "\n[MSG Config]\n";
    for (int n = 1; n <= 6; ++n) {
        const std::string name = "message" + std::to_string(n) + ".wav";
        if (!write_message(dir + "/" + name, 400.0 + 100.0 * n)) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            return 1;
        }
        ini << "MSG" << n << "=" << name << "\nDelay" << n << "=0\nLoop" << n << "=False\n";
    }
    return ini ? 0 : 1;
}

/// Notes the first paint of the start-up window and of the main window.
class PaintWatch : public QObject {
  public:
    std::int64_t splash_painted = 0;
    std::int64_t main_painted = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (!splash_painted && watched->objectName() == "frmSplash") {
                splash_painted = wall_ns();
            } else if (!main_painted && watched->objectName() == "frmMainScreen") {
                main_painted = wall_ns();
            }
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::string(argv[1]) == "--prepare") {
        return prepare(argv[2]);
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_bench [--prepare] DIR [IDLE_SECONDS]\n");
        return 2;
    }
    const double age_at_main = process_age_ms();
    const std::int64_t main_entered = wall_ns();
    const int idle_seconds = argc > 2 ? std::atoi(argv[2]) : 60;

    QApplication app(argc, argv);
    PaintWatch watch;
    app.installEventFilter(&watch);
    parlomat::Program program(argv[1]);
    std::int64_t clicked = 0;
    std::int64_t shown = 0;
    QObject::connect(&program.window(), &parlomat::MainWindow::main_shown,
                     [&] { shown = wall_ns(); });
    program.start();

    // Click the start-up window as soon as it has painted itself.
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!clicked && watch.splash_painted) {
            if (auto* splash = program.window().splash_window()) {
                const QPointF at(splash->width() / 2.0, splash->height() / 2.0);
                QMouseEvent release(QEvent::MouseButtonRelease, at, splash->mapToGlobal(at),
                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                clicked = wall_ns();
                QApplication::sendEvent(splash, &release);
            }
        }
        // A message box of the load sequence (a serial port held by another program, say)
        // would wait for an operator: answer it, and say so.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::printf("answered a message box at start-up:      \"%s\"\n",
                        box->text().toLocal8Bit().constData());
            box->done(QMessageBox::Ok);
        }
        if (watch.main_painted) {
            poll.stop();
            app.removeEventFilter(&watch);
            app.exit(0);
        }
    });
    poll.start();
    app.exec();

    const auto ms = [](std::int64_t from, std::int64_t to) { return double(to - from) / 1e6; };
    std::printf("process start -> main():                 %8.1f ms\n", age_at_main);
    std::printf("main() -> start-up window painted:       %8.1f ms\n",
                ms(main_entered, watch.splash_painted));
    std::printf("click -> load sequence done (shown):     %8.1f ms\n", ms(clicked, shown));
    std::printf("click -> main window painted:            %8.1f ms\n",
                ms(clicked, watch.main_painted));
    std::printf("process start -> main window painted:    %8.1f ms (click included)\n",
                age_at_main + ms(main_entered, watch.main_painted));
    std::printf("output device:                           %s\n",
                program.audio().has_output() ? "yes" : "none (channels stay Not Open)");
    int loaded = 0;
    for (int i = 0; i < 6; ++i) {
        loaded += program.audio().ChannelMode(i) == parlomat::mode::kStopped ? 1 : 0;
    }
    std::printf("messages open after start-up:            %8d of 6\n", loaded);
    std::printf("resident memory after start-up:          %8.1f MB\n", status_kb("VmRSS") / 1024.0);
    std::fflush(stdout);

    // The first seconds after start-up finish the work the load started (decoding the
    // messages); they are measured on their own, then the idle period proper.
    const double settle_before = cpu_seconds();
    QTimer::singleShot(kSettleSeconds * 1000, &app, [&] { app.exit(0); });
    app.exec();
    std::printf("CPU in the %d s after start-up:           %8.3f %% of one core\n", kSettleSeconds,
                100.0 * (cpu_seconds() - settle_before) / kSettleSeconds);

    // Idle proper begins once the output stream has suspended itself.
    QElapsedTimer waiting;
    waiting.start();
    QTimer suspended;
    suspended.setInterval(100);
    QObject::connect(&suspended, &QTimer::timeout, [&] {
        if (program.audio().suspended() || !program.audio().has_output() ||
            waiting.elapsed() > 30'000) {
            app.exit(0);
        }
    });
    suspended.start();
    app.exec();
    suspended.stop();
    std::printf("output stream suspended after:           %8.1f s more (%s)\n",
                double(waiting.elapsed()) / 1000.0,
                program.audio().suspended() ? "suspended" : "still running");

    const double cpu_before = cpu_seconds();
    const auto threads_before = thread_cpu();
    QElapsedTimer idle;
    idle.start();
    QTimer::singleShot(idle_seconds * 1000, &app, [&] { app.exit(0); });
    app.exec();
    const double cpu_used = cpu_seconds() - cpu_before;
    const double elapsed = double(idle.elapsed()) / 1000.0;
    std::printf("idle CPU over %5.1f s:                   %8.3f %% of one core\n", elapsed,
                100.0 * cpu_used / elapsed);
    for (const auto& [name, seconds] : thread_cpu()) {
        const auto before = threads_before.find(name);
        const double used = seconds - (before == threads_before.end() ? 0.0 : before->second);
        if (used > 0) {
            std::printf("  thread %-28s %8.3f %% of one core\n", name.c_str(),
                        100.0 * used / elapsed);
        }
    }
    std::printf("resident memory after idling:            %8.1f MB (peak %.1f MB)\n",
                status_kb("VmRSS") / 1024.0, status_kb("VmHWM") / 1024.0);
    return 0;
}
