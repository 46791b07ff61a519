#include <signal.h>

#include <QLocalSocket>
#include <QStringList>
#include <fstream>
#include <sstream>

#include "app/keyer_process.h"

namespace parlomat::test {
namespace {

using RemoteTest = KeyerProcessTest;

TEST_F(RemoteTest, CommandsRoundTrip) {
    const QString dir = station("a");
    start_keyer(dir);
    const ClientRun idle = status(dir);
    ASSERT_EQ(idle.exit_code, 0);
    for (const char* key : {"slot", "playing", "ptt", "feedback", "mode", "sked", "loop"}) {
        EXPECT_TRUE(idle.json().contains(key)) << key << " in " << idle.out.toStdString();
    }
    EXPECT_EQ(idle.json().value("mode").toString(), "Manual");

    ASSERT_EQ(client({"--dir", dir, "--play", "1"}).exit_code, 0);
    wait_for([&] { return dtr_high(); }, "the PTT line");
    const QJsonObject sending = status(dir).json();
    EXPECT_EQ(sending.value("slot").toInt(), 1);
    EXPECT_TRUE(sending.value("ptt").toBool());
    EXPECT_TRUE(sending.value("playing").toBool());

    ASSERT_EQ(client({"--dir", dir, "--stop"}).exit_code, 0);
    const QJsonObject stopped = status(dir).json();
    EXPECT_FALSE(stopped.value("ptt").toBool());
    EXPECT_FALSE(stopped.value("playing").toBool());

    // F2 on an empty slot selects it and sends nothing.
    ASSERT_EQ(client({"--dir", dir, "--play", "2"}).exit_code, 0);
    const QJsonObject empty = status(dir).json();
    EXPECT_EQ(empty.value("slot").toInt(), 2);
    EXPECT_EQ(empty.value("feedback").toString().toStdString(), "No filename assigned");
    EXPECT_FALSE(dtr_high());
}

TEST_F(RemoteTest, ClientWithoutAKeyerOrWithBadArgumentsFails) {
    const QString dir = station("idle");
    const struct {
        QStringList arguments;
        int exit_code;
    } rows[] = {
        {{"--status"}, 1},
        {{"--play", "1"}, 1},
        {{"--play", "7"}, 2},
        {{"--play", "x"}, 2},
        {{"--play", "1", "--stop"}, 2},
        {{"--status", "--stop"}, 2},
        {{"--play"}, 2},
        {{"--bogus"}, 2},
        {{"extra"}, 2},
        {{"--stop", "--stop"}, 2},
    };
    for (const auto& row : rows) {
        const ClientRun run = client(QStringList{"--dir", dir} + row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code) << row.arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << row.arguments.join(' ').toStdString();
        if (row.exit_code == 1) {
            EXPECT_TRUE(run.err.contains("no Parlomat runs") && !run.err.contains('\n'))
                << run.err.toStdString();
        }
    }
    // A client never creates a station directory it was pointed at.
    EXPECT_EQ(client({"--dir", dir + "/missing", "--status"}).exit_code, 1);
    EXPECT_FALSE(QDir(dir + "/missing").exists());
    EXPECT_EQ(client({"--help"}).exit_code, 0);
    EXPECT_TRUE(client({"--version"}).out.startsWith("parlomat "));
}

TEST_F(RemoteTest, ModalDialogRefusesCommands) {
    const QString dir = station("modal", false);
    QProcess& keyer = launch(dir);
    ASSERT_EQ(client({"--dir", dir, "--stop"}).exit_code, 3);  // dismisses the start-up window
    // The start stops at the "Comm Port Error" box.
    ClientRun refused;
    wait_for(
        [&] {
            refused = client({"--dir", dir, "--play", "1"});
            return refused.err.contains("dialog");
        },
        "the modal box");
    EXPECT_EQ(refused.exit_code, 3);
    EXPECT_EQ(client({"--dir", dir, "--stop"}).exit_code, 3);
    const ClientRun state = status(dir);
    EXPECT_EQ(state.exit_code, 0);
    EXPECT_FALSE(state.json().value("ptt").toBool());
    EXPECT_FALSE(state.json().value("playing").toBool());
    // A signal ends the program from inside the box's own event loop too.
    ::kill(pid_t(keyer.processId()), SIGTERM);
    ASSERT_TRUE(keyer.waitForFinished(1000));
    EXPECT_EQ(keyer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(keyer.exitCode(), 0);
}

TEST_F(RemoteTest, StaleSocketIsTakenOverAndTwoStationsRunSideBySide) {
    const QString a = station("radio-a");
    const QString b = station("radio-b", false);  // its own port is missing: it waits at a box
    QProcess& killed = launch(a);
    ::kill(pid_t(killed.processId()), SIGKILL);
    killed.waitForFinished(5000);
    EXPECT_EQ(status(a).exit_code, 1);
    QProcess& first = start_keyer(a);
    launch(b);
    // A second start on a running station raises the first and exits.
    const ClientRun second = client({"--dir", a});
    EXPECT_EQ(second.exit_code, 0) << second.err.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    ASSERT_EQ(client({"--dir", a, "--play", "1"}).exit_code, 0);
    EXPECT_TRUE(status(a).json().value("ptt").toBool());
    EXPECT_FALSE(status(b).json().value("ptt").toBool());
    EXPECT_FALSE(status(b).json().value("ready").toBool());
    ASSERT_EQ(client({"--dir", a, "--stop"}).exit_code, 0);
    EXPECT_FALSE(status(a).json().value("ptt").toBool());
}

// Bad input to the socket: an error line or a closed connection, and the program still serves.
TEST_F(RemoteTest, BadInputGetsAnErrorAndTheKeyerAnswersOn) {
    const QString dir = station("bad");
    start_keyer(dir);
    const QString path = [&] {
        QDir run(env_.value("XDG_RUNTIME_DIR"));
        const auto sockets = run.entryList({"parlomat-*.sock"}, QDir::System);
        return sockets.isEmpty() ? QString() : run.filePath(sockets.first());
    }();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(QFileInfo(path).permissions() &
                  (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              0);

    QLocalSocket silent;  // connects and never writes
    silent.connectToServer(path);
    ASSERT_TRUE(silent.waitForConnected(1000));
    const struct {
        QByteArray bytes;
        QByteArray reply;
        bool closed;
    } rows[] = {
        {"PLAY 9\n", "ERR slot must be 1..6\n", false},
        {QByteArray("PLAY\0 1\n", 8), "ERR NUL byte\n", true},
        {QByteArray(100000, 'A'), "ERR line too long\n", true},
        {"status\r\n", "{", false},
    };
    for (const auto& row : rows) {
        QLocalSocket socket;
        socket.connectToServer(path);
        ASSERT_TRUE(socket.waitForConnected(1000));
        socket.write(row.bytes);
        ASSERT_TRUE(socket.waitForBytesWritten(1000));
        QByteArray reply;
        while (!reply.contains('\n') && socket.waitForReadyRead(2000)) {
            reply += socket.readAll();
        }
        EXPECT_TRUE(reply.startsWith(row.reply)) << row.bytes.left(20).toStdString();
        if (row.closed) {
            EXPECT_TRUE(socket.state() == QLocalSocket::UnconnectedState ||
                        socket.waitForDisconnected(1000))
                << row.bytes.left(20).toStdString();
        }
    }
    EXPECT_EQ(client({"--dir", dir, "--play", "1"}).exit_code, 0);
    // The silent client is sent away.
    EXPECT_TRUE(silent.waitForDisconnected(10000));
}

TEST_F(RemoteTest, TermSignalDuringTransmissionUnkeysSavesAndExits) {
    const QString dir = station("term");
    QProcess& keyer = start_keyer(dir);
    ASSERT_EQ(client({"--dir", dir, "--play", "1"}).exit_code, 0);
    wait_for([&] { return dtr_high(); }, "the PTT line");
    ASSERT_TRUE(status(dir).json().value("ptt").toBool());

    ::kill(pid_t(keyer.processId()), SIGTERM);
    ASSERT_TRUE(keyer.waitForFinished(1000));
    EXPECT_EQ(keyer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(keyer.exitCode(), 0);
    EXPECT_FALSE(dtr_high());
    // The last configuration and the Sked segment are written as at a normal exit.
    std::stringstream ini;
    ini << std::ifstream((dir + "/parlomat.ini").toStdString()).rdbuf();
    EXPECT_NE(ini.str().find("MSG1=msg1.wav"), std::string::npos) << ini.str();
    EXPECT_NE(ini.str().find("Loop6=False"), std::string::npos) << ini.str();
    EXPECT_NE(ini.str().find("NAMSTiming=1"), std::string::npos) << ini.str();
    EXPECT_EQ(status(dir).exit_code, 1);
}

}  // namespace
}  // namespace parlomat::test
