#include "core/settings/msg_config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/audio/paths.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::TempDir;
using test::WriteBytes;

TEST(LoopLiteral, ReadsBooleanLiteralsAndNumbers) {
    struct Case {
        const char* text;
        bool loop;
    };
    const std::vector<Case> cases = {
        {" tRuE ", true}, {"FALSE", false}, {"", false},    {"-1", true},     {"2.5", true},
        {"0.0", false},   {"1e3", true},    {"yes", false}, {"12abc", false}, {"1 0", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoopLiteral(c.text), c.loop) << '"' << c.text << '"';
    }
}

TEST(DelayTextToWrite, KeepsPositiveTextsAndWritesZeroOtherwise) {
    struct Case {
        const char* delay;
        const char* written;
    };
    const std::vector<Case> cases = {
        {"12abc", "12abc"}, {" 2.5", " 2.5"}, {"0", "0"},      {"-3", "0"},
        {"abc", "0"},       {"0.0", "0"},     {"1\n5", "1 5"}, {"2\r\n", "2  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DelayTextToWrite(c.delay), c.written) << '"' << c.delay << '"';
    }
}

TEST(ReadMsgConfigSection, ReadsEachSlotByItsRules) {
    struct Case {
        const char* name;
        std::optional<std::string> content;  ///< nothing: no file
        MsgConfig expected;
    };
    const std::vector<Case> cases = {
        {"no file", std::nullopt, {}},
        {"no section", "[Preference]\nMSG1=a.wav\n", {}},
        {"EMPTY and empty names",
         "[MSG Config]\nMSG1=EMPTY\nDelay1=5\nMSG2=\nLoop2=1\n",
         {MsgSlotConfig{"", "5", false}, MsgSlotConfig{"", "", true}}},
        {"names and keys in any case, blanks and quotes",
         "[msg config]\nmsg3 =  \"b c.wav\" \nDELAY3= 12abc\nloop3=TRUE\n",
         {MsgSlotConfig{}, MsgSlotConfig{}, MsgSlotConfig{"b c.wav", "12abc", true}}},
        {"CRLF lines",
         "[MSG Config]\r\nMSG6=z.wav\r\nLoop6=0\r\n",
         {MsgSlotConfig{}, MsgSlotConfig{}, MsgSlotConfig{}, MsgSlotConfig{}, MsgSlotConfig{},
          MsgSlotConfig{"z.wav", "", false}}},
        {"binary junk", std::string("\0\xff[MSG\x01\n=\n\n[[", 13), {}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const auto path = dir.file("case.pmc");
        std::filesystem::remove(path);
        if (c.content) {
            WriteBytes(path, *c.content);
        }
        EXPECT_EQ(ReadMsgConfigSection(path), c.expected) << c.name;
    }
}

TEST(WriteMsgConfigSection, LabelsTravelInKeysAnOlderReaderSkips) {
    const std::string old_format =
        "[MSG Config]\nMSG1=cq.wav\nDelay1=20\nLoop1=True\nMSG2=b.wav\nDelay2=0\nLoop2=False\n"
        "MSG3=c.wav\nDelay3=0\nLoop3=False\nMSG4=d.wav\nDelay4=0\nLoop4=False\n"
        "MSG5=e.wav\nDelay5=5\nLoop5=False\nMSG6=73.wav\nDelay6=0\nLoop6=False\n";
    TempDir dir;
    const auto path = dir.file("old.pmc");
    WriteBytes(path, old_format);
    MsgConfig config = ReadMsgConfigSection(path);
    EXPECT_EQ(config[0], (MsgSlotConfig{"cq.wav", "20", true, ""}));
    // Written back without labels, the file is the old format byte for byte.
    ASSERT_TRUE(WriteMsgConfigSection(path, config));
    EXPECT_EQ(test::ReadBytes(path), old_format);

    config[0].label = "CQ contest";
    config[5].label = "73\nthanks";
    ASSERT_TRUE(WriteMsgConfigSection(path, config));
    MsgConfig read = ReadMsgConfigSection(path);
    EXPECT_EQ(read[0].label, "CQ contest");
    EXPECT_EQ(read[5].label, "73 thanks");
    for (int i = 0; i < kMsgConfigSlots; ++i) {
        // What an older reader takes from the file is unchanged.
        read[i].label.clear();
        config[i].label.clear();
    }
    EXPECT_EQ(read, config);

    ASSERT_TRUE(WriteMsgConfigSection(path, config));
    EXPECT_EQ(ReadMsgConfigSection(path)[0].label, "") << "a cleared label stays cleared";
}

TEST(StripPath, KeepsWhatFollowsTheLastSeparator) {
    struct Case {
        const char* path;
        const char* name;
    };
    const std::vector<Case> cases = {
        {"/home/op/msgs/cq.wav", "cq.wav"},
        {"C:\\VK\\cq.wav", "cq.wav"},
        {"dir/", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripPath(c.path), c.name) << c.path;
    }
}

TEST(PathUnder, StaysInsideTheDirectory) {
    struct Case {
        const char* name;
        std::optional<std::string> path;
    };
    const std::vector<Case> cases = {
        {"sub\\cq.wav", "/st/sub/cq.wav"},
        {"..cq.wav", "/st/..cq.wav"},
        {"", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {"C:\\VK\\cq.wav", std::nullopt},
        {"sub/../../cq.wav", std::nullopt},
        {"sub\\..", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathUnder("/st", c.name), c.path) << c.name;
    }
}

}  // namespace
}  // namespace parlomat
