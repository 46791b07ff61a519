#include "platform/control_socket_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace parlomat {

namespace {

// A directory of our own that no one else can read or write; mkdir's mode is narrowed by the
// umask, so the mode is checked afterwards, on the directory itself and not a link to one.
QString PrivateTmpDir() {
    const QByteArray path = "/tmp/parlomat-" + QByteArray::number(getuid());
    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat info {};
    if (lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
        (info.st_mode & 0777) != 0700) {
        return {};
    }
    return QFile::decodeName(path);
}

}  // namespace

QString CanonicalStationDir(const QString& dir) {
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(dir).absolutePath()) : canonical;
}

QString ControlSocketPath(const QString& station_dir) {
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QFileInfo(base).isDir()) {
        base = PrivateTmpDir();
        if (base.isEmpty()) {
            return {};
        }
    }
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(CanonicalStationDir(station_dir)),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return base + QStringLiteral("/parlomat-") + QString::fromLatin1(hash) +
           QStringLiteral(".sock");
}

}  // namespace parlomat
