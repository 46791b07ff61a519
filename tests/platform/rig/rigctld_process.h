#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QProcess>
#include <string>

#include "platform/event_wait.h"

namespace parlomat::test {

/// A local TCP port nobody listens on right now.
inline int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

/// Hamlib's dummy rig behind rigctld on 127.0.0.1; it keys only with PTT type RIG.
class Rigctld {
  public:
    explicit Rigctld(int port) : port_(port) {}
    ~Rigctld() { kill(); }

    bool start() {
        // rigctld goes with the test process, even when that one crashes.
        process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process_.start(qEnvironmentVariable("RIGCTLD", "rigctld"),
                       {"-m", "1", "-P", "RIG", "-T", "127.0.0.1", "-t", QString::number(port_)});
        // Up once a second client's command makes the whole round trip.
        return process_.waitForStarted() && WaitFor([this] { return !rigctl({"t"}).empty(); });
    }
    void pause() { ::kill(static_cast<pid_t>(process_.processId()), SIGSTOP); }
    void kill() {
        process_.kill();  // SIGKILL, also when paused
        process_.waitForFinished();
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

    /// A second client's command, as a logger sharing the radio would send it; its output.
    std::string rigctl(const QStringList& command) const {
        QProcess client;
        client.start(qEnvironmentVariable("RIGCTL", "rigctl"),
                     QStringList{"-m", "2", "-r", QString::fromStdString(address())} + command);
        client.waitForFinished();
        return client.readAllStandardOutput().trimmed().toStdString();
    }

  private:
    int port_;
    QProcess process_;
};

}  // namespace parlomat::test
