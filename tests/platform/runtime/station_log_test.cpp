#include "platform/station_log.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/log_categories.h"

namespace parlomat {
namespace {

QString Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(StationLog, KeyChangesAreStampedInUtcAndTheFileRotatesKeepingThree) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/state/parlomat/parlomat.log";
    {
        StationLog log(path, false, 4000, 3);
        QtEventLog tx;
        tx.KeyChange(true, KeyCause::Start, 2, true);
        tx.KeyChange(false, KeyCause::EndOfMessage, 2, false);
        const QString text = Read(path);
        static const QRegularExpression line(
            R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z parlomat\.ptt info: key-down slot 2 )"
            R"(cause start\n.*Z parlomat\.ptt info: key-up slot 2 cause end of message\n$)");
        EXPECT_TRUE(line.match(text).hasMatch()) << text.toStdString();

        // Debug lines (the sound libraries' chatter) stay out of the file.
        qCDebug(lcAudio, "ALSA probing");
        EXPECT_FALSE(Read(path).contains("ALSA probing"));

        for (int n = 0; n < 400; ++n) {
            qCWarning(lcAudio, "dropout %d", n);
        }
    }
    // 400 lines of about 60 bytes at 4000 bytes a file: the latest in the log, three older
    // files kept, the oldest dropped.
    EXPECT_TRUE(Read(path).contains("dropout 399"));
    for (int n = 1; n <= 3; ++n) {
        const QString old = Read(path + "." + QString::number(n));
        EXPECT_FALSE(old.isEmpty()) << n;
        EXPECT_LE(old.toUtf8().size(), 4000) << n;
    }
    EXPECT_FALSE(QFile::exists(path + ".4"));
    EXPECT_FALSE(Read(path + ".3").contains("key-down"));
}

}  // namespace
}  // namespace parlomat
