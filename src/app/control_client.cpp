#include "app/control_client.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <cstdio>

#include "platform/control_socket_path.h"

namespace parlomat {

namespace {

// A live instance answers in milliseconds; a busy one gets a little longer.
constexpr std::chrono::milliseconds kReplyTimeout{3000};

void PrintError(const QString& text) {
    std::fprintf(stderr, "parlomat: %s\n", text.toLocal8Bit().constData());
}

}  // namespace

std::optional<QString> SendControlLine(const QString& path, const QString& line,
                                       std::chrono::milliseconds timeout) {
    QElapsedTimer clock;
    clock.start();
    const auto left = [&] { return int(std::max<qint64>(1, timeout.count() - clock.elapsed())); };
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(left())) {
        return std::nullopt;
    }
    socket.write((line + QLatin1Char('\n')).toUtf8());
    if (!socket.waitForBytesWritten(left())) {
        return std::nullopt;
    }
    while (!socket.canReadLine()) {
        if (clock.elapsed() >= timeout.count() || !socket.waitForReadyRead(left())) {
            return std::nullopt;
        }
    }
    return QString::fromUtf8(socket.readLine()).trimmed();
}

int RunControlCommand(const CommandLine& command, const QString& station_dir) {
    QString line;
    switch (command.action) {
        case CommandLine::Action::Play:
            line = QStringLiteral("PLAY %1").arg(command.slot);
            break;
        case CommandLine::Action::Stop:
            line = QStringLiteral("STOP");
            break;
        case CommandLine::Action::Status:
            line = QStringLiteral("STATUS");
            break;
        default:
            return kExitUsage;
    }
    const QString path = ControlSocketPath(station_dir);
    const auto reply = path.isEmpty() ? std::nullopt : SendControlLine(path, line, kReplyTimeout);
    if (!reply) {
        PrintError(QStringLiteral("no Parlomat runs for station directory %1")
                       .arg(CanonicalStationDir(station_dir)));
        return kExitNoInstance;
    }
    if (command.action == CommandLine::Action::Status && reply->startsWith(QLatin1Char('{'))) {
        std::printf("%s\n", reply->toUtf8().constData());
        return kExitDelivered;
    }
    if (*reply == QLatin1String("OK")) {
        return kExitDelivered;
    }
    if (*reply == QLatin1String("ERR modal")) {
        PrintError(QStringLiteral("refused: a dialog is open in Parlomat"));
    } else if (*reply == QLatin1String("ERR starting")) {
        PrintError(QStringLiteral("refused: Parlomat is still showing its start-up window"));
    } else {
        PrintError(QStringLiteral("refused: %1").arg(*reply));
    }
    return kExitRefused;
}

}  // namespace parlomat
