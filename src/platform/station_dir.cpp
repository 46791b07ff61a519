#include "platform/station_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace parlomat {

namespace {

// Creating a file is the only reliable test: permission bits say nothing for root or for a
// read-only mount.
bool CanCreateFilesIn(const QString& dir) {
    if (dir.isEmpty() || !QDir(dir).exists()) {
        return false;
    }
    QTemporaryFile probe(dir + QStringLiteral("/.parlomat-probe-XXXXXX"));
    return probe.open();
}

}  // namespace

std::string ChooseStationDirectory(const QString& app_dir, const QString& data_home) {
    // An installed program's bin directory (~/.local/bin is writable) is no place for settings
    // and recordings, unless a station already lives there.
    const bool installed = QDir(app_dir).dirName() == QStringLiteral("bin");
    const bool holds_station = QFile::exists(app_dir + QStringLiteral("/parlomat.ini"));
    if ((!installed || holds_station) && CanCreateFilesIn(app_dir)) {
        return QFile::encodeName(QDir::cleanPath(app_dir)).toStdString();
    }
    const QString station = QDir::cleanPath(data_home + QStringLiteral("/parlomat"));
    QDir().mkpath(station);
    return QFile::encodeName(station).toStdString();
}

std::string StationDirectory() {
    return ChooseStationDirectory(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

}  // namespace parlomat
