#include "app/command_line.h"

#include <QCommandLineParser>

namespace parlomat {

namespace {

QString VersionText() {
    return QStringLiteral("parlomat %1.%2.%3\n")
        .arg(PARLOMAT_VERSION_MAJOR)
        .arg(PARLOMAT_VERSION_MINOR)
        .arg(PARLOMAT_VERSION_PATCH);
}

CommandLine UsageError(const QString& text) {
    return {CommandLine::Action::UsageError,
            0,
            {},
            text + QStringLiteral("\nTry 'parlomat --help'.\n")};
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Parlomat, a digital voice keyer. Without a command it starts the keyer, or brings the "
        "one already running for the station directory to the front. A command goes to the "
        "running keyer; exit status 0 delivered, 1 no keyer runs for the station directory, "
        "2 usage error, 3 refused (a dialog is open, or the keyer is starting)."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version."));
    const QCommandLineOption dir(QStringLiteral("dir"),
                                 QStringLiteral("Station directory (created when missing)."),
                                 QStringLiteral("DIR"));
    const QCommandLineOption play(QStringLiteral("play"),
                                  QStringLiteral("Sends message N (1..6), as the key F<N> does."),
                                  QStringLiteral("N"));
    const QCommandLineOption stop(QStringLiteral("stop"),
                                  QStringLiteral("Stops sending, as Esc does."));
    const QCommandLineOption status(
        QStringLiteral("status"), QStringLiteral("Prints the keyer's state as one line of JSON."));
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        QStringLiteral("Also prints the station log to standard error, sound libraries included."));
    parser.addOptions({help, version, dir, play, stop, status, verbose});

    if (!parser.parse(arguments)) {
        return UsageError(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    }
    if (parser.isSet(help)) {
        return {CommandLine::Action::Help, 0, {}, parser.helpText()};
    }
    if (parser.isSet(version)) {
        return {CommandLine::Action::Version, 0, {}, VersionText()};
    }
    if (parser.values(dir).size() > 1) {
        return UsageError(QStringLiteral("--dir given more than once."));
    }
    const int commands = int(parser.values(play).size()) + (parser.isSet(stop) ? 1 : 0) +
                         (parser.isSet(status) ? 1 : 0);
    if (commands > 1 || parser.optionNames().count(QStringLiteral("stop")) > 1 ||
        parser.optionNames().count(QStringLiteral("status")) > 1) {
        return UsageError(QStringLiteral("Give one command: --play N, --stop or --status."));
    }
    CommandLine line;
    line.dir = parser.value(dir);
    line.verbose = parser.isSet(verbose);
    if (parser.isSet(dir) && line.dir.isEmpty()) {
        return UsageError(QStringLiteral("--dir needs a directory."));
    }
    if (parser.isSet(play)) {
        const QString value = parser.value(play);
        if (value.size() != 1 || value[0] < QLatin1Char('1') || value[0] > QLatin1Char('6')) {
            return UsageError(
                QStringLiteral("--play takes a message number 1..6, not '%1'.").arg(value));
        }
        line.action = CommandLine::Action::Play;
        line.slot = value[0].unicode() - '0';
    } else if (parser.isSet(stop)) {
        line.action = CommandLine::Action::Stop;
    } else if (parser.isSet(status)) {
        line.action = CommandLine::Action::Status;
    }
    return line;
}

}  // namespace parlomat
