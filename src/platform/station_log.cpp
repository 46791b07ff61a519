#include "platform/station_log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

#include "platform/log_categories.h"

namespace parlomat {
namespace {

StationLog* g_active = nullptr;  // the log Qt's handler writes to; see the class comment

const char* TypeText(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
            return "debug";
        case QtInfoMsg:
            return "info";
        case QtWarningMsg:
            return "warning";
        case QtCriticalMsg:
            return "error";
        case QtFatalMsg:
            return "fatal";
    }
    return "";
}

}  // namespace

StationLog::StationLog(QString path, bool verbose, std::int64_t max_bytes, int keep)
    : path_(std::move(path)), verbose_(verbose), max_bytes_(max_bytes), keep_(keep) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (verbose_) {
        QLoggingCategory::setFilterRules(QStringLiteral("parlomat.*.debug=true"));
    }
    g_active = this;
    previous_ = qInstallMessageHandler(&StationLog::Handle);
}

StationLog::~StationLog() {
    qInstallMessageHandler(previous_);
    g_active = nullptr;
}

QString StationLog::DefaultPath() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        state = QDir::homePath() + "/.local/state";
    }
    return state + "/parlomat/parlomat.log";
}

void StationLog::Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (g_active != nullptr) {
        g_active->write(type, context.category != nullptr ? context.category : "default", text);
    }
}

void StationLog::write(QtMsgType type, const char* category, const QString& text) {
    const bool ours = std::strncmp(category, "parlomat.", 9) == 0;
    const QByteArray line = (QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs) + ' ' +
                             category + ' ' + TypeText(type) + ": " + text + '\n')
                                .toUtf8();
    const std::lock_guard lock(mutex_);
    // Debug lines are the sound libraries' probing: only for --verbose, never in the file.
    if (type != QtDebugMsg) {
        QFile file(path_);
        if (file.size() + line.size() > max_bytes_ && file.size() > 0) {
            rotate();
        }
        if (file.open(QIODevice::Append | QIODevice::WriteOnly)) {
            file.write(line);
        }
    }
    if (verbose_ || (!ours && type >= QtWarningMsg && type != QtInfoMsg)) {
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    }
}

void StationLog::rotate() {
    QFile::remove(path_ + '.' + QString::number(keep_));
    for (int n = keep_ - 1; n >= 1; --n) {
        QFile::rename(path_ + '.' + QString::number(n), path_ + '.' + QString::number(n + 1));
    }
    QFile::rename(path_, path_ + ".1");
}

void QtEventLog::KeyChange(bool down, KeyCause cause, int slot, bool on_air) {
    qCInfo(lcPtt, "%s slot %d cause %s%s", down ? "key-down" : "key-up", slot, KeyCauseText(cause),
           on_air || !down ? "" : " (no line took the key)");
}

void QtEventLog::TxTimedOut(int seconds) {
    qCWarning(lcPtt, "TX time-out: key-down ended after %d s", seconds);
}

}  // namespace parlomat
