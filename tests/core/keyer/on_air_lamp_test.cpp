#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/keyer/on_air_lamp.h"
#include "core/keyer/sked_segments.h"
#include "core/settings/temp_dir.h"
#include "sim_station.h"

namespace parlomat::test {
namespace {

using std::chrono::sys_days;

constexpr int kF12 = 123;

LocalTime Noon() {
    return LocalTime{sys_days{std::chrono::year{2026} / 1 / 1}.time_since_epoch()} +
           std::chrono::hours{12};
}

// A 1 s message looping with a 2 s receive window, keyed on `ptt_key` after a 300 ms delay.
void WriteStation(const TempDir& dir, const std::string& ptt_key) {
    SimChannels::WriteSilence(dir.file("cq.wav"), 1000);
    WriteBytes(dir.file("parlomat.ini"),
               "[Preference]\nPTT Delay=300\nPTT Key=" + ptt_key +
                   "\n[MSG Config]\nMSG1=cq.wav\nDelay1=20\nLoop1=True\n");
}

TEST(OnAirLamp, FollowsTheLineThatReallyHoldsTheKey) {
    const struct {
        const char* ptt_key;
        LampColour delay, sending;
        const char* sending_text;
    } cases[] = {
        {"DTR", LampColour::Amber, LampColour::Red, "ON AIR"},
        // No line assigned: the keyer means to transmit, but nothing is keyed.
        {"", LampColour::Off, LampColour::Off, "ON AIR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ptt_key);
        TempDir dir;
        WriteStation(dir, c.ptt_key);
        SimStation s(dir.path().string(), Noon());
        EXPECT_EQ(s.keyer.lamp().colour, LampColour::Off);
        s.keyer.Form_KeyDown(kF12, 0);
        s.scheduler.advance(Ms{100});
        EXPECT_TRUE(s.keyer.fields().PTTKeyed) << "the keyer meant to key";
        EXPECT_EQ(s.keyer.lamp().colour, c.delay);
        s.scheduler.advance(Ms{500});
        EXPECT_EQ(s.keyer.lamp().colour, c.sending);
        EXPECT_EQ(s.keyer.lamp().text, c.sending_text);
    }
}

TEST(OnAirLamp, CountsDownTheReceiveWindowInAmber) {
    TempDir dir;
    WriteStation(dir, "DTR");
    SimStation s(dir.path().string(), Noon());
    s.keyer.Form_KeyDown(kF12, 0);
    s.scheduler.advance(Ms{300 + 1000 + 200});  // delay, message, and into the window
    ASSERT_EQ(s.keyer.run_phase(), RunPhase::Listening) << s.take_log();
    const LampState first = s.keyer.lamp();
    EXPECT_EQ(first.colour, LampColour::Amber);
    EXPECT_EQ(first.text, "LISTENING");
    s.scheduler.advance(Ms{1000});
    const LampState later = s.keyer.lamp();
    ASSERT_FALSE(first.countdown.empty());
    EXPECT_NE(first.countdown, later.countdown);
    s.keyer.Form_KeyDown(27, 0);
    EXPECT_EQ(s.keyer.lamp().colour, LampColour::Off);
}

TEST(OnAirLamp, CountdownTexts) {
    const struct {
        LampInputs in;
        const char* countdown;
        const char* id_text;
    } cases[] = {
        {{.phase = RunPhase::Listening, .receive_left = Ms{1901}}, "2.0 s", ""},
        {{.phase = RunPhase::Listening, .receive_left = Ms{1900}}, "1.9 s", ""},
        {{.phase = RunPhase::Listening, .receive_left = Ms{0}}, "0.0 s", ""},
        {{.on_air = true, .phase = RunPhase::Sending, .sked_mode = true, .segment_seconds = 12},
         "12 s",
         ""},
        {{.id_left = Ms{599'001}}, "", "ID 10:00"},
        {{.id_left = Ms{0}}, "", "ID due"},
    };
    for (const auto& c : cases) {
        const LampState lamp = LampFor(c.in);
        EXPECT_EQ(lamp.countdown, c.countdown);
        EXPECT_EQ(lamp.id_text, c.id_text);
    }
}

TEST(SegmentSecondsLeft, CountsToTheEndOfEachSegmentLength) {
    const struct {
        const char* clock;
        std::int16_t code;
        std::optional<int> left;
    } cases[] = {
        {"12:00:00", 1, 15},  {"12:00:14", 1, 1},  {"12:00:15", 1, 15},
        {"12:00:44", 2, 16},  {"12:00:59", 3, 1},  {"12:01:00", 4, 60},
        {"12:00:00", 4, 120}, {"12:00:00", 5, {}}, {"12:0:00", 1, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SegmentSecondsLeft(c.clock, c.code), c.left) << c.clock << " code " << c.code;
    }
}

}  // namespace
}  // namespace parlomat::test
