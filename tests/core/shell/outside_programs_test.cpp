#include "core/shell/outside_programs.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace parlomat {
namespace {

/// A desktop with some programs installed; starting one may be made to fail.
class FakeLauncher : public Launcher {
  public:
    FakeLauncher(std::set<std::string> installed, std::set<std::string> failing)
        : installed_(std::move(installed)), failing_(std::move(failing)) {}

    bool program_exists(const std::string& program) const override {
        return installed_.count(program) != 0;
    }
    bool start(const std::string& command_line) override {
        started.push_back(command_line);
        const auto program = command_line.substr(0, command_line.find(' '));
        return installed_.count(program) != 0 && failing_.count(program) == 0;
    }
    bool open_url(const std::string& url) override {
        urls.push_back(url);
        return false;
    }

    std::vector<std::string> started;
    std::vector<std::string> urls;

  private:
    std::set<std::string> installed_;
    std::set<std::string> failing_;
};

TEST(StartMixer, PrefersPavucontrolThenATerminalWithAlsamixer) {
    struct Case {
        const char* name;
        std::set<std::string> installed;
        std::set<std::string> failing;
        MixerControls controls;
        std::vector<std::string> started;
        bool result;
    };
    const auto playback = MixerControls::Playback;
    const auto recording = MixerControls::Recording;
    const std::vector<Case> cases = {
        {"pavucontrol playback",
         {"pavucontrol", "alsamixer", "xterm"},
         {},
         playback,
         {"pavucontrol --tab=1"},
         true},
        {"pavucontrol recording", {"pavucontrol"}, {}, recording, {"pavucontrol --tab=2"}, true},
        {"debian terminal",
         {"alsamixer", "x-terminal-emulator", "xterm"},
         {},
         playback,
         {"x-terminal-emulator -e alsamixer"},
         true},
        {"xterm capture",
         {"alsamixer", "xterm", "konsole"},
         {},
         recording,
         {"xterm -e alsamixer -V capture"},
         true},
        {"pavucontrol fails",
         {"pavucontrol", "alsamixer", "xterm"},
         {"pavucontrol"},
         recording,
         {"pavucontrol --tab=2", "xterm -e alsamixer -V capture"},
         true},
        {"terminal fails, next one",
         {"alsamixer", "xterm", "konsole"},
         {"xterm"},
         playback,
         {"xterm -e alsamixer", "konsole -e alsamixer"},
         true},
        {"no alsamixer", {"xterm"}, {}, playback, {}, false},
        {"nothing", {}, {}, recording, {}, false},
    };
    for (const auto& c : cases) {
        FakeLauncher launcher(c.installed, c.failing);
        EXPECT_EQ(StartMixer(launcher, c.controls), c.result) << c.name;
        EXPECT_EQ(launcher.started, c.started) << c.name;
    }
}

TEST(StartSystemInformation, StartsTheFirstToolInstalled) {
    struct Case {
        std::set<std::string> installed;
        std::set<std::string> failing;
        std::vector<std::string> started;
        bool result;
    };
    const std::vector<Case> cases = {
        {{"hardinfo", "ksysguard"}, {}, {"hardinfo"}, true},
        {{"plasma-systemmonitor", "gnome-system-monitor"}, {}, {"gnome-system-monitor"}, true},
        {{"ksysguard"}, {"ksysguard"}, {"ksysguard"}, false},
        {{}, {}, {}, false},
    };
    for (const auto& c : cases) {
        FakeLauncher launcher(c.installed, c.failing);
        EXPECT_EQ(StartSystemInformation(launcher), c.result);
        EXPECT_EQ(launcher.started, c.started);
    }
}

}  // namespace
}  // namespace parlomat
