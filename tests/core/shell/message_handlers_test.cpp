#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/keyer/keyer.h"
#include "core/settings/temp_dir.h"
#include "sim/sim_channels.h"
#include "sim/sim_dialogs.h"
#include "sim/sim_launcher.h"
#include "sim/sim_link.h"
#include "sim/sim_scheduler.h"
#include "sim/sim_serial_port.h"
#include "sim/sim_view.h"
#include "sim/trace.h"

namespace parlomat {
namespace {

/// The keyer on simulated devices, its main window shown, with `ini` as its settings file.
/// The station directory is a folder of its own inside `dir`, so that files can lie beside it.
struct Station {
    explicit Station(const std::string& ini, const std::vector<std::string>& waves = {}) {
        for (const auto& wave : waves) {
            std::filesystem::create_directories(
                std::filesystem::path(dir.file(wave)).parent_path());
            SimChannels::WriteSilence(dir.file(wave), 100);
        }
        test::WriteBytes(station + "/parlomat.ini", ini);
        keyer.Show();
        log.str({});
    }
    /// The trace since the last call, the station directory written as "<station>".
    std::string take_log() {
        std::string text = log.str();
        log.str({});
        for (auto at = text.find(station); at != std::string::npos; at = text.find(station)) {
            text.replace(at, station.size(), "<station>");
        }
        return text;
    }

    test::TempDir dir;
    std::string station = dir.file("station");
    bool made = std::filesystem::create_directory(station);
    std::ostringstream log;
    SimScheduler scheduler{LocalTime{}};
    Trace trace{scheduler, log};
    SimChannels channels{scheduler, trace, station};
    SimSerialPort serial{trace, station};
    SimLink link{trace};
    SimDialogs dialogs{trace, station};
    SimLauncher launcher{trace};
    SimView view{trace};
    Keyer keyer{
        KeyerPorts{scheduler, channels, serial, link, dialogs, launcher, view, &view, station}};
};

TEST(RunRecorder, StartsTheRecorderOrSaysWhereToMendIt) {
    struct Case {
        const char* recorder;
        std::string trace;
    };
    const std::string failed =
        "       0 msgbox critical \"Parlomat\" \"An error occured while attempting to start %.  "
        "The path or filename may be incorrect.  Corrections to either may be made in the "
        "Parlomat.ini file.  This file is located in the <station> subdirectory.\" ok -> ok\n";
    const auto failure = [&failed](const std::string& recorder) {
        std::string text = failed;
        return text.replace(text.find('%'), 1, recorder);
    };
    const std::vector<Case> cases = {
        {"/bin/true --rate 8000", "       0 launch \"/bin/true --rate 8000\"\n"},
        {"/no/such/recorder -r", failure("/no/such/recorder -r")},
        {"\"/bin/true\" x", "       0 launch \"\\\"/bin/true\\\" x\"\n"},
        {"\"/bin/true", failure("\\\"/bin/true")},
        {"'/bin/true' x", failure("'/bin/true' x")},
    };
    for (const auto& c : cases) {
        Station station("[Preference]\nRecorder=" + std::string(c.recorder) + "\n");
        station.keyer.cmdRecord_Click();
        EXPECT_EQ(station.take_log(), c.trace) << c.recorder;
        EXPECT_EQ(station.keyer.state().slots[0].name, "") << c.recorder;
        EXPECT_FALSE(station.keyer.fields().MsgLoaded[0]) << c.recorder;
    }
}

TEST(ReadMsgConfig, LooksForNamesOnlyUnderTheStationDirectory) {
    struct Case {
        std::string name;
        bool opened;
    };
    const std::vector<std::string> waves = {"station/cq.wav", "station/sub/id.wav", "outside.wav"};
    Station probe("");
    const std::vector<Case> cases = {
        {"cq.wav", true},
        {"sub/id.wav", true},
        {"sub\\id.wav", true},
        {"gone.wav", false},
        {"../outside.wav", false},
        {"sub/../../outside.wav", false},
        {probe.dir.file("outside.wav"), false},
        {probe.station + "/cq.wav", false},
    };
    for (const auto& c : cases) {
        Station station("[MSG Config]\nMSG2=" + c.name + "\nDelay2=7\n", waves);
        const auto& slot = station.keyer.state().slots[1];
        EXPECT_EQ(slot.name, c.opened ? c.name : "") << c.name;
        EXPECT_EQ(slot.delay, "7") << c.name;
        EXPECT_EQ(station.keyer.fields().MsgLoaded[1], c.opened) << c.name;
        EXPECT_EQ(station.channels.ChannelMode(1), c.opened ? mode::kStopped : mode::kNotOpen)
            << c.name;
    }
}

}  // namespace
}  // namespace parlomat
