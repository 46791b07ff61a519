#include "core/settings/preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "core/settings/profile_file.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string PrefValue(const std::string& path, const char* key) {
    return GetProfileString(path, kPreferenceSection, key, "<none>");
}

void ExpectSame(const Preferences& got, const Preferences& want, const std::string& name) {
    EXPECT_EQ(got.PTTDelay, want.PTTDelay) << name;
    EXPECT_EQ(got.UTCDiffHours, want.UTCDiffHours) << name;
    EXPECT_NEAR(got.UTCDiffMinutes, want.UTCDiffMinutes, 1e-9) << name;
    EXPECT_EQ(got.CommPort, want.CommPort) << name;
    EXPECT_EQ(got.PTTKey, want.PTTKey) << name;
    EXPECT_EQ(got.PTTInt, want.PTTInt) << name;
    EXPECT_EQ(got.Recorder, want.Recorder) << name;
    EXPECT_EQ(got.FTLinkDelay, want.FTLinkDelay) << name;
    EXPECT_EQ(got.NAMSTiming, want.NAMSTiming) << name;
    EXPECT_NEAR(got.IDInterval, want.IDInterval, 1e-9) << name;
    EXPECT_EQ(got.AudioOut, want.AudioOut) << name;
    EXPECT_EQ(got.AudioIn, want.AudioIn) << name;
}

TEST(LoadPrefs, ReadsEachKeyByItsRule) {
    struct Case {
        const char* name;
        const char* lines;  // the body of the "Preference" section
        std::function<void(Preferences&)> expect;
    };
    const Case cases[] = {
        {"defaults", "", [](Preferences&) {}},
        {"negative delay", "PTT Delay=-250", [](Preferences& p) { p.PTTDelay = 250; }},
        {"empty delay", "PTT Delay=", [](Preferences& p) { p.PTTDelay = 0; }},
        {"delay rounds half even", "PTT Delay=2.5", [](Preferences& p) { p.PTTDelay = 2; }},
        {"huge delay", "PTT Delay=1e999", [](Preferences& p) { p.PTTDelay = 2147483647; }},
        {"huge negative delay", "PTT Delay=-1e999",
         [](Preferences& p) { p.PTTDelay = 2147483647; }},
        {"UTC whole", "UTCDiff=-7", [](Preferences& p) { p.UTCDiffHours = -7; }},
        {"UTC 5.5", "UTCDiff=5.5", [](Preferences& p) { p.UTCDiffMinutes = 30; }},
        {"UTC 5.75", "UTCDiff=5.75", [](Preferences& p) { p.UTCDiffMinutes = 45; }},
        {"UTC -3.5", "UTCDiff=-3.5",
         [](Preferences& p) {
             p.UTCDiffHours = -3;
             p.UTCDiffMinutes = -30;
         }},
        {"UTC .5", "UTCDiff=.5",
         [](Preferences& p) {
             p.UTCDiffHours = 0;
             p.UTCDiffMinutes = 30;
         }},
        {"UTC -.5", "UTCDiff=-.5",
         [](Preferences& p) {
             p.UTCDiffHours = 0;
             p.UTCDiffMinutes = -30;
         }},
        {"UTC 5.3333", "UTCDiff=5.3333", [](Preferences& p) { p.UTCDiffMinutes = 19.998; }},
        {"UTC huge", "UTCDiff=1e999", [](Preferences& p) { p.UTCDiffHours = 2147483647; }},
        {"UTC huge fraction", "UTCDiff=.5e999",
         [](Preferences& p) {
             p.UTCDiffHours = 0;
             p.UTCDiffMinutes = 2147483647;
         }},
        {"UTC junk", "UTCDiff=abc", [](Preferences& p) { p.UTCDiffHours = 0; }},
        {"port", "CommPort=4", [](Preferences& p) { p.CommPort = 4; }},
        {"empty port", "CommPort=", [](Preferences& p) { p.CommPort = 0; }},
        {"port beyond 16 bits", "CommPort=99999", [](Preferences& p) { p.CommPort = 32767; }},
        {"port far below", "CommPort=-1e999", [](Preferences& p) { p.CommPort = -32768; }},
        {"key upper case", "PTT Key=rts", [](Preferences& p) { p.PTTKey = "RTS"; }},
        {"other key kept", "PTT Key=xyz", [](Preferences& p) { p.PTTKey = "XYZ"; }},
        {"int upper case", "PTT Int=dsr", [](Preferences& p) { p.PTTInt = "DSR"; }},
        {"no int line", "PTT Int=", [](Preferences& p) { p.PTTInt = ""; }},
        {"recorder trimmed", "Recorder=   /usr/bin/arecord -f cd   ",
         [](Preferences& p) { p.Recorder = "/usr/bin/arecord -f cd"; }},
        {"recorder case kept", "Recorder=/opt/Rec",
         [](Preferences& p) { p.Recorder = "/opt/Rec"; }},
        {"negative link delay", "FTLink=-5", [](Preferences& p) { p.FTLinkDelay = -5; }},
        {"sked false", "NAMSTiming=false", [](Preferences& p) { p.NAMSTiming = 2; }},
        {"sked TRUE", "NAMSTiming=TRUE", [](Preferences& p) { p.NAMSTiming = 1; }},
        {"sked 2.5", "NAMSTiming=2.5", [](Preferences& p) { p.NAMSTiming = 2; }},
        {"sked 3", "NAMSTiming=3", [](Preferences& p) { p.NAMSTiming = 3; }},
        {"sked 3.5", "NAMSTiming=3.5", [](Preferences& p) { p.NAMSTiming = 1; }},
        {"sked 4", "NAMSTiming=4", [](Preferences& p) { p.NAMSTiming = 1; }},
        {"sked 0", "NAMSTiming=0", [](Preferences& p) { p.NAMSTiming = 1; }},
        {"sked junk", "NAMSTiming=yes", [](Preferences& p) { p.NAMSTiming = 1; }},
        {"ID 7.5", "IDInterval=7.5", [](Preferences& p) { p.IDInterval = 7.5; }},
        {"ID huge", "IDInterval=1e999", [](Preferences& p) { p.IDInterval = 2147483647; }},
        {"devices", "AudioOut=USB Audio CODEC: - (hw:1,0)\nAudioIn=pulse",
         [](Preferences& p) {
             p.AudioOut = "USB Audio CODEC: - (hw:1,0)";
             p.AudioIn = "pulse";
         }},
        {"names without regard to case", "ptt delay=300\nUTCDIFF=1",
         [](Preferences& p) {
             p.PTTDelay = 300;
             p.UTCDiffHours = 1;
         }},
    };
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    for (const auto& c : cases) {
        WriteBytes(path, std::string("[MSG Config]\nCommPort=9\n[Preference]\n") + c.lines + "\n");
        Preferences want;
        c.expect(want);
        Preferences got;
        got.PTTDelay = -1;
        got.CommPort = -1;
        got.PTTInt = "?";
        LoadPrefs(got, path);
        ExpectSame(got, want, c.name);
    }
}

