#include <gtest/gtest.h>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include "core/settings/file_replace.h"
#include "core/settings/temp_dir.h"
#include "platform/files/regular_file.h"
#include "platform/files/replacement_file.h"

namespace parlomat::test {
namespace {

TEST(OpenRegularFile, RefusesAnythingElseAtOnce) {
    alarm(20);  // a regression that opens the FIFO would block for ever
    TempDir dir;
    WriteBytes(dir.file("msg.wav"), "RIFF");
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("fifo", dir.path() / "link-to-fifo");
    std::filesystem::create_symlink("msg.wav", dir.path() / "link-to-file");
    const std::pair<std::string, int> cases[] = {
        {dir.file("link-to-file"), 0}, {dir.file("link-to-fifo"), EINVAL}, {"/dev/null", EINVAL},
        {dir.path().string(), EISDIR}, {dir.file("missing"), ENOENT},
    };
    for (const auto& [path, error] : cases) {
        errno = 0;
        const int fd = OpenRegularFile(path);
        char head[4] = {};
        EXPECT_EQ(fd >= 0 ? read(fd, head, sizeof head) : errno, error == 0 ? 4 : error) << path;
        close(fd);
    }
    alarm(0);
}

TEST(ReplacementFile, ReplacesOnlyOnCommitAndLeavesNothingBehind) {
    TempDir dir;
    using Entries = std::filesystem::directory_iterator;
    const auto entries = [&] { return std::distance(Entries(dir.path()), Entries()); };
    const std::string path = dir.file("msg.wav");
    WriteBytes(path, "old");
    {
        ReplacementFile abandoned(path);
        ASSERT_TRUE(abandoned.ok() && abandoned.Write("new"));
        EXPECT_EQ(entries(), 2) << "the new file is written beside the old";
    }
    EXPECT_EQ(ReadBytes(path), "old");
    ReplacementFile file(path);
    ASSERT_TRUE(file.ok() && file.Write("new"));
    EXPECT_TRUE(file.Commit());
    EXPECT_FALSE(file.Commit()) << "a second commit has nothing to rename";
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(entries(), 1);

    std::filesystem::create_directory(dir.path() / "taken");  // written, but the rename fails
    EXPECT_FALSE(ReplaceFileContent(dir.file("taken"), "new"));
    EXPECT_EQ(entries(), 2) << "the temporary file is removed";
}

}  // namespace
}  // namespace parlomat::test
