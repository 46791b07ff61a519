#include <array>
#include <cstdint>
#include <string>

#include "core/keyer/keyer.h"
#include "core/shell/about_texts.h"

namespace parlomat {
namespace {

/// Opens `strURL` with the desktop's default handler. The result is not looked at; the window
/// style is the desktop's business.
void RunBrowser(Launcher& launcher, const std::string& strURL,
                [[maybe_unused]] std::int16_t iwindowstyle) {
    launcher.open_url(strURL);
}

/// Terminal emulators that can run a console mixer, in order of preference; each takes the
/// command after "-e".
constexpr std::array<const char*, 3> kTerminals = {"x-terminal-emulator", "xterm", "konsole"};

/// System information tools, in order of preference.
constexpr std::array<const char*, 4> kSysInfoTools = {"hardinfo", "gnome-system-monitor",
                                                      "ksysguard", "plasma-systemmonitor"};

/// Starts the graphical mixer on `tab`, else a terminal running the console mixer with
/// `console_args`. False when nothing could be started.
bool StartMixer(Launcher& launcher, const std::string& tab, const std::string& console_args) {
    if (launcher.program_exists("pavucontrol") && launcher.start("pavucontrol --tab=" + tab)) {
        return true;
    }
    if (!launcher.program_exists("alsamixer")) {
        return false;
    }
    for (const char* terminal : kTerminals) {
        if (launcher.program_exists(terminal) &&
            launcher.start(std::string(terminal) + " -e alsamixer" + console_args)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void Keyer::mnuMixerItem_Click(int index) {
    bool started = false;
    switch (index) {
        case 0:
            started = StartMixer(launcher_, "1", "");
            break;
        case 1:
            started = StartMixer(launcher_, "2", " -V capture");
            break;
        default:
            return;
    }
    if (!started) {
        set_panel(Panel::pnlFeedback, "No mixer program found");
    }
}

void Keyer::mnuHelpItem_Click(int index) {
    switch (index) {
        case 0:
            set_window(Window::frmAboutKeys, true);
            view_.show_modal(Window::frmAboutKeys);
            set_window(Window::frmAboutKeys, false);
            break;
        case 1:
            RunBrowser(launcher_, ports_.support_url, 1);
            break;
        case 2:
            set_window(Window::frmAbout, true);
            view_.show_modal(Window::frmAbout);
            set_window(Window::frmAbout, false);
            break;
        default:
            break;
    }
}

void Keyer::StartSysInfo() {
    for (const char* tool : kSysInfoTools) {
        if (launcher_.program_exists(tool)) {
            if (launcher_.start(tool)) {
                return;
            }
            break;
        }
    }
    dialogs_.message_box(MsgIcon::None, std::string(kProductName),
                         "System Information Is Unavailable At This Time", MsgButtons::Ok);
}

}  // namespace parlomat
