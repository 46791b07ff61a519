#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace parlomat {

/// The control socket: a local socket only this user can connect to. Each line a client sends
/// is answered with one line from the handler; a line too long or holding a NUL byte is answered
/// with an error and the connection closed, as is a client that stays silent too long.
class ControlServer : public QObject {
    Q_OBJECT
  public:
    /// The reply to one line, without its line feed.
    using Handler = std::function<std::string(std::string_view line)>;
    enum class Start { Listening, OtherInstance, Failed };

    static constexpr std::chrono::milliseconds kIdleTimeout{5000};
    static constexpr int kMaxClients = 16;

    explicit ControlServer(Handler handler, QObject* parent = nullptr);

    /// Listens on `path` when no other live instance holds it. The instance is known by a lock
    /// file beside the socket, not by the socket itself: Qt binds a private socket elsewhere and
    /// renames it over `path`, which would silently take a live instance's socket. A socket and
    /// lock left behind by a program that died are taken over.
    Start start(const QString& path);
    QString error_text() const { return server_.errorString(); }

  private:
    void accept_clients();

    Handler handler_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    int clients_ = 0;
};

}  // namespace parlomat
