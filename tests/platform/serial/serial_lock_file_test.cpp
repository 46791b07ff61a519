#include "platform/serial_lock_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "core/settings/temp_dir.h"
#include "platform/files/write_failures.h"

namespace parlomat::test {
namespace {

using Result = SerialLockFile::Result;

std::string PidText(long pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10ld\n", pid);
    return text;
}

TEST(SerialLockFile, NamesTheDeviceAndHonoursLiveOwnersInAnyDirectoryAndTakesOverStaleOnes) {
    TempDir dir;
    std::filesystem::create_symlink("/dev/null", dir.path() / "by-id-link");
    EXPECT_EQ(SerialLockFile::LockName("/dev/serial/ttyX"), "LCK..serial_ttyX");
    EXPECT_EQ(SerialLockFile::LockName(dir.file("by-id-link")), "LCK..null");
    EXPECT_EQ(SerialLockFile::LockName("/elsewhere/ttyQ"), "LCK..ttyQ");
    int init = 1;
    const std::pair<std::string, Result> cases[] = {
        {PidText(1), Result::kHeld},
        {std::string(reinterpret_cast<const char*>(&init), sizeof init), Result::kHeld},
        {PidText(2147483646), Result::kAcquired},
        {"garbage\n", Result::kAcquired},
    };
    for (const auto& [content, result] : cases) {
        TempDir first, second;  // the lock stands in the second directory
        WriteBytes(second.file("LCK..ttyUSB0"), content);
        SerialLockFile lock({first.file("missing"), first.path().string(), second.path().string()});
        EXPECT_EQ(lock.acquire("/dev/ttyUSB0"), result) << content;
        if (result == Result::kAcquired) {
            EXPECT_EQ(ReadBytes(first.file("LCK..ttyUSB0")), PidText(getpid()));
            lock.release();
            EXPECT_FALSE(std::filesystem::exists(first.file("LCK..ttyUSB0")));
        } else {
            EXPECT_EQ(ReadBytes(second.file("LCK..ttyUSB0")), content) << "never touched";
        }
    }
    SerialLockFile nowhere({"/nonexistent/lock"});
    EXPECT_EQ(nowhere.acquire("/dev/ttyS2"), Result::kUnavailable);
}

TEST(SerialLockFile, AnOwnerThisUserMayNotSignalIsLive) {
    TempDir dir;  // its lock directory anyone may write: only the owner's liveness keeps the lock
    const auto locks = dir.path() / "locks";
    std::filesystem::create_directory(locks);
    std::filesystem::permissions(locks, std::filesystem::perms::all);
    WriteBytes(locks / "LCK..ttyUSB0", PidText(1));
    // The child gives up root: signalling init then fails with EPERM, and init still runs.
    const auto held = WriteUnder(WriteFailure::ReadOnlyDirectory, dir.path(), [&] {
        return SerialLockFile({locks.string()}).acquire("/dev/ttyUSB0") == Result::kHeld;
    });
    EXPECT_EQ(held, std::optional<bool>(true));
    EXPECT_EQ(ReadBytes(locks / "LCK..ttyUSB0"), PidText(1));
}

}  // namespace
}  // namespace parlomat::test
