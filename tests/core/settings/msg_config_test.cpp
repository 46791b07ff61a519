#include "core/settings/msg_config.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/audio/paths.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::TempDir;
using test::WriteBytes;

TEST(LoopLiteral, ReadsBooleanLiteralsAndNumbers) {
    const std::pair<const char*, bool> cases[] = {
        {" tRuE ", true}, {"FALSE", false}, {"", false},      {"2.5", true},
        {"0.0", false},   {"yes", false},   {"12abc", false}, {"1 0", false},
    };
    for (const auto& [text, loop] : cases) {
        EXPECT_EQ(LoopLiteral(text), loop) << '"' << text << '"';
    }
}

TEST(DelayTextToWrite, KeepsPositiveTextsAndWritesZeroOtherwise) {
    const std::pair<const char*, const char*> cases[] = {
        {" 2.5", " 2.5"}, {"0.0", "0"}, {"1\n5", "1 5"}, {"2\r\n", "2  "}};
    for (const auto& [delay, written] : cases) {
        EXPECT_EQ(DelayTextToWrite(delay), written) << '"' << delay << '"';
    }
}

TEST(ReadMsgConfigSection, ReadsEachSlotByItsRules) {
    const struct {
        const char* name;
        std::string content;
        MsgConfig expected;
    } cases[] = {
        {"names and keys in any case, blanks and quotes",
         "[msg config]\nmsg3 =  \"b c.wav\" \nDELAY3= 12abc\nloop3=TRUE\n",
         {MsgSlotConfig{}, MsgSlotConfig{}, MsgSlotConfig{"b c.wav", "12abc", true}}},
        {"CRLF lines, empty name",
         "[MSG Config]\r\nMSG2=\r\nLoop2=1\r\nMSG6=z.wav\r\nLoop6=0\r\n",
         {MsgSlotConfig{}, MsgSlotConfig{"", "", true}, MsgSlotConfig{}, MsgSlotConfig{},
          MsgSlotConfig{}, MsgSlotConfig{"z.wav", "", false}}},
        {"binary junk", std::string("\0\xff[MSG\x01\n=\n\n[[", 13), {}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteBytes(dir.file("case.pmc"), c.content);
        EXPECT_EQ(ReadMsgConfigSection(dir.file("case.pmc")), c.expected) << c.name;
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
    ASSERT_TRUE(WriteMsgConfigSection(path, config));
    EXPECT_EQ(test::ReadBytes(path), old_format);

    config[0].label = "CQ contest";
    config[5].label = "73\nthanks";
    ASSERT_TRUE(WriteMsgConfigSection(path, config));
    EXPECT_EQ(ReadMsgConfigSection(path)[5].label, "73 thanks");
    config[0].label = config[5].label = "";
    ASSERT_TRUE(WriteMsgConfigSection(path, config));
    EXPECT_EQ(ReadMsgConfigSection(path), config) << "cleared labels stay cleared";
}

TEST(Paths, StripPathKeepsTheNameAndPathUnderStaysInside) {
    EXPECT_EQ(StripPath("/home/op/msgs/cq.wav"), "cq.wav");
    EXPECT_EQ(StripPath("C:\\VK\\cq.wav"), "cq.wav");
    EXPECT_EQ(StripPath("dir/"), "");
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"..cq.wav", "/st/..cq.wav"},
        {"", std::nullopt},
        {"C:\\VK\\cq.wav", std::nullopt},
        {"sub\\..", std::nullopt},
    };
    for (const auto& [name, path] : cases) {
        EXPECT_EQ(PathUnder("/st", name), path) << name;
    }
}

}  // namespace
}  // namespace parlomat
