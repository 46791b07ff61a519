#include "core/keyer/remote_control.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/keyer/key_codes.h"
#include "core/keyer/sim_station.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::TempDir;
using test::WriteBytes;

LocalTime Noon() {
    using namespace std::chrono;
    return LocalTime{sys_days{year{2026} / 1 / 1}.time_since_epoch()} + hours{12};
}

void WriteStation(const TempDir& dir) {
    SimChannels::WriteSilence(dir.file("a.wav"), 1500);
    SimChannels::WriteSilence(dir.file("b.wav"), 700);
    WriteBytes(dir.file("parlomat.ini"),
               "[Preference]\nPTT Delay=300\n"
               "[MSG Config]\nMSG1=a.wav\nDelay1=0\nLoop1=False\n"
               "MSG2=b.wav\nDelay2=20\nLoop2=True\n");
}

// A remote command is the key: the same sequence run as lines and as keys leaves the same trace.
TEST(RemoteControl, CommandsRunTheKeysHandlers) {
    const struct {
        const char* line;
        int key;
    } steps[] = {
        {"PLAY 2", kKeyF1 + 1},
        {"play 1", kKeyF1},
        {"PLAY 6", kKeyF6},
        {"STOP", kKeyEscape},
    };
    TempDir by_line_dir;
    TempDir by_key_dir;
    WriteStation(by_line_dir);
    WriteStation(by_key_dir);
    SimStation by_line(by_line_dir.path().string(), Noon());
    SimStation by_key(by_key_dir.path().string(), Noon());
    RemoteControl& remote = test::Started(by_line).remote();
    test::Started(by_key);
    by_line.take_log();
    by_key.take_log();
    for (const auto& step : steps) {
        EXPECT_EQ(remote.Handle(step.line), "OK") << step.line;
        by_key.keyer().Form_KeyDown(step.key, 0);
        by_line.scheduler.advance(Ms{500});
        by_key.scheduler.advance(Ms{500});
        const std::string line_trace = by_line.take_log();
        EXPECT_FALSE(line_trace.empty()) << step.line;
        // The two stations live in different directories; their traces name the same files.
        EXPECT_EQ(line_trace, by_key.take_log()) << step.line;
    }
}

// While the preferences dialog is open a command changes nothing, as a key press would not;
// STATUS and RAISE still answer. (A message box is tested with the real program.)
TEST(RemoteControl, ModalWindowRefusesCommands) {
    TempDir dir;
    WriteStation(dir);
    SimStation station(dir.path().string(), Noon());
    int raised = 0;
    RemoteControl& remote =
        test::Started(station, {.hooks = {.other_modal_open = {}, .raise = [&] { ++raised; }}})
            .remote();
    station.keyer().mnuFileItem_Click(2);
    ASSERT_TRUE(station.keyer().modal_open());
    EXPECT_EQ(remote.Handle("PLAY 2"), "ERR modal");
    EXPECT_EQ(remote.Handle("STOP"), "ERR modal");
    station.scheduler.advance(Ms{500});
    EXPECT_EQ(station.keyer().state().frame.active, 0);
    EXPECT_FALSE(station.keyer().ptt().on_air());
    EXPECT_EQ(remote.Handle("STATUS").front(), '{');
    EXPECT_EQ(remote.Handle("RAISE"), "OK");
    EXPECT_EQ(raised, 1);
    station.keyer().preferences_form()->cmdCancel_Click();
    EXPECT_EQ(remote.Handle("PLAY 2"), "OK");
}

}  // namespace
}  // namespace parlomat
