#include <string>

#include "core/keyer/keyer.h"

namespace parlomat {

void Keyer::PTT_Control(bool Keyed, KeyCause cause) {
    // A suspended sound device starts now, so it runs by the time the PTT delay ends.
    if (Keyed) {
        EndListen();
        mci.Wake();
    }
    ptt_.Control(Keyed, cause, slots_.fields().ActiveMsg + 1);
}

void Keyer::ShowPanel(Panel panel, const std::string& text) {
    screen_.set_panel(panel, text);
}

void Keyer::TxTimedOut() {
    log_.TxTimedOut(prefs.TXTimeout);
    cmdStop_Click();
    dialogs_.beep(BeepSound::Exclamation);
    screen_.set_panel(Panel::pnlFeedback, "TX time-out: transmitter released");
}

void Keyer::OpenCommPort() {
    SP.set_port_number(prefs.CommPort);
    SP.set_line(SerialLine{.baud = 9600, .parity = Parity::None, .data_bits = 8, .stop_bits = 1});
    SP.set_dtr(false);
    SerialError error;
    if (SP.open(error)) {
        return;
    }
    screen_.set_frame(&FrameLook::hourglass, false);
    const std::string port = std::to_string(SP.port_number());
    if (error.busy) {
        dialogs_.beep(BeepSound::Information);
        dialogs_.message_box(MsgIcon::Information, "Comm Port Busy",
                             "Comm port " + port +
                                 " is in use and can not be accessed by this application.\n\n"
                                 "Try again after the port is not in use.",
                             MsgButtons::Ok);
        return;
    }
    dialogs_.beep(BeepSound::Exclamation);
    dialogs_.message_box(
        MsgIcon::Information, "Comm Port Error",
        "An unexpected error occured while attempting to connect to Comm Port " + port +
            ".\n\nThe system reports the error as error: " + std::to_string(error.number) + " - " +
            error.description + (error.device.empty() ? "" : " (" + error.device + ")"),
        MsgButtons::Ok);
}

void Keyer::cmdXmit_Click() {
    sequencer_.ReleaseFeedback();
    if (!PTTKeyed) {
        PTT_Control(true, KeyCause::Manual);
        screen_.set_panel(Panel::pnlMode, "");
        // A key that no line took leaves its reason on the panel.
        if (ptt_.on_air()) {
            screen_.set_panel(Panel::pnlFeedback, "Manual PTT On");
        }
    } else {
        PTT_Control(false, KeyCause::Manual);
        screen_.set_panel(Panel::pnlFeedback, "Manual PTT Off");
    }
}

void Keyer::mnuOptionsItem_Click(int index) {
    switch (index) {
        case 0: {
            const bool on = !screen_.checked(Check::KeepOnTop);
            screen_.set_check(Check::KeepOnTop, on);
            screen_.set_frame(&FrameLook::topmost, on);
            break;
        }
        case 2:
            if (screen_.checked(Check::PTTEnable)) {
                screen_.set_check(Check::PTTEnable, false);
                PTTEnabled = false;
                screen_.set_panel(Panel::pnlPTT, "PTT Sim");
            } else {
                screen_.set_check(Check::PTTEnable, true);
                PTTEnabled = true;
                screen_.set_panel(Panel::pnlPTT, "PTT");
            }
            break;
        case 3: {
            const bool on = !screen_.checked(Check::IgnorePTTInt);
            screen_.set_check(Check::IgnorePTTInt, on);
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
        if (state == LinkTransmit::MicKeyed) {
            cmdStop_Click();
            screen_.set_panel(Panel::pnlFeedback, "Mic PTT Interrupt");
        }
        return;
    }
    if (IgnorePTTInt || prefs.PTTInt.empty()) {
        return;
    }
    if (prefs.PTTInt == "DSR") {
        if (SP.dsr()) {
            cmdStop_Click();
            screen_.set_panel(Panel::pnlFeedback, "DSR Line Interrupt");
        }
    } else if (prefs.PTTInt == "CTS") {
        if (SP.cts()) {
            cmdStop_Click();
            screen_.set_panel(Panel::pnlFeedback, "CTS Line Interrupt");
        }
    }
}

void Keyer::SP_Lost() {
    const bool keyed_by_port = ptt_.on_air() && !FTLinkActive && PTTEnabled;
    ptt_.PortLost();
    // The transmitter line went with the port: a run keyed through it cannot go on.
    if (keyed_by_port && sequencer_.fields().Playing) {
        cmdStop_Click();
    } else if (keyed_by_port) {
        PTT_Control(false, KeyCause::PortLost);
    }
    screen_.set_panel(Panel::pnlFeedback, "Comm port lost");
    sequencer_.HoldFeedback();
}

}  // namespace parlomat
