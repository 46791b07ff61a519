#include "platform/file_copy.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

namespace parlomat {
namespace {

void Write(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// The copy lands whole or not at all: a failure at any step leaves the target as it was and no
// temporary file in the station directory.
TEST(AtomicFileCopier, ReplacesTheTargetWholeOrLeavesItAndNothingElse) {
    struct Case {
        const char* name;
        const char* from;  ///< in the outside folder; "/proc/self/mem" fails on its first read
        const char* to;    ///< in the station folder
        bool old_target;   ///< a file "msg.wav" with old content stands in the station folder
        bool target_is_folder;
        bool copied;
    };
    const Case cases[] = {
        {"new file", "msg.wav", "msg.wav", false, false, true},
        {"replaces an older file", "msg.wav", "msg.wav", true, false, true},
        {"source missing", "gone.wav", "msg.wav", true, false, false},
        {"read fails after the temporary file exists", "/proc/self/mem", "msg.wav", true, false,
         false},
        {"rename fails after the data is written", "msg.wav", "dir.wav", true, true, false},
        {"station folder missing", "msg.wav", "no/such/msg.wav", true, false, false},
        {"source is a FIFO without a writer", "fifo.wav", "msg.wav", true, false, false},
    };
    // Opening the FIFO would block for ever: the alarm ends the test instead.
    alarm(60);
    const QByteArray content(100'000, 'x');
    for (const auto& c : cases) {
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        QDir().mkpath(root.filePath("outside"));
        QDir().mkpath(root.filePath("station"));
        Write(root.filePath("outside/msg.wav"), content);
        if (c.old_target) {
            Write(root.filePath("station/msg.wav"), "old");
        }
        if (c.target_is_folder) {
            QDir().mkpath(root.filePath("station/dir.wav/inner"));
        }
        const QString from =
            c.from[0] == '/' ? QString(c.from) : root.filePath(QString("outside/") + c.from);
        const QString to = root.filePath(QString("station/") + c.to);
        if (std::string_view(c.from) == "fifo.wav") {
            ASSERT_EQ(mkfifo(from.toStdString().c_str(), 0600), 0);
        }

        AtomicFileCopier copier;
        EXPECT_EQ(copier.CopyFile(from.toStdString(), to.toStdString()), c.copied) << c.name;

        QStringList expected;
        if (c.old_target || c.copied) {
            expected << "msg.wav";
        }
        if (c.target_is_folder) {
            expected << "dir.wav";
        }
        expected.sort();
        EXPECT_EQ(
            QDir(root.filePath("station"))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            expected)
            << c.name;
        if (c.copied) {
            EXPECT_EQ(Read(to), content) << c.name;
        } else if (c.old_target) {
            EXPECT_EQ(Read(root.filePath("station/msg.wav")), QByteArray("old")) << c.name;
        }
    }
    alarm(0);
}

}  // namespace
}  // namespace parlomat
