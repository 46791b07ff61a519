#include "platform/process_launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace parlomat {
namespace {

/// The executable `program` names: itself when it holds a "/", else the first match on PATH.
QString ResolveProgram(const QString& program) {
    if (program.isEmpty()) {
        return {};
    }
    if (program.contains(u'/')) {
        const QFileInfo file(program);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

}  // namespace

bool ProcessLauncher::QuotesBalanced(const std::string& command_line) {
    bool in_quote = false;
    int quotes = 0;
    for (const char c : command_line) {
        if (c == '"') {
            quotes = (quotes + 1) % 3;
            continue;
        }
        if (quotes == 1) {
            in_quote = !in_quote;
        }
        quotes = 0;
    }
    if (quotes == 1) {
        in_quote = !in_quote;
    }
    return !in_quote;
}

bool ProcessLauncher::program_exists(const std::string& program) const {
    return !ResolveProgram(QString::fromStdString(program)).isEmpty();
}

bool ProcessLauncher::start(const std::string& command_line) {
    if (!QuotesBalanced(command_line)) {
        return false;
    }
    QStringList arguments = QProcess::splitCommand(QString::fromStdString(command_line));
    if (arguments.isEmpty()) {
        return false;
    }
    const QString program = ResolveProgram(arguments.takeFirst());
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

bool ProcessLauncher::open_url(const std::string& url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    return address.isValid() && !address.scheme().isEmpty() && QDesktopServices::openUrl(address);
}

}  // namespace parlomat
