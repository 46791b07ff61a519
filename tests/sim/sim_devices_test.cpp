#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim_channels.h"
#include "sim/sim_dialogs.h"
#include "sim/sim_launcher.h"
#include "sim/sim_scheduler.h"
#include "sim/sim_serial_port.h"
#include "sim/trace.h"

namespace parlomat {
namespace {

namespace fs = std::filesystem;

class CountingListener : public ChannelListener {
  public:
    void mci_StatusUpdate(int index) override { calls.push_back(index); }
    std::vector<int> calls;
};

class SimDevicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("parlomat-sim-test-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string station() const { return dir_.string(); }

    fs::path dir_;
    SimScheduler scheduler_;
    std::ostringstream out_;
    Trace trace_{scheduler_, out_};
};

TEST_F(SimDevicesTest, TraceStampsVirtualTimeAndEscapesTexts) {
    scheduler_.advance(Ms{1234});
    trace_.event("panel pnlFeedback " + Trace::quote("a \"b\" \\ c\nd"));
    scheduler_.advance(Ms{123456789});
    trace_.event("x");
    EXPECT_EQ(out_.str(), "    1234 panel pnlFeedback \"a \\\"b\\\" \\\\ c\\nd\"\n123458023 x\n");
}

TEST_F(SimDevicesTest, OpenTakesTheLengthFromTheFileAndFailsSilentlyOnJunk) {
    ASSERT_TRUE(SimChannels::WriteSilence(path("a.wav"), 1234));
    { std::ofstream(path("junk.wav")) << "not a wave\n"; }
    SimChannels channels(scheduler_, trace_, station());
    channels.OpenChannel(0, path("a.wav"));
    channels.OpenChannel(1, path("junk.wav"));
    channels.OpenChannel(2, "/nonexistent/b.wav");
    EXPECT_EQ(channels.ChannelMode(0), mode::kStopped);
    EXPECT_EQ(channels.ChannelLength(0), 1234);
    EXPECT_EQ(channels.ChannelMode(1), mode::kNotOpen);
    EXPECT_EQ(channels.ChannelMode(2), mode::kNotOpen);
    EXPECT_EQ(out_.str(),
              "       0 channel 0 open a.wav\n       0 channel 1 open junk.wav\n"
              "       0 channel 2 open /nonexistent/b.wav\n");
}

TEST_F(SimDevicesTest, PlayLastsExactlyTheLengthAndPlaysAgainFromTheStart) {
    ASSERT_TRUE(SimChannels::WriteSilence(path("a.wav"), 500));
    SimChannels channels(scheduler_, trace_, station());
    channels.OpenChannel(3, path("a.wav"));
    for (int pass = 0; pass < 2; ++pass) {
        channels.PlayFromStart(3);
        scheduler_.advance(Ms{200});
        EXPECT_EQ(channels.ChannelPosition(3), 200);
        scheduler_.advance(Ms{299});
        EXPECT_EQ(channels.ChannelMode(3), mode::kPlaying);
        scheduler_.advance(Ms{1});
        EXPECT_EQ(channels.ChannelMode(3), mode::kStopped);
        EXPECT_EQ(channels.ChannelPosition(3), 500);
    }
    EXPECT_NE(out_.str().find("     500 channel 3 end\n"), std::string::npos);
    EXPECT_NE(out_.str().find("    1000 channel 3 end\n"), std::string::npos);
}

TEST_F(SimDevicesTest, StopHaltsPlayAndNothingHappensOnAClosedChannel) {
    ASSERT_TRUE(SimChannels::WriteSilence(path("a.wav"), 500));
    SimChannels channels(scheduler_, trace_, station());
    channels.PlayFromStart(0);
    EXPECT_EQ(channels.ChannelMode(0), mode::kNotOpen);
    channels.OpenChannel(0, path("a.wav"));
    channels.PlayFromStart(0);
    scheduler_.advance(Ms{120});
    channels.StopChannel(0);
    scheduler_.advance(Ms{1000});
    EXPECT_EQ(channels.ChannelMode(0), mode::kStopped);
    EXPECT_EQ(channels.ChannelPosition(0), 120);
    EXPECT_EQ(out_.str().find("end"), std::string::npos);
    channels.CloseChannel(0);
    EXPECT_EQ(channels.ChannelMode(0), mode::kNotOpen);
    EXPECT_EQ(channels.ChannelLength(0), 0);
}

TEST_F(SimDevicesTest, RecordingIsSavedAsARealWaveOfTheRecordedLength) {
    SimChannels channels(scheduler_, trace_, station());
    ASSERT_TRUE(channels.CreateEmptyWave(path("temp.wav")));
    EXPECT_EQ(SimChannels::WaveLength(path("temp.wav")), 0);
    channels.OpenChannel(0, path("temp.wav"));
    channels.RecordChannel(0);
    EXPECT_EQ(channels.ChannelMode(0), mode::kRecording);
    scheduler_.advance(Ms{2500});
    EXPECT_EQ(channels.ChannelPosition(0), 2500);
    channels.StopChannel(0);
    EXPECT_EQ(channels.ChannelLength(0), 2500);
    EXPECT_TRUE(channels.SaveChannel(0, path("cq.wav")));
    EXPECT_EQ(SimChannels::WaveLength(path("cq.wav")), 2500);
    EXPECT_FALSE(channels.SaveChannel(0, path("no/such/dir/cq.wav")));
    EXPECT_FALSE(channels.SaveChannel(1, path("empty.wav")));
    EXPECT_FALSE(fs::exists(path("empty.wav")));
    EXPECT_NE(out_.str().find("    2500 channel 0 save cq.wav\n"), std::string::npos);
}

TEST_F(SimDevicesTest, StatusUpdatesFollowTheIntervalAndAnUnchangedIntervalKeepsItsCountdown) {
    SimChannels channels(scheduler_, trace_, station());
    CountingListener listener;
    channels.set_listener(&listener);
    channels.SetUpdateInterval(2, 100);
    scheduler_.advance(Ms{60});
    channels.SetUpdateInterval(2, 100);
    scheduler_.advance(Ms{40});
    EXPECT_EQ(listener.calls, std::vector<int>({2}));
    scheduler_.advance(Ms{400});
    EXPECT_EQ(listener.calls.size(), 5u);
    channels.SetUpdateInterval(2, 0);
    scheduler_.advance(Ms{1000});
    EXPECT_EQ(listener.calls.size(), 5u);
    channels.set_listener(nullptr);
}

TEST_F(SimDevicesTest, SerialLinesAreTracedOnlyWhenAnOpenPortChangesThem) {
    SimSerialPort port(trace_, station());
    port.set_port_number(2);
    port.set_settings("9600,N,8,1");
    port.set_dtr(true);
    port.set_cts(true);
    EXPECT_FALSE(port.cts());
    SerialError error;
    ASSERT_TRUE(port.open(error));
    EXPECT_FALSE(port.dtr_on());
    EXPECT_TRUE(port.cts());
    port.set_dtr(true);
    port.set_dtr(true);
    port.set_rts(false);
    port.set_dtr(false);
    EXPECT_EQ(out_.str(),
              "       0 port open /dev/ttyS1 9600,N,8,1\n       0 line DTR on\n"
              "       0 line DTR off\n");
}

TEST_F(SimDevicesTest, RefusedPortsReportTheSystemsWords) {
    struct Case {
        SimSerialPort::Refusal refusal;
        int number;
        const char* description;
    };
    for (const Case& c : {Case{SimSerialPort::Refusal::Busy, 8005, "Device or resource busy"},
                          Case{SimSerialPort::Refusal::Fails, 5, "Input/output error"}}) {
        SimSerialPort port(trace_, station());
        port.refuse(c.refusal);
        SerialError error;
        EXPECT_FALSE(port.open(error));
        EXPECT_FALSE(port.is_open());
        EXPECT_EQ(error.number, c.number);
        EXPECT_EQ(error.description, c.description);
    }
    EXPECT_EQ(out_.str(), "");
}

TEST_F(SimDevicesTest, CommandLinesSplitLikeADesktop) {
    using Words = std::vector<std::string>;
    struct Case {
        const char* line;
        std::optional<Words> words;
    };
    const Case cases[] = {
        {"pavucontrol --tab=1", Words{"pavucontrol", "--tab=1"}},
        {"  a   b  ", Words{"a", "b"}},
        {"\"/opt/my rec/rec\" -x", Words{"/opt/my rec/rec", "-x"}},
        {"say \"he said \"\"\"hi\"\"\"\"", Words{"say", "he said \"hi\""}},
        {"a \"\" b", Words{"a", "b"}},
        {"x\"y z\"w", Words{"xy zw"}},
        {"", Words{}},
        {"rec \"unbalanced", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SimLauncher::SplitCommand(c.line), c.words) << c.line;
    }
}

TEST_F(SimDevicesTest, StartSucceedsOnlyForAnExecutableProgram) {
    SimLauncher launcher(trace_);
    EXPECT_TRUE(launcher.start("sh -c true"));
    EXPECT_TRUE(launcher.start("\"/bin/sh\" -c \"exit 1\""));
    EXPECT_FALSE(launcher.start("no-such-program-parlomat --x"));
    EXPECT_FALSE(launcher.start("/etc/passwd"));
    EXPECT_FALSE(launcher.start("\"/bin/sh"));
    EXPECT_FALSE(launcher.start("   "));
    EXPECT_TRUE(launcher.open_url("https://example.org/"));
    EXPECT_EQ(out_.str(),
              "       0 launch \"sh -c true\"\n"
              "       0 launch \"\\\"/bin/sh\\\" -c \\\"exit 1\\\"\"\n"
              "       0 open-url \"https://example.org/\"\n");
}

TEST_F(SimDevicesTest, DialogsAnswerFromTheirQueues) {
    SimDialogs dialogs(trace_, station());
    dialogs.queue_reply(MsgReply::No);
    dialogs.queue_reply(MsgReply::Ok);
    EXPECT_EQ(dialogs.message_box(MsgIcon::None, "Q", "Quit?", MsgButtons::YesNo), MsgReply::No);
    EXPECT_EQ(dialogs.message_box(MsgIcon::Critical, "T", "a\nb", MsgButtons::Ok), MsgReply::Ok);
    EXPECT_EQ(dialogs.message_box(MsgIcon::None, "Q", "Quit?", MsgButtons::YesNo), MsgReply::Yes);
    dialogs.queue_choice("x.wav");
    dialogs.queue_choice(std::nullopt);
    FileDialogRequest request;
    request.title = "Open";
    request.filter = "Wave|*.wav";
    EXPECT_EQ(dialogs.file_dialog(request), path("x.wav"));
    EXPECT_EQ(dialogs.file_dialog(request), std::nullopt);
    EXPECT_EQ(dialogs.file_dialog(request), std::nullopt);
    dialogs.beep(0x30);
    EXPECT_EQ(out_.str(),
              "       0 msgbox none \"Q\" \"Quit?\" yesno -> no\n"
              "       0 msgbox critical \"T\" \"a\\nb\" ok -> ok\n"
              "       0 msgbox none \"Q\" \"Quit?\" yesno -> yes\n"
              "       0 filedialog open \"Open\" \"Wave|*.wav\" -> x.wav\n"
              "       0 filedialog open \"Open\" \"Wave|*.wav\" -> cancel\n"
              "       0 filedialog open \"Open\" \"Wave|*.wav\" -> cancel\n"
              "       0 beep 0x30\n");
}

}  // namespace
}  // namespace parlomat
