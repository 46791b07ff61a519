#pragma once

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/settings/temp_dir.h"
#include "platform/serial/modem_line.h"
#include "sim/sim_channels.h"

namespace parlomat::test {

/// What one run of the command-line client returned.
struct ClientRun {
    int exit_code = -1;
    QString out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

/// The real program, started offscreen on station directories of the test's own, with its own
/// runtime directory for the control sockets. COM1 of a station can be a pseudo-terminal whose
/// modem lines the preloaded shim emulates, so the test reads the PTT line itself; the sound
/// card is the audio tests' PulseAudio null sink when it runs.
class KeyerProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto run = root_.path() / "run";
        std::filesystem::create_directory(run);
        std::filesystem::permissions(run, std::filesystem::perms::owner_all);
        const auto state = root_.file("modem.state");
        ASSERT_TRUE(line_.open(state));

        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("QT_QPA_PLATFORM", "offscreen");
        env_.insert("XDG_RUNTIME_DIR", QString::fromStdString(run.string()));
        env_.insert("LD_PRELOAD", PARLOMAT_SERIAL_PRELOAD);
        env_.insert(PARLOMAT_MODEM_SHIM_ENV, QString::fromStdString(state));
        const QString pulse = PARLOMAT_PULSE_DIR "/run/pulse/native";
        env_.insert("PULSE_SERVER", QFile::exists(pulse) ? "unix:" + pulse : "unix:/nonexistent");
    }

    void TearDown() override {
        for (auto& process : processes_) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    /// A station directory `name` with a 30 s message in slot 1; COM1 is the shim's line, or a
    /// device that does not exist (the start then stops at the "Comm Port Error" box).
    QString station(const std::string& name, bool working_port = true) {
        const auto dir = root_.path() / name;
        std::filesystem::create_directories(dir);
        SimChannels::WriteSilence((dir / "msg1.wav").string(), 30000);
        std::ofstream((dir / "parlomat.ini").string())
            << "[Ports]\nCOM1=" << (working_port ? line_.tty : "/nonexistent/tty")
            << "\n[Preference]\nPTT Delay=10\n[MSG Config]\nMSG1=msg1.wav\n";
        return QString::fromStdString(dir.string());
    }

    /// Runs the command-line client and waits for it.
    ClientRun client(const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(env_);
        process.start(PARLOMAT_PROGRAM, arguments);
        EXPECT_TRUE(process.waitForFinished(10000)) << arguments.join(' ').toStdString();
        ClientRun run;
        run.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        run.err = QString::fromUtf8(process.readAllStandardError()).trimmed();
        return run;
    }

    ClientRun status(const QString& dir) { return client({"--dir", dir, "--status"}); }

    /// Starts the keyer on `dir` and waits until its control socket answers.
    QProcess& launch(const QString& dir) {
        auto& process = *processes_.emplace_back(std::make_unique<QProcess>());
        // Under LeakSanitizer the sound libraries' plugins, unloaded before the report, leave
        // leaks no suppression can name; they are reported but do not change the exit status
        // these tests check. Other sanitizer errors still fail the run.
        QProcessEnvironment env = env_;
        if (env.contains("LSAN_OPTIONS")) {
            env.insert("LSAN_OPTIONS", env.value("LSAN_OPTIONS") + ":exitcode=0");
        }
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(PARLOMAT_PROGRAM, {"--dir", dir});
        EXPECT_TRUE(process.waitForStarted(5000));
        wait_for([&] { return status(dir).exit_code == 0; }, "the control socket answers");
        return process;
    }

    /// launch(), then a command dismisses the start-up window as a key does; returns once the
    /// main window is up.
    QProcess& start_keyer(const QString& dir) {
        QProcess& process = launch(dir);
        const ClientRun dismiss = client({"--dir", dir, "--stop"});
        EXPECT_EQ(dismiss.exit_code, 3) << dismiss.err.toStdString();
        EXPECT_TRUE(dismiss.err.contains("start-up window")) << dismiss.err.toStdString();
        wait_for([&] { return status(dir).json().value("ready").toBool(); }, "the main window");
        return process;
    }

    template <class Condition>
    static void wait_for(Condition condition, const char* what) {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > 15000) {
                ADD_FAILURE() << "timed out waiting for " << what;
                return;
            }
            QThread::msleep(50);
        }
    }

    bool dtr_high() const {
        return (__atomic_load_n(&line_.shim->outputs, __ATOMIC_SEQ_CST) & TIOCM_DTR) != 0;
    }

    TempDir root_;
    QProcessEnvironment env_;
    ModemLine line_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

}  // namespace parlomat::test
