#include "platform/serial_lock_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/settings/temp_dir.h"
#include "platform/files/write_failures.h"

namespace parlomat {
namespace {

using test::TempDir;

std::string PidText(long pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10ld\n", pid);
    return text;
}

std::string BinaryPid(int pid) {
    std::string bytes(sizeof pid, '\0');
    std::memcpy(bytes.data(), &pid, sizeof pid);
    return bytes;
}

TEST(SerialLockFile, NamesTheDeviceBelowDev) {
    TempDir dir;
    const auto link = dir.path() / "by-id-link";
    std::filesystem::create_symlink("/dev/null", link);
    const struct {
        std::string device;
        std::string name;
    } cases[] = {
        {"/dev/ttyUSB7", "LCK..ttyUSB7"},
        {"/dev/serial/ttyX", "LCK..serial_ttyX"},
        {link.string(), "LCK..null"},
        {"/elsewhere/ttyQ", "LCK..ttyQ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SerialLockFile::LockName(c.device), c.name) << c.device;
    }
}

TEST(SerialLockFile, HonoursLiveOwnersAndTakesOverStaleOnes) {
    const std::string ours = PidText(getpid());
    const struct {
        const char* what;
        bool present;
        std::string content;
        SerialLockFile::Result result;
    } cases[] = {
        {"no lock", false, "", SerialLockFile::Result::kAcquired},
        {"init holds it", true, PidText(1), SerialLockFile::Result::kHeld},
        {"QLockFile format", true, "1\nminicom\nhost\n", SerialLockFile::Result::kHeld},
        {"binary process id", true, BinaryPid(1), SerialLockFile::Result::kHeld},
        {"this process holds it", true, ours, SerialLockFile::Result::kHeld},
        {"owner gone", true, PidText(2147483646), SerialLockFile::Result::kAcquired},
        {"not a process id", true, "garbage\n", SerialLockFile::Result::kAcquired},
        {"empty", true, "", SerialLockFile::Result::kAcquired},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto path = dir.path() / "LCK..ttyUSB0";
        if (c.present) {
            test::WriteBytes(path, c.content);
        }
        SerialLockFile lock({dir.path().string()});
        EXPECT_EQ(lock.acquire("/dev/ttyUSB0"), c.result);
        if (c.result == SerialLockFile::Result::kAcquired) {
            EXPECT_EQ(test::ReadBytes(path), ours);
            lock.release();
            EXPECT_FALSE(std::filesystem::exists(path));
        } else {
            EXPECT_EQ(test::ReadBytes(path), c.content)
                << "another program's lock is never touched";
        }
    }
}

TEST(SerialLockFile, LooksInEveryDirectoryAndLocksInTheFirstWritable) {
    TempDir first;
    TempDir second;
    const auto missing = first.path() / "missing";
    {
        test::WriteBytes(second.path() / "LCK..ttyS0", PidText(1));
        SerialLockFile lock({first.path().string(), second.path().string()});
        EXPECT_EQ(lock.acquire("/dev/ttyS0"), SerialLockFile::Result::kHeld);
        EXPECT_FALSE(std::filesystem::exists(first.path() / "LCK..ttyS0"));
    }
    {
        SerialLockFile lock({missing.string(), second.path().string()});
        EXPECT_EQ(lock.acquire("/dev/ttyS1"), SerialLockFile::Result::kAcquired);
        EXPECT_TRUE(std::filesystem::exists(second.path() / "LCK..ttyS1"));
    }
    EXPECT_FALSE(std::filesystem::exists(second.path() / "LCK..ttyS1"))
        << "released on destruction";

    SerialLockFile nowhere({missing.string()});
    EXPECT_EQ(nowhere.acquire("/dev/ttyS2"), SerialLockFile::Result::kUnavailable);
}

TEST(SerialLockFile, AnOwnerThisUserMayNotSignalIsLive) {
    TempDir dir;
    // A lock directory anyone may write, so that only the owner's liveness keeps the lock.
    const auto locks = dir.path() / "locks";
    std::filesystem::create_directory(locks);
    std::filesystem::permissions(locks, std::filesystem::perms::all);
    test::WriteBytes(locks / "LCK..ttyUSB0", PidText(1));
    // The child gives up root: signalling init then fails with EPERM, and init still runs.
    const auto held = test::WriteUnder(test::WriteFailure::ReadOnlyDirectory, dir.path(), [&] {
        SerialLockFile lock({locks.string()});
        return lock.acquire("/dev/ttyUSB0") == SerialLockFile::Result::kHeld;
    });
    ASSERT_TRUE(held.has_value());
    EXPECT_TRUE(*held);
    EXPECT_EQ(test::ReadBytes(locks / "LCK..ttyUSB0"), PidText(1));
}

}  // namespace
}  // namespace parlomat
