#include "platform/files/replacement_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/settings/file_replace.h"
#include "core/settings/temp_dir.h"
#include "platform/files/write_failures.h"

namespace parlomat {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using test::WriteFailure;

std::set<std::string> Names(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(ReplaceFileContent, AFailedReplacementLeavesTheOldFileWholeAndNothingBehind) {
    const std::string old_content = "[Preference]\nCommPort=2\n";
    const std::string new_content(64 * 1024, 'x');  // beyond the full disk's room
    for (const WriteFailure failure : {WriteFailure::ReadOnlyDirectory, WriteFailure::FullDisk}) {
        TempDir dir;
        const std::string path = dir.file("parlomat.ini");
        WriteBytes(path, old_content);
        const auto written = test::WriteUnder(
            failure, dir.path(), [&] { return ReplaceFileContent(path, new_content); });
        ASSERT_TRUE(written.has_value()) << Name(failure);
        EXPECT_FALSE(*written) << Name(failure);
        EXPECT_EQ(ReadBytes(path), old_content) << Name(failure);
        EXPECT_EQ(Names(dir.path()), std::set<std::string>{"parlomat.ini"}) << Name(failure);
    }

    // A target that is a directory: the temporary file is written, the rename fails.
    TempDir dir;
    fs::create_directory(dir.path() / "taken");
    WriteBytes(dir.file("taken/inside"), "kept");
    EXPECT_FALSE(ReplaceFileContent(dir.file("taken"), new_content));
    EXPECT_EQ(ReadBytes(dir.file("taken/inside")), "kept");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"taken"});
}

TEST(ReplacementFile, ReplacesOnlyOnCommit) {
    TempDir dir;
    const std::string path = dir.file("msg.wav");
    WriteBytes(path, "old");
    {
        ReplacementFile abandoned(path);
        ASSERT_TRUE(abandoned.ok());
        EXPECT_TRUE(abandoned.Write("new"));
        EXPECT_EQ(Names(dir.path()).size(), 2u) << "the new file is written beside the old";
    }
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"msg.wav"});

    ReplacementFile file(path);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file.Write("new"));
    EXPECT_TRUE(file.Commit());
    EXPECT_FALSE(file.Commit()) << "a second commit has nothing to rename";
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"msg.wav"});
}

}  // namespace
}  // namespace parlomat
