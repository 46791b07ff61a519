#include <string>

#include "core/keyer/keyer.h"
#include "core/shell/about_texts.h"
#include "core/shell/outside_programs.h"

namespace parlomat {

void Keyer::mnuMixerItem_Click(int index) {
    if (index != 0 && index != 1) {
        return;
    }
    if (!StartMixer(launcher_, index == 0 ? MixerControls::Playback : MixerControls::Recording)) {
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
    if (!StartSystemInformation(launcher_)) {
        dialogs_.message_box(MsgIcon::None, std::string(kProductName),
                             "System Information Is Unavailable At This Time", MsgButtons::Ok);
    }
}

}  // namespace parlomat
