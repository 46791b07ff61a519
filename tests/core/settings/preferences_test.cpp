#include "core/settings/preferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "core/settings/numbers.h"
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

// Every field as text, so that one comparison shows all fields that differ.
std::map<std::string, std::string> Fields(const Preferences& p) {
    return {{"PTTDelay", NumberText(p.PTTDelay)},
            {"UTCDiffHours", NumberText(p.UTCDiffHours)},
            {"UTCDiffMinutes", NumberText(p.UTCDiffMinutes)},
            {"UTCDiffAuto", p.UTCDiffAuto ? "yes" : "no"},
            {"CommPort", NumberText(p.CommPort)},
            {"PTTKey", p.PTTKey},
            {"PTTInt", p.PTTInt},
            {"Recorder", p.Recorder},
            {"FTLinkDelay", NumberText(p.FTLinkDelay)},
            {"NAMSTiming", NumberText(p.NAMSTiming)},
            {"IDInterval", NumberText(p.IDInterval)},
            {"AudioOut", p.AudioOut},
            {"AudioIn", p.AudioIn},
            {"AudioIdle", NumberText(p.AudioIdle)}};
}

// The default fields with the changes listed as "Field=value;Field=value".
std::map<std::string, std::string> DefaultsWith(const std::string& changes) {
    auto fields = Fields(Preferences{});
    std::size_t start = 0;
    while (start < changes.size()) {
        const auto end = std::min(changes.find(';', start), changes.size());
        const std::string change = changes.substr(start, end - start);
        const auto eq = change.find('=');
        EXPECT_TRUE(fields.count(change.substr(0, eq))) << change;
        fields[change.substr(0, eq)] = change.substr(eq + 1);
        start = end + 1;
    }
    return fields;
}

TEST(LoadPrefs, ReadsEachKeyByItsRule) {
    struct Case {
        const char* lines;    // the body of the "Preference" section; nullptr: no file
        const char* changes;  // the fields that differ from the defaults
    };
    const Case cases[] = {
        {nullptr, ""},
        {"PTT Delay=-250", "PTTDelay=250"},
        {"UTCDiff=-7", "UTCDiffHours=-7;UTCDiffAuto=no"},
        {"UTCDiff=5.5", "UTCDiffMinutes=30;UTCDiffAuto=no"},
        {"UTCDiff=-3.5", "UTCDiffHours=-3;UTCDiffMinutes=-30;UTCDiffAuto=no"},
        {"UTCDiff=5.3333", "UTCDiffMinutes=19.998;UTCDiffAuto=no"},
        {"UTCDiff=abc", "UTCDiffHours=0;UTCDiffAuto=no"},
        {"UTCDiff= Automatic ", ""},
        {"CommPort=99999", "CommPort=32767"},
        {"PTT Key=rts", "PTTKey=RTS"},
        {"PTT Int=", "PTTInt="},
        {"Recorder=   /usr/bin/arecord -f cd   ", "Recorder=/usr/bin/arecord -f cd"},
        {"FTLink=-5", "FTLinkDelay=-5"},
        {"NAMSTiming=false", "NAMSTiming=2"},
        {"NAMSTiming=3", "NAMSTiming=3"},
        {"NAMSTiming=yes", "NAMSTiming=1"},
        {"AudioOut=USB Audio CODEC: - (hw:1,0)\nAudioIn=pulse",
         "AudioOut=USB Audio CODEC: - (hw:1,0);AudioIn=pulse"},
        {"ptt delay=300\nUTCDIFF=1", "PTTDelay=300;UTCDiffHours=1;UTCDiffAuto=no"},
        {"Audio Idle=-5", ""},
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
        Preferences got;
        got.PTTDelay = -1;
        got.CommPort = -1;
        got.PTTInt = "?";
        LoadPrefs(got, path);
        EXPECT_EQ(Fields(got), DefaultsWith(c.changes)) << name;
        EXPECT_EQ(std::filesystem::exists(path), c.lines != nullptr) << name;
    }
}

TEST(SavePrefs, LoadedValuesWriteBackAsTheyWere) {
    const char* texts[] = {"-3.5", "-.5", "-7", "automatic"};
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
    // An automatic difference the file never held stays out of it.
    WriteBytes(path, "[Preference]\nIDInterval=7.5\n");
    Preferences prefs;
    LoadPrefs(prefs, path);
    ASSERT_TRUE(SavePrefs(prefs, path));
    EXPECT_EQ(PrefValue(path, "UTCDiff"), "<none>");
}

TEST(SavePrefs, WritesItsKeysInOrderAndLeavesEverythingElseAsItWas) {
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    WriteBytes(path,
               "[MSG Config]\r\nMsg1=cq.wav\r\nCommPort=9\r\n\r\n[Preference]\r\nNAMSTiming=3\r\n"
               "Extra=keep me\r\nCommPort=2\r\n\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n");
    Preferences prefs;
    prefs.CommPort = 3;
    prefs.UTCDiffAuto = false;
    prefs.UTCDiffMinutes = 20;
    prefs.PTTKey = "RTS";
    prefs.PTTInt = "";
    prefs.FTLinkDelay = -5;
    prefs.PTTDelay = 250;
    prefs.Recorder = "/usr/bin/rec -q";
    prefs.IDInterval = 7.5;
    prefs.AudioOut = "USB Audio";
    prefs.NAMSTiming = 4;
    ASSERT_TRUE(SavePrefs(prefs, path));
    EXPECT_EQ(ReadBytes(path),
              "[MSG Config]\r\nMsg1=cq.wav\r\nCommPort=9\r\n\r\n[Preference]\r\nNAMSTiming=3\r\n"
              "Extra=keep me\r\nCommPort=3\r\nUTCDiff=5.33333333333333\r\nPTT Key=RTS\r\n"
              "PTT Int=\r\nFTLink=-5\r\nPTT Delay=250\r\nRecorder=/usr/bin/rec -q\r\n"
              "IDInterval=7.5\r\nAudioOut=USB Audio\r\nAudioIn=\r\nTX Timeout=600\r\nAudio "
              "Idle=60\r\n\r\n"
              "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n");
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
