#include <string>

#include "core/keyer/keyer.h"

namespace parlomat {
namespace {

constexpr const char* kLinkTitle = "FT-Manager Interface Detected";
constexpr const char* kLinkOffer = "Parlomat can establish a link with FT-Manager.";

}  // namespace

void Keyer::FTLinkDecision() {
    if (!ports_.link.IsFileInstalled("ftlink.exe")) {
        return;
    }
    // From here any failing call ends the decision with the link as it stands.
    FTMonitor = ports_.link.GetMonitor();
    ptt_.set_monitor(FTMonitor.get());
    if (!FTMonitor) {
        return;
    }
    const auto status = FTMonitor->MonitorStatus();
    if (!status) {
        return;
    }
    if (*status == 2) {
        set_hourglass(false);
        FTLinkActive = dialogs_.message_box(
                           MsgIcon::None, kLinkTitle,
                           std::string(kLinkOffer) + "\n\nDo you wish to use the FT-Manager link?",
                           MsgButtons::YesNo) == MsgReply::Yes;
        return;
    }
    const auto again = FTMonitor->MonitorStatus();
    if (!again) {
        return;
    }
    if (*again == 1) {
        set_hourglass(false);
        dialogs_.message_box(
            MsgIcon::Exclamation, kLinkTitle,
            std::string(kLinkOffer) +
                "\n\nFor proper operation, FT-Manager's Monioring Screen should be running (it "
                "is not running now).\n\nIf you do not start the Monitoring Screen in "
                "FT-Manager, Parlomat may experience reduced performance.",
            MsgButtons::Ok);
        if (!FTMonitor->SetLinkMode(1)) {
            return;
        }
        FTLinkActive = true;
        return;
    }
    FTLinkActive = false;
}

void Keyer::tmrFTLinkDelay_Timer() {
    if (!FTMonitor) {
        tmrFTLinkDelay.set_enabled(false);
        return;
    }
    const auto state = FTMonitor->TransmitState();
    if (state && *state == 0) {
        PTTKeyed = false;
        tmrFTLinkDelay.set_enabled(false);
    }
}

}  // namespace parlomat
