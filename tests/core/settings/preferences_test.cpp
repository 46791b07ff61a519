#include "core/settings/preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "core/settings/profile_file.h"
#include "core/settings/temp_dir.h"

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"  // rows name only what differs

namespace parlomat {
namespace {

using test::TempDir;
using test::WriteBytes;

auto Tie(const Preferences& p) {
    return std::tie(p.PTTDelay, p.UTCDiffHours, p.UTCDiffMinutes, p.UTCDiffAuto, p.CommPort,
                    p.PTTKey, p.PTTInt, p.Recorder, p.FTLinkDelay, p.NAMSTiming, p.IDInterval,
                    p.AudioOut, p.AudioIn, p.TXTimeout, p.AudioIdle);
}

TEST(LoadPrefs, ReadsEachKeyByItsRuleAndSavesItBackAsItWas) {
    const struct {
        const char* lines;  // the body of the "Preference" section; nullptr: no file
        Preferences expected;
        const char* utc_saved;  // "-": absent, as an automatic difference the file never held
    } cases[] = {
        {nullptr, {}, "-"},
        {"PTT Delay=-250\nCommPort=99999\nFTLink=-5",
         {.PTTDelay = 250, .CommPort = 32767, .FTLinkDelay = -5},
         "-"},
        {"UTCDiff=-3.5", {.UTCDiffHours = -3, .UTCDiffMinutes = -30, .UTCDiffAuto = false}, "-3.5"},
        {"UTCDiff=-.5", {.UTCDiffHours = 0, .UTCDiffMinutes = -30, .UTCDiffAuto = false}, "-.5"},
        {"UTCDiff=-7", {.UTCDiffHours = -7, .UTCDiffAuto = false}, "-7"},
        {"UTCDiff=abc", {.UTCDiffHours = 0, .UTCDiffAuto = false}, "0"},
        {"UTCDiff= Automatic ", {}, "automatic"},
        {"NAMSTiming=false\nAudio Idle=-5", {.NAMSTiming = 2}, "-"},
    };
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    for (const auto& c : cases) {
        const std::string name = c.lines ? c.lines : "no file";
        std::filesystem::remove(path);
        if (c.lines) {
            WriteBytes(path,
                       std::string("[MSG Config]\nCommPort=9\n[Preference]\n") + c.lines + "\n");
        }
        Preferences got{.PTTDelay = -1, .CommPort = -1, .PTTInt = "?"};
        LoadPrefs(got, path);
        EXPECT_EQ(Tie(got), Tie(c.expected)) << name;
        EXPECT_EQ(std::filesystem::exists(path), c.lines != nullptr) << name;
        ASSERT_TRUE(SavePrefs(got, path)) << name;
        EXPECT_EQ(GetProfileString(path, kPreferenceSection, "UTCDiff", "-"), c.utc_saved) << name;
        Preferences again;
        LoadPrefs(again, path);
        EXPECT_EQ(Tie(again), Tie(got)) << name;
    }
}

TEST(SavePrefs, WritesItsKeysInOrderLeavesTheRestAndReportsAFailedWrite) {
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    WriteBytes(path,
               "[MSG Config]\r\nCommPort=9\r\n\r\n[Preference]\r\nNAMSTiming=3\r\n"
               "Extra=keep me\r\nCommPort=2\r\n");
    const Preferences prefs{
        .UTCDiffMinutes = 20, .UTCDiffAuto = false, .CommPort = 3, .PTTInt = "", .NAMSTiming = 4};
    ASSERT_TRUE(SavePrefs(prefs, path));
    EXPECT_EQ(test::ReadBytes(path),
              "[MSG Config]\r\nCommPort=9\r\n\r\n[Preference]\r\nNAMSTiming=3\r\n"
              "Extra=keep me\r\nCommPort=3\r\nUTCDiff=5.33333333333333\r\nPTT Key=DTR\r\n"
              "PTT Int=\r\nFTLink=90\r\nPTT Delay=10\r\nRecorder=\r\n"
              "IDInterval=10\r\nAudioOut=\r\nAudioIn=\r\nTX Timeout=600\r\nAudio Idle=60\r\n");

    const std::string other = dir.file("other.ini");
    EXPECT_FALSE(SavePrefs(Preferences{.Recorder = "two\nlines"}, other));
    EXPECT_EQ(GetProfileString(other, kPreferenceSection, "IDInterval", ""), "10");
    EXPECT_EQ(GetProfileString(other, kPreferenceSection, "Recorder", "-"), "-");
}

TEST(SerialDevicePath, UsesTheAssignedDeviceElseTheNumberedPort) {
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    WriteBytes(path, "[Preference]\nCOM2=/dev/wrong\n[Ports]\ncom1 = /dev/ttyACM0\nCOM3=\n");
    EXPECT_EQ(SerialDevicePath(path, 1), "/dev/ttyACM0");
    EXPECT_EQ(SerialDevicePath(path, 2), "/dev/ttyS1");
    EXPECT_EQ(SerialDevicePath(path, 3), "/dev/ttyS2");
    EXPECT_EQ(SerialDevicePath(path, 0), "");
}

}  // namespace
}  // namespace parlomat
