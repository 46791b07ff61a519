#include "core/settings/profile_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/settings/profile_file.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Many changes in one document give the file that one write per change gives.
TEST(ProfileDocument, ManyChangesWriteWhatOneWriteEachWould) {
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    const Write writes[] = {
        {"S", "k", "changed"},  {"S", "new", "1"},   {"s", "NEW", "2"},   {"S", "k", "changed"},
        {"Empty", "a", "1"},    {"Fresh", "x", "1"}, {"fresh", "y", "2"}, {"Other", "k", "3"},
        {"S", "after", "last"}, {"Fresh", "x", "9"},
    };
    const std::string files[] = {
        "",
        "[S]\nk=1\n",
        "[S]\r\nk=1\r\n[Empty]\r\n\r\n[T]\r\nz=0\r\n",
        "lead=1\n[S]\n; note\nk=1\nodd\n\n[Other]\nk=0",
        "[S]\nk=1\n[Other]\n[s]\nk=2\nk=3\n  ",
        "[Empty]",
        "no section at all",
    };
    TempDir dir;
    const std::string path = dir.file("p.ini");
    const std::string written_each = dir.file("each.ini");
    for (const std::string& before : files) {
        WriteBytes(written_each, before);
        for (const Write& w : writes) {
            ASSERT_TRUE(WriteProfileString(written_each, w.section, w.key, w.value));
        }
        const std::string one_write_each = ReadBytes(written_each);

        WriteBytes(path, before);
        ProfileDocument document = ProfileDocument::Read(path);
        for (const Write& w : writes) {
            ASSERT_TRUE(document.Set(w.section, w.key, w.value));
        }
        EXPECT_EQ(document.Text(), one_write_each) << before;
        for (const Write& w : writes) {
            EXPECT_EQ(document.Get(w.section, w.key, "<none>"),
                      GetProfileString(written_each, w.section, w.key, "<none>"))
                << "unsaved changes are read back: " << before;
        }
        ASSERT_TRUE(document.Save(path));
        EXPECT_EQ(ReadBytes(path), one_write_each) << before;
    }
}

TEST(ProfileDocument, AFileThatDoesNotReadIsNeverWritten) {
    TempDir dir;
    const ProfileDocument directory = ProfileDocument::Read(dir.path().string());
    EXPECT_FALSE(directory.readable());
    EXPECT_FALSE(directory.Save(dir.path().string()));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));

    const ProfileDocument missing = ProfileDocument::Read(dir.file("missing.ini"));
    EXPECT_TRUE(missing.readable());
    EXPECT_EQ(missing.Get("S", "k", "dflt"), "dflt");
}

}  // namespace
}  // namespace parlomat
