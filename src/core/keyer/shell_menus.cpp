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
        screen_.set_panel(Panel::pnlFeedback, "No mixer program found");
    }
}

void Keyer::mnuHelpItem_Click(int index) {
    switch (index) {
        case 0:
            screen_.set_window(Window::frmAboutKeys, true);
            screen_.view().show_modal(Window::frmAboutKeys);
            screen_.set_window(Window::frmAboutKeys, false);
            break;
        case 1:
            RunBrowser(launcher_, ports_.support_url, 1);
            break;
        case 2:
            screen_.set_window(Window::frmAbout, true);
            screen_.view().show_modal(Window::frmAbout);
            screen_.set_window(Window::frmAbout, false);
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
