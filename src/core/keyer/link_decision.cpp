#include <string>

#include "core/keyer/keyer.h"

namespace parlomat {

void Keyer::FTLinkDecision() {
    auto& link = ports_.link;
    if (!link.IsFileInstalled("ftlink.exe")) {
        return;
    }
    const std::string name = link.Name();
    const std::string title = name + " Interface Detected";
    const std::string offer = "Parlomat can establish a link with " + name + ".";
    // From here any failing call ends the decision with the link as it stands.
    FTMonitor = link.GetMonitor();
    ptt_.set_monitor(FTMonitor.get());
    if (!FTMonitor) {
        if (const auto error = link.OpenError(); !error.empty()) {
            screen_.set_frame(&FrameLook::hourglass, false);
            dialogs_.message_box(MsgIcon::Exclamation, "Rig Not Available",
                                 "Parlomat could not open " + name + ".\n\n" + error +
                                     "\n\nThe serial port is used instead.",
                                 MsgButtons::Ok);
        }
        return;
    }
    FTMonitor->set_failure_handler([this] { ptt_.LinkFailed(); });
    const auto status = FTMonitor->MonitorStatus();
    if (!status) {
        return;
    }
    if (*status == MonitorState::Running) {
        // A rig chosen in the preferences is the operator's answer already.
        if (link.ChosenByOperator()) {
            FTLinkActive = true;
            return;
        }
        screen_.set_frame(&FrameLook::hourglass, false);
        FTLinkActive = dialogs_.message_box(MsgIcon::None, title,
                                            offer + "\n\nDo you wish to use the " + name + " link?",
                                            MsgButtons::YesNo) == MsgReply::Yes;
        return;
    }
    const auto again = FTMonitor->MonitorStatus();
    if (!again) {
        return;
    }
    if (*again == MonitorState::NotRunning) {
        screen_.set_frame(&FrameLook::hourglass, false);
        dialogs_.message_box(MsgIcon::Exclamation, title,
                             offer + "\n\nFor proper operation, " + name +
                                 "'s Monioring Screen should be running (it is not running "
                                 "now).\n\nIf you do not start the Monitoring Screen in " +
                                 name + ", Parlomat may experience reduced performance.",
                             MsgButtons::Ok);
        if (!FTMonitor->SetLinkMode(LinkMode::WithoutMonitoringScreen)) {
            return;
        }
        FTLinkActive = true;
        return;
    }
    FTLinkActive = false;
}

}  // namespace parlomat
