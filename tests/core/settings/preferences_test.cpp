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

std::string PrefValue(const std::string& path, const char* key) {
    return GetProfileString(path, kPreferenceSection, key, "<none>");
}

auto Tie(const Preferences& p) {
    return std::tie(p.PTTDelay, p.UTCDiffHours, p.UTCDiffMinutes, p.UTCDiffAuto, p.CommPort,
                    p.PTTKey, p.PTTInt, p.Recorder, p.FTLinkDelay, p.NAMSTiming, p.IDInterval,
                    p.AudioOut, p.AudioIn, p.TXTimeout, p.AudioIdle);
}

TEST(LoadPrefs, ReadsEachKeyByItsRule) {
    const struct {
        const char* lines;  // the body of the "Preference" section; nullptr: no file
        Preferences expected;
    } cases[] = {
        {nullptr, {}},
        {"PTT Delay=-250", {.PTTDelay = 250}},
        {"UTCDiff=-3.5", {.UTCDiffHours = -3, .UTCDiffMinutes = -30, .UTCDiffAuto = false}},
        {"UTCDiff=abc", {.UTCDiffHours = 0, .UTCDiffAuto = false}},
        {"UTCDiff= Automatic ", {}},
        {"CommPort=99999", {.CommPort = 32767}},
        {"FTLink=-5", {.FTLinkDelay = -5}},
        {"NAMSTiming=false", {.NAMSTiming = 2}},
        {"NAMSTiming=yes", {.NAMSTiming = 1}},
        {"Audio Idle=-5", {}},
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
    }
}

TEST(SavePrefs, LoadedValuesWriteBackAsTheyWere) {
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    // "<none>": an automatic difference the file never held stays out of it.
    for (const std::string text : {"-3.5", "-.5", "-7", "automatic", "<none>"}) {
        WriteBytes(path, "[Preference]\nIDInterval=7.5\n" +
                             (text == "<none>" ? "" : "UTCDiff=" + text + "\n"));
        Preferences prefs;
        LoadPrefs(prefs, path);
        ASSERT_TRUE(SavePrefs(prefs, path));
        EXPECT_EQ(PrefValue(path, "UTCDiff"), text);
        EXPECT_EQ(PrefValue(path, "IDInterval"), "7.5");
    }
}

TEST(SavePrefs, WritesItsKeysInOrderLeavesTheRestAndReportsAFailedWrite) {
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    WriteBytes(path,
               "[MSG Config]\r\nCommPort=9\r\n\r\n[Preference]\r\nNAMSTiming=3\r\n"
               "Extra=keep me\r\nCommPort=2\r\n");
    const Preferences prefs{.PTTDelay = 250,
                            .UTCDiffMinutes = 20,
                            .UTCDiffAuto = false,
                            .CommPort = 3,
                            .PTTKey = "RTS",
                            .PTTInt = "",
                            .Recorder = "/usr/bin/rec -q",
                            .FTLinkDelay = -5,
                            .NAMSTiming = 4};
    ASSERT_TRUE(SavePrefs(prefs, path));
    EXPECT_EQ(test::ReadBytes(path),
              "[MSG Config]\r\nCommPort=9\r\n\r\n[Preference]\r\nNAMSTiming=3\r\n"
              "Extra=keep me\r\nCommPort=3\r\nUTCDiff=5.33333333333333\r\nPTT Key=RTS\r\n"
              "PTT Int=\r\nFTLink=-5\r\nPTT Delay=250\r\nRecorder=/usr/bin/rec -q\r\n"
              "IDInterval=10\r\nAudioOut=\r\nAudioIn=\r\nTX Timeout=600\r\nAudio Idle=60\r\n");

    EXPECT_FALSE(SavePrefs(prefs, dir.file("missing/parlomat.ini")));
    const std::string other = dir.file("other.ini");
    EXPECT_FALSE(SavePrefs(Preferences{.Recorder = "two\nlines"}, other));
    EXPECT_EQ(PrefValue(other, "IDInterval"), "10");
    EXPECT_EQ(PrefValue(other, "Recorder"), "<none>");
}

TEST(SerialDevicePath, UsesTheAssignedDeviceElseTheNumberedPort) {
    const struct {
        const char* ports;  // the body of the "Ports" section
        int number;
        const char* expected;
    } cases[] = {
        {"", 1, "/dev/ttyS0"},
        {"com2 = /dev/ttyACM0", 2, "/dev/ttyACM0"},
        {"COM1=/dev/ttyUSB0", 2, "/dev/ttyS1"},
        {"COM3=", 3, "/dev/ttyS2"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.file("parlomat.ini");
        WriteBytes(path, std::string("[Preference]\nCOM1=/dev/wrong\n[Ports]\n") + c.ports + "\n");
        EXPECT_EQ(SerialDevicePath(path, c.number), c.expected) << c.number;
    }
}

}  // namespace
}  // namespace parlomat
