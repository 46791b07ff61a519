#include <algorithm>
#include <string>

#include "core/keyer/keyer.h"

namespace parlomat {

void Keyer::Show() {
    Form_Load();
    screen_.set_window(Window::frmMainScreen, true);
}

void Keyer::Form_Load() {
    clock_.Start();

    screen_.set_frame(&FrameLook::caption, "Parlomat");
    optMessage_Click(0);
    mnuOptionsItem_Click(2);
    sked_.ShowManual();
    FTLinkDecision();
    screen_.set_frame(&FrameLook::hourglass, true);
    IniPath = ports_.station_dir + "/parlomat.ini";
    {
        // The settings file is read once for the whole load sequence.
        const auto ini = ProfileDocument::Read(IniPath);
        LoadPrefs(prefs, ini);
        GetLastconfig(ini);
    }
    if (FTLinkActive) {
        // An interval of 0 never fires: the release wait would never see the radio released.
        tmrFTLinkDelay.set_interval(Ms{std::max(1, prefs.FTLinkDelay)});
    } else {
        OpenCommPort();
    }
    mci.PrepareChannels();
    screen_.set_check(Check::Timing15s, prefs.NAMSTiming == 1);
    screen_.set_check(Check::Timing30s, prefs.NAMSTiming == 2);
    screen_.set_check(Check::TimingMinute, prefs.NAMSTiming == 3);
    screen_.set_check(Check::Timing2Min, false);
    screen_.set_frame(&FrameLook::hourglass, false);
}

void Keyer::RequestClose() {
    if (screen_.ended() || !Form_QueryUnload()) {
        return;
    }
    End();
}

void Keyer::EndWithoutAsking() {
    if (screen_.ended()) {
        return;
    }
    if (!screen_.shown(Window::frmMainScreen)) {
        // Nothing was loaded yet: saving now would replace the last configuration with empty slots.
        screen_.End();
        return;
    }
    End();
}

void Keyer::End() {
    Form_Unload();
    clock_.Stop();
    tmrFTLinkDelay.set_enabled(false);
    screen_.set_window(Window::frmMainScreen, false);
    screen_.End();
}

bool Keyer::Form_QueryUnload() {
    return dialogs_.message_box(MsgIcon::None, "Confirm Program Exit",
                                "Do you wish to quit this program?",
                                MsgButtons::YesNo) == MsgReply::Yes;
}

void Keyer::Form_Unload() {
    sequencer_.StopTimers();
    sked_.Stop();
    tmrListen.set_enabled(false);
    slots_.CloseAll();
    // The transmitter must not stay keyed once the program is gone.
    ptt_.ReleaseAll();
    SaveLastConfig();
}

}  // namespace parlomat
