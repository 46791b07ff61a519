#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

#include "core/settings/temp_dir.h"
#include "platform/file_copy.h"
#include "platform/log_categories.h"
#include "platform/station_dir.h"
#include "platform/station_log.h"

namespace parlomat::test {
namespace {

std::string Entries(const std::string& dir) {
    const auto all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
    return QDir(QString::fromStdString(dir)).entryList(all, QDir::Name).join(' ').toStdString();
}

TEST(AtomicFileCopier, ReplacesTheTargetWholeOrLeavesItAndNothingElse) {
    alarm(60);  // opening the FIFO without a writer would block for ever
    const std::string content(100'000, 'x');
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"msg.wav", "msg.wav", true},
        {"/proc/self/mem", "msg.wav", false},  // the read fails once the temporary file exists
        {"msg.wav", "dir.wav", false},         // the rename fails once the data is written
        {"fifo.wav", "msg.wav", false},        // a FIFO without a writer
    };
    for (const auto& [name, to, copied] : cases) {
        TempDir root;
        const std::string station = root.file("station");  // the source folder is `root`
        std::filesystem::create_directories(station + "/dir.wav/inner");
        WriteBytes(root.file("msg.wav"), content);
        WriteBytes(station + "/msg.wav", "old");
        ASSERT_EQ(mkfifo(root.file("fifo.wav").c_str(), 0600), 0);
        const std::string from = name[0] == '/' ? name : root.file(name);
        EXPECT_EQ(AtomicFileCopier().CopyFile(from, station + "/" + to), copied) << name;
        EXPECT_EQ(Entries(station), "dir.wav msg.wav") << name;
        EXPECT_EQ(ReadBytes(station + "/msg.wav"), copied ? content : "old") << name;
    }
    alarm(0);
}

TEST(StationDirectory, AWritableProgramDirectoryUnlessAnInstalledBinWithoutAStation) {
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"portable", false, "portable"},      // an unpacked program, the build tree
        {"bin", false, "data/parlomat"},      // ~/.local/bin: settings go to the data home
        {"bin", true, "bin"},                 // a station that already lives there stays
        {"missing", false, "data/parlomat"},  // nothing can be created there
    };
    for (const auto& [app, ini, chosen] : cases) {
        TempDir root;
        if (std::string(app) != "missing") {
            std::filesystem::create_directories(root.file(app));
        }
        if (ini) {
            WriteBytes(root.file(std::string(app) + "/parlomat.ini"), "");
        }
        const std::string dir = ChooseStationDirectory(QString::fromStdString(root.file(app)),
                                                       QString::fromStdString(root.file("data")));
        EXPECT_EQ(dir, root.file(chosen)) << app;
        EXPECT_TRUE(std::filesystem::is_directory(dir)) << app;
    }
}

TEST(StationLog, KeyChangesAreStampedInUtcAndTheFileRotatesKeepingThree) {
    TempDir dir;
    const std::string path = dir.file("state/parlomat/parlomat.log");
    {
        StationLog log(QString::fromStdString(path), false, 4000, 3);
        QtEventLog tx;
        tx.KeyChange(true, KeyCause::Start, 2, true);
        tx.KeyChange(false, KeyCause::EndOfMessage, 2, false);
        qCDebug(lcAudio, "ALSA probing");  // debug lines stay out of the file
        static const QRegularExpression lines(
            R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z parlomat\.ptt info: key-down slot 2 )"
            R"(cause start\n.*Z parlomat\.ptt info: key-up slot 2 cause end of message\n$)");
        EXPECT_TRUE(lines.match(QString::fromStdString(ReadBytes(path))).hasMatch())
            << ReadBytes(path);
        for (int n = 0; n < 400; ++n) {
            qCWarning(lcAudio, "dropout %d", n);
        }
    }
    // 400 lines of about 60 bytes at 4000 bytes a file: three older files kept, the oldest gone.
    EXPECT_NE(ReadBytes(path).find("dropout 399"), std::string::npos);
    for (const char* old : {".1", ".2", ".3"}) {
        EXPECT_TRUE(ReadBytes(path + old).size() - 1 < 4000u) << old << " is empty or too long";
    }
    EXPECT_FALSE(std::filesystem::exists(path + ".4"));
    EXPECT_EQ(ReadBytes(path + ".3").find("key-down"), std::string::npos);
}

}  // namespace
}  // namespace parlomat::test
