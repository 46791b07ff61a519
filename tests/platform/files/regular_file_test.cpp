#include "platform/files/regular_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

TEST(OpenRegularFile, RefusesAnythingElseAtOnce) {
    // A regression that opens the FIFO blocks forever: the alarm ends the test instead.
    alarm(20);
    test::TempDir dir;
    test::WriteBytes(dir.file("msg.wav"), "RIFF");
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("fifo", dir.path() / "link-to-fifo");
    std::filesystem::create_symlink("msg.wav", dir.path() / "link-to-file");
    const struct {
        std::string path;
        bool opens;
        int error;
    } cases[] = {
        {dir.file("msg.wav"), true, 0},       {dir.file("link-to-file"), true, 0},
        {dir.file("fifo"), false, EINVAL},    {dir.file("link-to-fifo"), false, EINVAL},
        {"/dev/null", false, EINVAL},         {dir.path().string(), false, EISDIR},
        {dir.file("missing"), false, ENOENT},
    };
    for (const auto& c : cases) {
        errno = 0;
        const int fd = OpenRegularFile(c.path);
        EXPECT_EQ(fd >= 0, c.opens) << c.path;
        if (fd >= 0) {
            char head[4] = {};
            EXPECT_EQ(read(fd, head, sizeof head), 4) << c.path;
            close(fd);
        } else {
            EXPECT_EQ(errno, c.error) << c.path;
        }
    }
    alarm(0);
}

}  // namespace
}  // namespace parlomat
