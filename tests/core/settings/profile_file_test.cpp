#include "core/settings/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(ProfileRead, FollowsTheWindowsProfileRules) {
    struct Case {
        const char* name;
        std::string content, section, key, expected;
    };
    const Case cases[] = {
        {"missing key, default less trailing blanks", "[S]\nk=3\n", "S", "j", "dflt"},
        {"key before any section or in another", "k=1\n[A]\nk=1\n[B]\nj=2\n", "B", "k", "dflt"},
        {"empty value is not the default", "[S]\nk=\n", "S", "k", ""},
        {"empty quoted value", "[S]\nk=\"\"\n", "S", "k", ""},
        {"empty key name", "[S]\nk=1\n = v5\n", "S", "", "v5"},
        {"blanks around key, value and header", "  [ S ]  \n  k  =  \t a=b \t \n", "S", "k", "a=b"},
        {"double quotes", "[S]\nk=\"  a  \"\n", "S", "k", "  a  "},
        {"unmatched quotes kept", "[S]\nk=\"a'\n", "S", "k", "\"a'"},
        {"first of duplicates", "[S]\nk=1\nk=2\n", "S", "k", "1"},
        {"comment, line without equals", "[S]\n;k=1\nk\nk=2\n", "S", "k", "2"},
        {"bare CR", "[T]\rk=1\r[S]\rk=v\r", "S", "k", "v"},
        {"header without bracket", "[S\nk=v\n", "S", "k", "v"},
        {"key with blank", "[Preference]\nPTT Delay=250\n", "Preference", "ptt delay", "250"},
        {"cut to 255", "[S]\nk=" + std::string(300, 'x') + "\n", "S", "k", std::string(255, 'x')},
        {"NUL ends the value", std::string("[S]\nk=ab\0cd\n", 12), "S", "k", "ab"},
    };
    TempDir dir;
    const std::string path = dir.file("p.ini");
    for (const auto& c : cases) {
        WriteBytes(path, c.content);
        EXPECT_EQ(GetProfileString(path, c.section, c.key, "dflt \t "), c.expected) << c.name;
    }
}

TEST(ProfileWrite, ChangesOnlyTheLineItMustChangeOrRefuses) {
    struct Case {
        const char* name;
        std::string before, section, key, value;
        std::string after;  ///< empty: refused, the file left as it was
    };
    const Case cases[] = {
        {"new file", "", "S", "k", "v", "[S]\nk=v\n"},
        {"replace in place, comments and odd lines kept",
         "; top\n[S]\n  ; k=0 \nodd\nK = old \n\tb\n", "s", "k", "new",
         "; top\n[S]\n  ; k=0 \nodd\nK =new\n\tb\n"},
        {"append after last key of section", "[S]\na=1\nb=2\n\n[T]\nc=3\n", "S", "k", "v",
         "[S]\na=1\nb=2\nk=v\n\n[T]\nc=3\n"},
        {"append into empty section", "[S]\n[T]\nc=3\n", "S", "k", "v", "[S]\nk=v\n[T]\nc=3\n"},
        {"no final line feed, append", "[S]\na=1", "S", "k", "v", "[S]\na=1\nk=v"},
        {"no final line feed, new section", "[T]\nc=3", "S", "k", "v", "[T]\nc=3\n\n[S]\nk=v\n"},
        {"CRLF new section", "[T]\r\nc=3\r\n", "S", "k", "v", "[T]\r\nc=3\r\n\r\n[S]\r\nk=v\r\n"},
        {"bare CR append", "[S]\ra=1\r[T]\r", "S", "k", "v", "[S]\ra=1\rk=v\r[T]\r"},
        {"second section of the name", "[S]\na=1\n[T]\n[S]\nk=1\n", "S", "k", "2",
         "[S]\na=1\n[T]\n[S]\nk=2\n"},
        {"binary bytes kept", std::string("\xff\x01\n[S]\nk=1\n\xfe\n", 13), "S", "k", "2",
         std::string("\xff\x01\n[S]\nk=2\n\xfe\n", 13)},
        {"line feed in value", "[S]\nk=1\n", "S", "k", "a\nb=c", ""},
        {"NUL in value", "[S]\nk=1\n", "S", "k", std::string("a\0b", 3), ""},
        {"equals in key", "[S]\nk=1\n", "S", "k=x", "v", ""},
        {"empty key", "[S]\nk=1\n", "S", " ", "v", ""},
        {"empty section", "[S]\nk=1\n", "", "k", "v", ""},
        {"bracket in section", "[S]\nk=1\n", "S]x", "k", "v", ""},
        {"line feed in section", "[S]\nk=1\n", "S\n[T", "k", "v", ""},
    };
    TempDir dir;
    const std::string path = dir.file("w.ini");
    for (const auto& c : cases) {
        std::filesystem::remove(path);
        if (!c.before.empty()) {
            WriteBytes(path, c.before);
        }
        EXPECT_EQ(WriteProfileString(path, c.section, c.key, c.value), !c.after.empty()) << c.name;
        EXPECT_EQ(ReadBytes(path), c.after.empty() ? c.before : c.after) << c.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator()),
                  1)
            << c.name << ": a temporary file was left behind";
    }
}

TEST(ProfileWrite, KeepsPermissionsAndWritesThroughSymlinks) {
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string real = dir.file("real.ini");
    const std::string link = dir.file("link.ini");
    WriteBytes(real, "[S]\nk=1\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.ini", link);

    EXPECT_TRUE(WriteProfileString(link, "S", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "[S]\nk=2\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace parlomat
