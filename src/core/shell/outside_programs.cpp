#include "core/shell/outside_programs.h"

#include <array>

namespace parlomat {
namespace {

/// Terminal emulators that can run a console program given after "-e", in order of preference.
constexpr std::array<const char*, 3> kTerminals = {"x-terminal-emulator", "xterm", "konsole"};

/// System information tools, in order of preference.
constexpr std::array<const char*, 4> kSysInfoTools = {"hardinfo", "gnome-system-monitor",
                                                      "ksysguard", "plasma-systemmonitor"};

}  // namespace

bool StartMixer(Launcher& launcher, MixerControls controls) {
    const bool recording = controls == MixerControls::Recording;
    if (launcher.program_exists("pavucontrol") &&
        launcher.start(recording ? "pavucontrol --tab=2" : "pavucontrol --tab=1")) {
        return true;
    }
    if (!launcher.program_exists("alsamixer")) {
        return false;
    }
    const std::string console = recording ? " -e alsamixer -V capture" : " -e alsamixer";
    for (const char* terminal : kTerminals) {
        if (launcher.program_exists(terminal) && launcher.start(terminal + console)) {
            return true;
        }
    }
    return false;
}

bool StartSystemInformation(Launcher& launcher) {
    for (const char* tool : kSysInfoTools) {
        if (launcher.program_exists(tool)) {
            return launcher.start(tool);
        }
    }
    return false;
}

void RunBrowser(Launcher& launcher, const std::string& strURL,
                [[maybe_unused]] std::int16_t iwindowstyle) {
    launcher.open_url(strURL);
}

}  // namespace parlomat
