#include "core/settings/msg_config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/audio/paths.h"
#include "core/settings/profile_file.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(LoopLiteral, ReadsBooleanLiteralsAndNumbers) {
    struct Case {
        const char* text;
        bool loop;
    };
    const std::vector<Case> cases = {
        {"True", true},   {"TRUE", true}, {"true", true}, {" tRuE ", true}, {"False", false},
        {"FALSE", false}, {"", false},    {"0", false},   {"1", true},      {"-1", true},
        {"2.5", true},    {"+0", false},  {"0.0", false}, {"1e3", true},    {"maybe", false},
        {"yes", false},   {"1e", false},  {".", false},   {"12abc", false}, {"1 0", false},
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
        {"15", "15"}, {"12abc", "12abc"}, {" 2.5", " 2.5"}, {"0.01", "0.01"},
        {"0", "0"},   {"-3", "0"},        {"abc", "0"},     {"", "0"},
        {"0.0", "0"}, {"-0.5x", "0"},     {"1\n5", "1 5"},  {"2\r\n", "2  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DelayTextToWrite(c.delay), c.written) << '"' << c.delay << '"';
    }
}

TEST(ReadMsgConfigSection, ReadsEachSlotByItsRules) {
    const std::string long_name(300, 'n');
    struct Case {
        const char* name;
        std::optional<std::string> content;  ///< nothing: no file
        MsgConfig expected;
    };
    const std::vector<Case> cases = {
        {"no file", std::nullopt, {}},
        {"no section", "[Preference]\nMSG1=a.wav\n", {}},
        {"full slot",
         "[MSG Config]\nMSG1=a.wav\nDelay1=20\nLoop1=True\n",
         {MsgSlotConfig{"a.wav", "20", true}}},
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
        {"junk loop",
         "[MSG Config]\nMSG1=a.wav\nLoop1=maybe\n",
         {MsgSlotConfig{"a.wav", "", false}}},
        {"long value cut to 255",
         "[MSG Config]\nMSG1=" + long_name + "\n",
         {MsgSlotConfig{long_name.substr(0, 255), "", false}}},
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

TEST(WriteMsgConfigSection, WritesKeysSlotBySlotAndReadsBack) {
    TempDir dir;
    const auto path = dir.file("new.pmc");
    const MsgConfig config = {
        MsgSlotConfig{"a.wav", "20", true},   MsgSlotConfig{"", "0", false},
        MsgSlotConfig{"b.wav", "-3", true},   MsgSlotConfig{"c.wav", "12abc", false},
        MsgSlotConfig{"d.wav", "abc", false}, MsgSlotConfig{"e\nf.wav", "15", true},
    };
    ASSERT_TRUE(WriteMsgConfigSection(path, config));

    std::vector<std::string> keys;
    std::string line;
    for (const char c : ReadBytes(path)) {
        if (c != '\n') {
            line += c;
            continue;
        }
        if (const auto eq = line.find('='); eq != std::string::npos) {
            keys.push_back(line.substr(0, eq));
        }
        line.clear();
    }
    std::vector<std::string> order;
    for (int n = 1; n <= 6; ++n) {
        for (const char* stem : {"MSG", "Delay", "Loop"}) {
            order.push_back(stem + std::to_string(n));
        }
    }
    EXPECT_EQ(keys, order);

    const MsgConfig expected = {
        MsgSlotConfig{"a.wav", "20", true}, MsgSlotConfig{"", "0", false},
        MsgSlotConfig{"b.wav", "0", true},  MsgSlotConfig{"c.wav", "12abc", false},
        MsgSlotConfig{"d.wav", "0", false}, MsgSlotConfig{"e f.wav", "15", true},
    };
    EXPECT_EQ(ReadMsgConfigSection(path), expected);
    EXPECT_EQ(GetProfileString(path, kMsgConfigSection, "Loop2", ""), "False");
}

TEST(WriteMsgConfigSection, LeavesOtherSectionsAndRefusesUnwritablePlaces) {
    TempDir dir;
    const auto ini = dir.file("parlomat.ini");
    const std::string preference = "[Preference]\nPTT Delay=300\n";
    WriteBytes(ini, preference + "[MSG Config]\nMSG1=old.wav\nExtra=keep\n");
    ASSERT_TRUE(WriteMsgConfigSection(ini, MsgConfig{MsgSlotConfig{"new.wav", "5", false}}));
    const auto content = ReadBytes(ini);
    EXPECT_EQ(content.substr(0, preference.size()), preference);
    EXPECT_EQ(GetProfileString(ini, kMsgConfigSection, "MSG1", ""), "new.wav");
    EXPECT_EQ(GetProfileString(ini, kMsgConfigSection, "Extra", ""), "keep");

    EXPECT_FALSE(WriteMsgConfigSection(dir.file("missing/dir/x.pmc"), MsgConfig{}));
    EXPECT_FALSE(WriteMsgConfigSection(dir.path().string(), MsgConfig{}));
    EXPECT_EQ(ReadBytes(ini), content);
}

TEST(StripPath, KeepsWhatFollowsTheLastSeparator) {
    struct Case {
        const char* path;
        const char* name;
    };
    const std::vector<Case> cases = {
        {"/home/op/msgs/cq.wav", "cq.wav"},
        {"C:\\VK\\cq.wav", "cq.wav"},
        {"a/b\\c.wav", "c.wav"},
        {"a\\b/c.wav", "c.wav"},
        {"cq.wav", "cq.wav"},
        {"", ""},
        {"dir/", ""},
        {"/", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripPath(c.path), c.name) << c.path;
    }
}

TEST(HasExtension, ComparesTheEndInLowerCase) {
    struct Case {
        const char* path;
        bool wav;
    };
    const std::vector<Case> cases = {
        {"x.wav", true},  {"x.WAV", true},      {"x.Wav", true}, {".wav", true},
        {"x.mp3", false}, {"x.wav.bak", false}, {"wav", false},  {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasExtension(c.path, ".wav"), c.wav) << c.path;
    }
}

TEST(PathUnder, StaysInsideTheDirectory) {
    struct Case {
        const char* name;
        std::optional<std::string> path;
    };
    const std::vector<Case> cases = {
        {"cq.wav", "/st/cq.wav"},           {"sub/cq.wav", "/st/sub/cq.wav"},
        {"sub\\cq.wav", "/st/sub/cq.wav"},  {"..cq.wav", "/st/..cq.wav"},
        {"a..b/c.wav", "/st/a..b/c.wav"},   {"", std::nullopt},
        {"/etc/passwd", std::nullopt},      {"\\x.wav", std::nullopt},
        {"C:\\VK\\cq.wav", std::nullopt},   {"../cq.wav", std::nullopt},
        {"sub/../../cq.wav", std::nullopt}, {"..", std::nullopt},
        {"sub\\..", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathUnder("/st", c.name), c.path) << c.name;
    }
}

}  // namespace
}  // namespace parlomat
