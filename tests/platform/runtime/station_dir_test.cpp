#include "platform/station_dir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace parlomat {
namespace {

TEST(StationDirectory, PrefersTheProgramDirectoryElseTheDataDirectory) {
    struct Case {
        const char* name;
        bool app_dir_named;
        bool app_dir_exists;
        bool data_dir_exists;
        bool expect_app_dir;
    };
    const Case cases[] = {
        {"writable program directory", true, true, false, true},
        {"missing program directory, data directory created", true, false, false, false},
        {"missing program directory, data directory kept", true, false, true, false},
        {"no program directory", false, false, false, false},
    };
    for (const auto& c : cases) {
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QString app_dir = c.app_dir_named ? root.filePath("bin") : QString();
        const QString data_home = root.filePath("share");
        if (c.app_dir_exists) {
            QDir().mkpath(app_dir);
        }
        if (c.data_dir_exists) {
            QDir().mkpath(data_home + "/parlomat");
        }
        const QString chosen = QString::fromStdString(ChooseStationDirectory(app_dir, data_home));
        const QString expected = c.expect_app_dir ? app_dir : data_home + "/parlomat";
        EXPECT_EQ(chosen.toStdString(), expected.toStdString()) << c.name;
        EXPECT_TRUE(QFileInfo(chosen).isDir()) << c.name;
        EXPECT_EQ(QDir(chosen)
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                      .join(", ")
                      .toStdString(),
                  "")
            << c.name << ": the writability probe was left behind";
    }
}

}  // namespace
}  // namespace parlomat
