#include <gtest/gtest.h>

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
struct Station {
    explicit Station(const std::string& ini) {
        test::WriteBytes(dir.file("parlomat.ini"), ini);
        keyer.Show();
        log.str({});
    }
    /// The trace since the last call, the station directory written as "<station>".
    std::string take_log() {
        std::string text = log.str();
        log.str({});
        for (auto at = text.find(dir.path().string()); at != std::string::npos;
             at = text.find(dir.path().string())) {
            text.replace(at, dir.path().string().size(), "<station>");
        }
        return text;
    }

    test::TempDir dir;
    std::ostringstream log;
    SimScheduler scheduler{LocalTime{}};
    Trace trace{scheduler, log};
    SimChannels channels{scheduler, trace, dir.path().string()};
    SimSerialPort serial{trace, dir.path().string()};
    SimLink link{trace};
    SimDialogs dialogs{trace, dir.path().string()};
    SimLauncher launcher{trace};
    SimView view{trace};
    Keyer keyer{KeyerPorts{scheduler, channels, serial, link, dialogs, launcher, view, &view,
                           dir.path().string()}};
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

}  // namespace
}  // namespace parlomat
