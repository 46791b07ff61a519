#include "core/settings/profile_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/settings/msg_config.h"
#include "core/settings/preferences.h"
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
    const std::string files[] = {"",
                                 "[S]\rk=1\r",
                                 "[S]\r\nk=1\r\n[Empty]\r\n\r\n[T]\r\nz=0\r\n",
                                 "lead=1\n[S]\n; note\nk=1\nodd\n\n[Other]\nk=0",
                                 "[S]\nk=1\n[Other]\n[s]\nk=2\nk=3\n  ",
                                 "[Empty]",
                                 "no section at all"};
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
}

// A settings file grown to 20 MB of junk sections is read once per load and written once per
// save: the start-up reads every key from one parse.
TEST(ProfileDocument, TwentyMegabytesOfJunkSectionsLoadAndSaveCorrectly) {
    std::string junk_before, junk_after;
    for (int i = 0; junk_after.size() < 10'000'000; ++i) {
        const std::string n = std::to_string(i);
        junk_before += "[junk " + n + "]\nCommPort=" + n + "\nno equals sign here " + n +
                       "\n; Recorder=comment " + n + "\n";
        junk_after += "[Preference junk " + n + "]\r\nPTT Delay=" + n + "\nMSG1=x" + n + ".wav\n\n";
    }
    const std::string preference =
        "[Preference]\nCommPort=3\nUTCDiff=-3.5\nPTT Key=rts\nPTT Int=DSR\nFTLink=120\n"
        "PTT Delay=250\nRecorder=rec -q\nIDInterval=7.5\nAudioOut=USB\nAudioIn=Mic\n";
    const std::string later = "[PREFERENCE]\nNAMSTiming=3\n[MSG Config]\nMSG2=cq.wav\nLoop2=1\n";
    TempDir dir;
    const std::string path = dir.file("parlomat.ini");
    WriteBytes(path, junk_before + preference + junk_after + later);

    Preferences prefs;
    LoadPrefs(prefs, path);
    const MsgConfig config = ReadMsgConfigSection(path);
    EXPECT_EQ(prefs.NAMSTiming, 3) << "a key in a later section of the same name";
    EXPECT_EQ(config[0], MsgSlotConfig{});
    EXPECT_EQ(config[1], (MsgSlotConfig{"cq.wav", "", true}));

    // Every value read is written back as read (PTT Key upper-cased), the changed one as changed.
    prefs.CommPort = 4;
    ASSERT_TRUE(SavePrefs(prefs, path));
    const std::string written_preference =
        "[Preference]\nCommPort=4\nUTCDiff=-3.5\nPTT Key=RTS\nPTT Int=DSR\nFTLink=120\n"
        "PTT Delay=250\nRecorder=rec -q\nIDInterval=7.5\nAudioOut=USB\nAudioIn=Mic\n"
        "TX Timeout=600\nAudio Idle=60\n";
    EXPECT_TRUE(ReadBytes(path) == junk_before + written_preference + junk_after + later)
        << "every junk byte stays as it was";
}

}  // namespace
}  // namespace parlomat
