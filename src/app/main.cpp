#include <signal.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "app/control_client.h"
#include "app/program.h"
#include "platform/control_server.h"
#include "platform/control_socket_path.h"
#include "platform/signal_watch.h"
#include "platform/station_dir.h"
#include "platform/station_log.h"
#include "ui/app_icon.h"

namespace {

using parlomat::CommandLine;

constexpr std::chrono::milliseconds kRaiseTimeout{1000};

int RunKeyer(int argc, char* argv[], const CommandLine& command) {
    parlomat::StationLog log(parlomat::StationLog::DefaultPath(), command.verbose);
    QApplication app(argc, argv);
    QApplication::setApplicationName("parlomat");
    QApplication::setApplicationVersion(QString("%1.%2.%3")
                                            .arg(PARLOMAT_VERSION_MAJOR)
                                            .arg(PARLOMAT_VERSION_MINOR)
                                            .arg(PARLOMAT_VERSION_PATCH));
    QApplication::setDesktopFileName("parlomat");
    QApplication::setWindowIcon(parlomat::app_icon());
    // The program ends through the exit question, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    QString station;
    if (command.dir.isEmpty()) {
        station = QString::fromStdString(parlomat::StationDirectory());
    } else {
        if (!QDir().mkpath(command.dir)) {
            std::fprintf(stderr, "parlomat: cannot create station directory %s\n",
                         command.dir.toLocal8Bit().constData());
            return parlomat::kExitNoInstance;
        }
        station = parlomat::CanonicalStationDir(command.dir);
    }

    // Termination signals: until the keyer exists there is nothing to save.
    std::unique_ptr<parlomat::Program> program;
    parlomat::SignalWatch signal_watch([&program](int) {
        if (program) {
            program->keyer().EndWithoutAsking();
        } else {
            QCoreApplication::exit(0);
        }
    });
    if (!signal_watch.install({SIGTERM, SIGINT, SIGHUP})) {
        std::perror("parlomat: signal handlers");
    }

    parlomat::ControlServer server([&program](std::string_view line) -> std::string {
        return program ? program->remote().Handle(line) : "ERR starting";
    });
    const QString socket_path = parlomat::ControlSocketPath(station);
    const auto started =
        socket_path.isEmpty() ? parlomat::ControlServer::Start::Failed : server.start(socket_path);
    if (started == parlomat::ControlServer::Start::OtherInstance) {
        // The other instance may be starting and not listen yet; it comes to the front anyway.
        parlomat::SendControlLine(socket_path, QStringLiteral("RAISE"), kRaiseTimeout);
        return parlomat::kExitDelivered;
    }
    if (started == parlomat::ControlServer::Start::Failed) {
        std::fprintf(stderr, "parlomat: no remote control: %s\n",
                     socket_path.isEmpty() ? "no private directory for its socket"
                                           : server.error_text().toLocal8Bit().constData());
    }

    program = std::make_unique<parlomat::Program>(QFile::encodeName(station).toStdString());
    program->start();
    const int status = QApplication::exec();
    program.reset();
    return status;
}

}  // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const CommandLine command = parlomat::ParseCommandLine(arguments);
    switch (command.action) {
        case CommandLine::Action::Help:
        case CommandLine::Action::Version:
            std::fputs(command.text.toLocal8Bit().constData(), stdout);
            return parlomat::kExitDelivered;
        case CommandLine::Action::UsageError:
            std::fprintf(stderr, "parlomat: %s", command.text.toLocal8Bit().constData());
            return parlomat::kExitUsage;
        case CommandLine::Action::Play:
        case CommandLine::Action::Stop:
        case CommandLine::Action::Status: {
            QCoreApplication app(argc, argv);
            const QString station = command.dir.isEmpty()
                                        ? QString::fromStdString(parlomat::StationDirectory())
                                        : command.dir;
            return parlomat::RunControlCommand(command, station);
        }
        case CommandLine::Action::Run:
            break;
    }
    return RunKeyer(argc, argv, command);
}