TEST(LoadPrefs, MissingFileGivesDefaultsAndIsNotCreated) {
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    Preferences got;
    got.PTTDelay = 77;
    got.PTTKey = "RTS";
    got.IDInterval = 3;
    LoadPrefs(got, path);
    ExpectSame(got, Preferences{}, "no file");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(SavePrefs, WritesTheKeysInOrder) {
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    EXPECT_TRUE(SavePrefs(Preferences{}, path));
    EXPECT_EQ(ReadBytes(path),
              "[Preference]\nCommPort=1\nUTCDiff=5\nPTT Key=DTR\nPTT Int=CTS\nFTLink=90\n"
              "PTT Delay=10\nRecorder=\nIDInterval=10\nAudioOut=\nAudioIn=\n");
}

TEST(SavePrefs, WritesNumbersInTheirTextForm) {
    struct Case {
        const char* key;
        std::function<void(Preferences&)> set;
        const char* text;
    };
    const Case cases[] = {
        {"UTCDiff", [](Preferences& p) { p.UTCDiffHours = -3, p.UTCDiffMinutes = -30; }, "-3.5"},
        {"UTCDiff", [](Preferences& p) { p.UTCDiffHours = 0, p.UTCDiffMinutes = 30; }, ".5"},
        {"UTCDiff", [](Preferences& p) { p.UTCDiffHours = 0, p.UTCDiffMinutes = -30; }, "-.5"},
        {"UTCDiff", [](Preferences& p) { p.UTCDiffHours = 5, p.UTCDiffMinutes = 20; },
         "5.33333333333333"},
        {"IDInterval", [](Preferences& p) { p.IDInterval = 7.5; }, "7.5"},
        {"CommPort", [](Preferences& p) { p.CommPort = -32768; }, "-32768"},
        {"PTT Delay", [](Preferences& p) { p.PTTDelay = 2147483647; }, "2147483647"},
        {"FTLink", [](Preferences& p) { p.FTLinkDelay = -5; }, "-5"},
        {"Recorder", [](Preferences& p) { p.Recorder = "/usr/bin/rec x"; }, "/usr/bin/rec x"},
        {"PTT Int", [](Preferences& p) { p.PTTInt = ""; }, ""},
    };
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    for (const auto& c : cases) {
        Preferences prefs;
        c.set(prefs);
        ASSERT_TRUE(SavePrefs(prefs, path));
        EXPECT_EQ(PrefValue(path, c.key), c.text) << c.key;
    }
}

TEST(SavePrefs, LoadedValuesWriteBackAsTheyWere) {
    const char* texts[] = {"-3.5", ".5", "-.5", "5.75", "-7", "0"};
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    for (const char* text : texts) {
        WriteBytes(path, std::string("[Preference]\nUTCDiff=") + text + "\nIDInterval=7.5\n");
        Preferences prefs;
        LoadPrefs(prefs, path);
        ASSERT_TRUE(SavePrefs(prefs, path));
        EXPECT_EQ(PrefValue(path, "UTCDiff"), text);
        EXPECT_EQ(PrefValue(path, "IDInterval"), "7.5");
    }
}

TEST(SavePrefs, LeavesEverythingElseAsItWas) {
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    WriteBytes(path,
               "[MSG Config]\r\nMsg1=cq.wav\r\nCommPort=9\r\n\r\n[Preference]\r\nNAMSTiming=3\r\n"
               "Extra=keep me\r\nCommPort=2\r\n\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n");
    Preferences prefs;
    prefs.CommPort = 3;
    prefs.NAMSTiming = 4;
    ASSERT_TRUE(SavePrefs(prefs, path));
    EXPECT_EQ(ReadBytes(path),
              "[MSG Config]\r\nMsg1=cq.wav\r\nCommPort=9\r\n\r\n[Preference]\r\nNAMSTiming=3\r\n"
              "Extra=keep me\r\nCommPort=3\r\nUTCDiff=5\r\nPTT Key=DTR\r\nPTT Int=CTS\r\n"
              "FTLink=90\r\nPTT Delay=10\r\nRecorder=\r\nIDInterval=10\r\nAudioOut=\r\n"
              "AudioIn=\r\n\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n");
}

TEST(SavePrefs, ReportsAFailedWrite) {
    TempDir dir;
    EXPECT_FALSE(SavePrefs(Preferences{}, dir.file("missing/parlomat.ini")));
    Preferences bad;
    bad.Recorder = "two\nlines";
    const std::string path = dir.file("parlomat.ini");
    EXPECT_FALSE(SavePrefs(bad, path));
    EXPECT_EQ(PrefValue(path, "IDInterval"), "10");
    EXPECT_EQ(PrefValue(path, "Recorder"), "<none>");
}

TEST(SerialDevicePath, UsesTheAssignedDeviceElseTheNumberedPort) {
    struct Case {
        const char* ports;  // the body of the "Ports" section, or nullptr for no file
        int number;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, 1, "/dev/ttyS0"},
        {nullptr, 4, "/dev/ttyS3"},
        {nullptr, 0, ""},
        {nullptr, -2, ""},
        {"COM1=/dev/ttyUSB0", 1, "/dev/ttyUSB0"},
        {"com2 = /dev/serial/by-id/usb-FTDI-if00-port0", 2,
         "/dev/serial/by-id/usb-FTDI-if00-port0"},
        {"COM1=/dev/ttyUSB0", 2, "/dev/ttyS1"},
        {"COM3=", 3, "/dev/ttyS2"},
        {"COM0=/dev/ttyACM0", 0, "/dev/ttyACM0"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.file("parlomat.ini");
        std::filesystem::remove(path);
        if (c.ports != nullptr) {
            WriteBytes(path,
                       std::string("[Preference]\nCOM1=/dev/wrong\n[Ports]\n") + c.ports + "\n");
        }
        EXPECT_EQ(SerialDevicePath(path, c.number), c.expected) << c.number;
    }
}

}  // namespace
}  // namespace parlomat
