// Round trip of a logger's key: `parlomat --play 1` started as a process → the PTT line raised
// by the running keyer; and the same through the control socket alone ("PLAY 1" written by a
// program already connected), which is what a logger speaking the protocol pays. The keyer runs
// offscreen on a station directory of its own, its COM1 a pseudo-terminal whose modem lines the
// preloaded shim emulates (the benchmark reads DTR from the shim's shared state), its sound card a
// private PulseAudio null sink.
//
//   remote_timing [RUNS]     20 runs unless told; prints each run and the summary, in ms
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/serial/modem_shim.h"
#include "sim/sim_channels.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Summary {
    double median, p95, min, max;
};

Summary Summarize(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {median, times[std::size_t(0.95 * double(n - 1))], times.front(), times.back()};
}

void Print(const char* what, const std::vector<double>& times) {
    if (times.empty()) {
        std::printf("%s: no run keyed\n", what);
        return;
    }
    const Summary s = Summarize(times);
    std::printf("%s, %zu runs: median %.2f ms, p95 %.2f, min %.2f, max %.2f\n", what, times.size(),
                s.median, s.p95, s.min, s.max);
}

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool dtr(const ModemShimState* shim) {
    return (__atomic_load_n(&shim->outputs, __ATOMIC_SEQ_CST) & TIOCM_DTR) != 0;
}

/// Waits until DTR reads `high`, polling every 50 µs; false after 5 s.
bool wait_dtr(const ModemShimState* shim, bool high) {
    const auto start = Clock::now();
    while (dtr(shim) != high) {
        if (ms_since(start) > 5000) {
            return false;
        }
        usleep(50);
    }
    return true;
}

int run_client(const QProcessEnvironment& env, const QStringList& arguments) {
    QProcess client;
    client.setProcessEnvironment(env);
    client.start(PARLOMAT_PROGRAM, arguments);
    client.waitForFinished(10000);
    return client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    char pattern[] = "/tmp/parlomat-remote-bench-XXXXXX";
    const std::filesystem::path dir = mkdtemp(pattern);
    const std::string scripts = PARLOMAT_PULSE_SCRIPTS;
    const std::string pulse_dir = (dir / "pulse").string();
    if (std::system((scripts + "/pulse_start.sh " + pulse_dir + " >/dev/null").c_str()) != 0) {
        std::fprintf(stderr, "remote_timing: could not start the PulseAudio null sink\n");
        return 1;
    }

    const std::string state_path = (dir / "modem.state").string();
    const int fd = open(state_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || ftruncate(fd, sizeof(ModemShimState)) != 0) {
        return 1;
    }
    auto* shim = static_cast<ModemShimState*>(
        mmap(nullptr, sizeof(ModemShimState), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
    close(fd);
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (shim == MAP_FAILED || master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        return 1;
    }
    std::strncpy(shim->device, ptsname(master), sizeof shim->device - 1);

    const auto station = dir / "station";
    const auto run_dir = dir / "run";
    std::filesystem::create_directories(station);
    std::filesystem::create_directories(run_dir);
    std::filesystem::permissions(run_dir, std::filesystem::perms::owner_all);
    parlomat::SimChannels::WriteSilence((station / "msg1.wav").string(), 30000);
    std::ofstream((station / "parlomat.ini").string())
        << "[Ports]\nCOM1=" << shim->device << "\n[MSG Config]\nMSG1=msg1.wav\n";

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(run_dir.string()));
    env.insert("PULSE_SERVER", QString::fromStdString("unix:" + pulse_dir + "/run/pulse/native"));
    env.insert("LD_PRELOAD", PARLOMAT_SHIM);
    env.insert(PARLOMAT_MODEM_SHIM_ENV, QString::fromStdString(state_path));
    const QString station_dir = QString::fromStdString(station.string());

    QProcess keyer;
    keyer.setProcessEnvironment(env);
    keyer.setStandardErrorFile(QString::fromStdString((dir / "keyer.log").string()));
    keyer.start(PARLOMAT_PROGRAM, {"--dir", station_dir});
    // Until the socket answers, then one command dismisses the start-up window.
    const QStringList status{"--dir", station_dir, "--status"};
    for (int i = 0; i < 200 && run_client(env, status) != 0; ++i) {
        QThread::msleep(50);
    }
    run_client(env, {"--dir", station_dir, "--stop"});
    QThread::msleep(1000);

    std::vector<double> times;
    const QStringList play{"--dir", station_dir, "--play", "1"};
    const QStringList stop{"--dir", station_dir, "--stop"};
    for (int i = 0; i < runs; ++i) {
        QProcess client;
        client.setProcessEnvironment(env);
        const auto start = Clock::now();
        client.start(PARLOMAT_PROGRAM, play);
        const bool keyed = wait_dtr(shim, true);
        const double ms = ms_since(start);
        client.waitForFinished(10000);
        if (!keyed || client.exitCode() != 0) {
            std::fprintf(stderr, "run %d: no key (exit %d)\n", i + 1, client.exitCode());
            continue;
        }
        times.push_back(ms);
        std::printf("run %2d: %.2f ms\n", i + 1, ms);
        run_client(env, stop);
        wait_dtr(shim, false);
        QThread::msleep(300);
    }

    // The protocol alone: one connection, a line per run.
    std::vector<double> socket_times;
    const QDir sockets(QString::fromStdString(run_dir.string()));
    const QStringList names = sockets.entryList({"parlomat-*.sock"}, QDir::System);
    QLocalSocket socket;
    if (!names.isEmpty()) {
        socket.connectToServer(sockets.filePath(names.first()));
        socket.waitForConnected(1000);
    }
    for (int i = 0; i < runs && socket.state() == QLocalSocket::ConnectedState; ++i) {
        const auto start = Clock::now();
        socket.write("PLAY 1\n");
        socket.flush();
        const bool keyed = wait_dtr(shim, true);
        const double ms = ms_since(start);
        while (!socket.canReadLine() && socket.waitForReadyRead(1000)) {
        }
        socket.readAll();
        if (keyed) {
            socket_times.push_back(ms);
        }
        socket.write("STOP\n");
        socket.flush();
        while (!socket.canReadLine() && socket.waitForReadyRead(1000)) {
        }
        socket.readAll();
        wait_dtr(shim, false);
        QThread::msleep(300);
    }

    keyer.terminate();
    keyer.waitForFinished(5000);
    std::system((scripts + "/pulse_stop.sh " + pulse_dir + " >/dev/null 2>&1").c_str());
    close(master);
    std::filesystem::remove_all(dir);
    Print("parlomat --play 1 started -> PTT keyed", times);
    Print("\"PLAY 1\" written to the socket -> PTT keyed", socket_times);
    return times.empty() ? 1 : 0;
}
