#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings/temp_dir.h"
#include "sim_station.h"

namespace parlomat::test {
namespace {

using std::chrono::sys_days;

// Every key-down of a session and the key-up that ends it reach the station log with their
// cause and slot: a run that ends with its message, a loop's receive window, Stop, the Xmit
// button, and the TX time-out.
TEST(TransmitLog, EachKeyDownAndItsKeyUpAreLoggedWithCauseAndSlot) {
    TempDir dir;
    SimChannels::WriteSilence(dir.file("a.wav"), 1000);
    SimChannels::WriteSilence(dir.file("b.wav"), 500);
    WriteBytes(dir.file("parlomat.ini"),
               "[Preference]\nPTT Delay=300\nTX Timeout=20\n[MSG Config]\n"
               "MSG1=a.wav\nDelay1=0\nLoop1=False\nMSG2=b.wav\nDelay2=2\nLoop2=True\n");
    SimStation s(dir.path().string(),
                 LocalTime{sys_days{std::chrono::year{2026} / 5 / 1}.time_since_epoch()});
    RecordingLog tx_log;
    Started(s, {.log = &tx_log});
    const auto run = [&](Ms ms) { s.scheduler.advance(ms); };

    s.keyer().cmdStart_Click();
    run(Ms{3000});
    s.keyer().optMessage_Click(1);
    s.keyer().cmdStart_Click();
    run(Ms{1500});  // 0.3 s delay, 0.5 s message, the receive window, then the second pass
    s.keyer().cmdStop_Click();
    s.keyer().cmdStop_Click();  // no key-down left: nothing to log
    s.keyer().cmdXmit_Click();
    s.keyer().cmdXmit_Click();
    s.keyer().cmdXmit_Click();
    run(Ms{21'000});

    const std::vector<std::string> expected = {
        "down start 1",  "up end of message 1", "down start 2",  "up end of message 2",
        "down repeat 2", "up stop 2",           "down manual 2", "up manual 2",
        "down manual 2", "timeout 20",          "up stop 2"};
    EXPECT_EQ(tx_log.entries, expected) << s.take_log();
}

}  // namespace
}  // namespace parlomat::test
