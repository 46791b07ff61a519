#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/keyer/key_codes.h"
#include "core/keyer/on_air_lamp.h"
#include "core/keyer/sked_segments.h"
#include "core/settings/temp_dir.h"
#include "sim_station.h"

namespace parlomat::test {
namespace {

// With no PTT line assigned the keyer means to transmit but nothing is keyed: the lamp stays
// dark through the delay and the message, and lights only for the receive window.
TEST(OnAirLamp, StaysDarkWithNoLineHoldingTheKey) {
    TempDir dir;
    SimChannels::WriteSilence(dir.file("cq.wav"), 1000);
    WriteBytes(dir.file("parlomat.ini"),
               "[Preference]\nPTT Delay=300\nPTT Key=\n[MSG Config]\n"
               "MSG1=cq.wav\nDelay1=20\nLoop1=True\n");
    using namespace std::chrono;
    SimStation s(dir.path().string(),
                 LocalTime{sys_days{year{2026} / 1 / 1}.time_since_epoch()} + hours{12});
    Started(s).keyer().Form_KeyDown(kKeyF12, 0);
    for (const int ms : {100, 500}) {
        s.scheduler.advance(Ms{ms});
        EXPECT_TRUE(s.keyer().fields().PTTKeyed) << "the keyer meant to key";
        EXPECT_EQ(s.keyer().lamp().colour, LampColour::Off) << s.scheduler.now().count();
    }
    s.scheduler.advance(Ms{900});
    ASSERT_EQ(s.keyer().run_phase(), RunPhase::Listening) << s.take_log();
    EXPECT_EQ(s.keyer().lamp().colour, LampColour::Amber);
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
        {"12:00:14", 1, 1},  {"12:00:15", 1, 15},  {"12:00:44", 2, 16}, {"12:00:59", 3, 1},
        {"12:01:00", 4, 60}, {"12:00:00", 4, 120}, {"12:00:00", 5, {}}, {"12:0:00", 1, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SegmentSecondsLeft(c.clock, c.code), c.left) << c.clock << " code " << c.code;
    }
}

}  // namespace
}  // namespace parlomat::test
