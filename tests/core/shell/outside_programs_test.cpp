#include "core/shell/outside_programs.h"

#include <gtest/gtest.h>

#include <string>

namespace parlomat {
namespace {

/// The programs in `desktop` are installed; one marked "!" fails to start.
struct FakeLauncher : Launcher {
    explicit FakeLauncher(const std::string& desktop) : programs(" " + desktop + " ") {}
    bool program_exists(const std::string& program) const override {
        return programs.find(" " + program + " ") != std::string::npos ||
               programs.find(" " + program + "! ") != std::string::npos;
    }
    bool start(const std::string& command_line) override {
        started += (started.empty() ? "" : "; ") + command_line;
        const auto program = command_line.substr(0, command_line.find(' '));
        return programs.find(" " + program + " ") != std::string::npos;
    }
    bool open_url(const std::string&) override { return false; }
    std::string programs, started;
};

TEST(StartMixer, PrefersPavucontrolThenATerminalWithAlsamixer) {
    using enum MixerControls;
    const struct {
        const char* desktop;
        MixerControls controls;
        const char* started;
    } cases[] = {
        {"pavucontrol alsamixer xterm", Playback, "pavucontrol --tab=1"},
        {"pavucontrol! alsamixer xterm", Recording,
         "pavucontrol --tab=2; xterm -e alsamixer -V capture"},
        {"alsamixer x-terminal-emulator xterm", Playback, "x-terminal-emulator -e alsamixer"},
        {"alsamixer xterm! konsole", Playback, "xterm -e alsamixer; konsole -e alsamixer"},
        {"xterm", Playback, ""},
    };
    for (const auto& c : cases) {
        FakeLauncher launcher(c.desktop);
        EXPECT_EQ(StartMixer(launcher, c.controls), *c.started != '\0') << c.desktop;
        EXPECT_EQ(launcher.started, c.started);
    }
}

TEST(StartSystemInformation, StartsTheFirstToolInstalled) {
    const struct {
        const char* desktop;
        const char* started;
        bool result;
    } cases[] = {
        {"hardinfo ksysguard", "hardinfo", true},
        {"plasma-systemmonitor gnome-system-monitor", "gnome-system-monitor", true},
        {"ksysguard!", "ksysguard", false},
    };
    for (const auto& c : cases) {
        FakeLauncher launcher(c.desktop);
        EXPECT_EQ(StartSystemInformation(launcher), c.result) << c.desktop;
        EXPECT_EQ(launcher.started, c.started);
    }
}

}  // namespace
}  // namespace parlomat
