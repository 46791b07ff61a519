#include "platform/control_server.h"

#include <QLocalSocket>
#include <QTimer>
#include <memory>
#include <utility>
#include <variant>

#include "core/remote/control_protocol.h"

namespace parlomat {

namespace {

std::string ErrorLine(ControlError error) {
    return "ERR " + std::string(ControlErrorText(error)) + "\n";
}

}  // namespace

ControlServer::ControlServer(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &ControlServer::accept_clients);
}

ControlServer::Start ControlServer::start(const QString& path) {
    lock_ = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    // Only a holder that has died makes the lock stale, however long an instance runs.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        const bool held = lock_->error() == QLockFile::LockFailedError;
        lock_.reset();
        return held ? Start::OtherInstance : Start::Failed;
    }
    QLocalServer::removeServer(path);
    return server_.listen(path) ? Start::Listening : Start::Failed;
}

void ControlServer::accept_clients() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (clients_ >= kMaxClients) {
            socket->disconnectFromServer();
            continue;
        }
        ++clients_;
        connect(socket, &QObject::destroyed, this, [this] { --clients_; });

        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        idle->setInterval(kIdleTimeout);
        connect(idle, &QTimer::timeout, socket, &QLocalSocket::disconnectFromServer);
        idle->start();

        auto reader = std::make_shared<ControlLineReader>();
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket, idle, reader] {
            idle->start();
            reader->feed(socket->readAll().toStdString());
            for (;;) {
                const auto next = reader->next();
                if (const auto* line = std::get_if<std::string>(&next)) {
                    const std::string reply = handler_(*line) + "\n";
                    socket->write(reply.data(), qint64(reply.size()));
                } else if (const auto* error = std::get_if<ControlError>(&next)) {
                    const std::string reply = ErrorLine(*error);
                    socket->write(reply.data(), qint64(reply.size()));
                    socket->disconnectFromServer();
                    return;
                } else {
                    return;
                }
            }
        });
    }
}

}  // namespace parlomat
