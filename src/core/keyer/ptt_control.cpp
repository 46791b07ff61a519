#include <string>

#include "core/keyer/keyer.h"

namespace parlomat {

namespace {

constexpr unsigned kBeepInformation = 0x40;
constexpr unsigned kBeepExclamation = 0x30;

}  // namespace

void Keyer::LowerRaisedLines() {
    if (dtr_raised_) {
        SP.set_dtr(false);
        dtr_raised_ = false;
    }
    if (rts_raised_) {
        SP.set_rts(false);
        rts_raised_ = false;
    }
}

void Keyer::PTT_Control(bool Keyed) {
    if (!FTLinkActive && PTTEnabled) {
        if (Keyed) {
            // A PTT line changed in the preferences while keyed takes over from the old one.
            if (prefs.PTTKey == "DTR") {
                if (rts_raised_) {
                    SP.set_rts(false);
                    rts_raised_ = false;
                }
                SP.set_dtr(true);
                dtr_raised_ = true;
            } else if (prefs.PTTKey == "RTS") {
                if (dtr_raised_) {
                    SP.set_dtr(false);
                    dtr_raised_ = false;
                }
                SP.set_rts(true);
                rts_raised_ = true;
            } else {
                set_panel(Panel::pnlFeedback, "No PTT Key Assignment");
            }
            PTTKeyed = true;
            set_panel(Panel::pnlPTT, "PTT On");
        } else {
            if (prefs.PTTKey == "DTR") {
                SP.set_dtr(false);
                dtr_raised_ = false;
            } else if (prefs.PTTKey == "RTS") {
                SP.set_rts(false);
                rts_raised_ = false;
            }
            LowerRaisedLines();
            PTTKeyed = false;
            set_panel(Panel::pnlPTT, "PTT Off");
        }
        return;
    }

    if (!PTTEnabled) {
        if (!Keyed) {
            LowerRaisedLines();
        }
        PTTKeyed = Keyed;
        set_panel(Panel::pnlPTT, Keyed ? "PTT Sim On" : "PTT Sim Off");
        return;
    }

    if (Keyed) {
        PTTKeyed = true;
        link_keyed_ = true;
        if (!FTMonitor || !FTMonitor->SetPTT(1)) {
            set_panel(Panel::pnlFeedback, "PTT crap error");
            return;
        }
        set_panel(Panel::pnlPTT, "PTT On");
        return;
    }
    LowerRaisedLines();
    if (!FTMonitor || !FTMonitor->SetPTT(0)) {
        set_panel(Panel::pnlFeedback, "PTT crap error");
        return;
    }
    link_keyed_ = false;
    set_panel(Panel::pnlPTT, "PTT Off");
    tmrFTLinkDelay.set_enabled(true);
}

void Keyer::OpenCommPort() {
    SP.set_port_number(prefs.CommPort);
    SP.set_settings("9600,N,8,1");
    SP.set_input_length(0);
    SP.set_dtr(false);
    SerialError error;
    if (SP.open(error)) {
        return;
    }
    set_hourglass(false);
    const std::string port = std::to_string(SP.port_number());
    if (error.number == SerialError::kBusy) {
        dialogs_.beep(kBeepInformation);
        dialogs_.message_box(MsgIcon::Information, "Comm Port Busy",
                             "Comm port " + port +
                                 " is in use and can not be accessed by this application.\n\n"
                                 "Try again after the port is not in use.",
                             MsgButtons::Ok);
        return;
    }
    dialogs_.beep(kBeepExclamation);
    dialogs_.message_box(MsgIcon::Information, "Comm Port Error",
                         "An unexpected error occured while attempting to connect to Comm Port " +
                             port + ".\n\nWindows reports the error as error: " +
                             std::to_string(error.number) + " - " + error.description,
                         MsgButtons::Ok);
}

void Keyer::cmdXmit_Click() {
    if (!PTTKeyed) {
        PTT_Control(true);
        set_panel(Panel::pnlMode, "");
        set_panel(Panel::pnlFeedback, "Manual PTT On");
    } else {
        PTT_Control(false);
        set_panel(Panel::pnlFeedback, "Manual PTT Off");
    }
}

void Keyer::mnuOptionsItem_Click(int index) {
    switch (index) {
        case 0: {
            const bool on = !state_.checks[static_cast<int>(Check::KeepOnTop)];
            set_check(Check::KeepOnTop, on);
            set_topmost(on);
            break;
        }
        case 2:
            if (state_.checks[static_cast<int>(Check::PTTEnable)]) {
                set_check(Check::PTTEnable, false);
                PTTEnabled = false;
                set_panel(Panel::pnlPTT, "PTT Sim");
            } else {
                set_check(Check::PTTEnable, true);
                PTTEnabled = true;
                set_panel(Panel::pnlPTT, "PTT");
            }
            break;
        case 3: {
            const bool on = !state_.checks[static_cast<int>(Check::IgnorePTTInt)];
            set_check(Check::IgnorePTTInt, on);
            IgnorePTTInt = on;
            break;
        }
        default:
            break;
    }
}

void Keyer::PollPTTInterrupt() {
    if (FTLinkActive) {
        if (IgnorePTTInt || !FTMonitor) {
            return;
        }
        const auto state = FTMonitor->TransmitState();
        if (state && *state == 2) {
            cmdStop_Click();
            set_panel(Panel::pnlFeedback, "Mic PTT Interrupt");
        }
        return;
    }
    if (IgnorePTTInt || prefs.PTTInt.empty()) {
        return;
    }
    if (prefs.PTTInt == "DSR") {
        if (SP.dsr()) {
            cmdStop_Click();
            set_panel(Panel::pnlFeedback, "DSR Line Interrupt");
        }
    } else if (prefs.PTTInt == "CTS") {
        if (SP.cts()) {
            cmdStop_Click();
            set_panel(Panel::pnlFeedback, "CTS Line Interrupt");
        }
    }
}

void Keyer::SP_Lost() {
    set_panel(Panel::pnlFeedback, "Comm port lost");
}

}  // namespace parlomat
