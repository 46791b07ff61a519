#include <string>

#include "core/keyer/keyer.h"
#include "core/keyer/run_intervals.h"
#include "core/keyer/sked_segments.h"

namespace parlomat {

void Keyer::tmrMST_Timer() {
    if (!screen_.checked(Check::chkMode)) {
        return;
    }
    const auto transmit =
        IsTransmitSegment(clock_.fields().ClockText, prefs.NAMSTiming, XmitOddSegments);
    if (!transmit) {
        return;
    }
    if (*transmit) {
        if (InXmitPeriod) {
            return;
        }
        screen_.set_panel(Panel::pnlMode, "XMIT");
        tmrMSGStatus.set_interval(Ms{100});
        InXmitPeriod = true;
        if (Playing) {
            PTT_Control(true, KeyCause::SkedSegment);
            set_phase(RunPhase::KeyDelay);
            tmrPlayback.set_interval(PTTDelayInterval(prefs.PTTDelay));
            tmrPlayback.set_enabled(true);
            ScheduleMessageStart();
        } else {
            screen_.set_panel(Panel::pnlFeedback, "Playback not Enabled");
        }
        return;
    }
    if (!InXmitPeriod) {
        return;
    }
    PTT_Control(false, KeyCause::SkedSegment);
    tmrRcvWindow.set_interval(Ms{0});
    tmrRcvWindow.set_enabled(false);
    tmrPlayback.set_interval(Ms{0});
    tmrPlayback.set_enabled(false);
    screen_.set_panel(Panel::pnlMode, "RECV");
    tmrMSGStatus.set_interval(Ms{0});
    tmrMSGStatus.set_enabled(false);
    InXmitPeriod = false;
    if (Playing) {
        set_phase(RunPhase::SkedWait);
    }
    if (!MsgLoaded[ActiveMsg]) {
        screen_.set_panel(Panel::pnlFeedback,
                          "MSG " + std::to_string(ActiveMsg + 1) + " is not loaded");
    } else {
        mci.StopChannel(ActiveMsg);
        screen_.set_panel(Panel::pnlFeedback, "Playback Suspended");
    }
}

void Keyer::chkMode_Click(int value) {
    screen_.set_check(Check::chkMode, value == 1);
    cmdStop_Click();
    if (screen_.panel(Panel::pnlMode) != "Manual") {
        tmrMST.set_enabled(false);
        screen_.set_panel(Panel::pnlMode, "Manual");
        screen_.set_panel(Panel::pnlFeedback, "");
        SkedMode = false;
        tmrMSGStatus.set_enabled(true);
        cmdStop_Click();
        return;
    }
    tmrMST.set_enabled(true);
    SkedMode = true;
    screen_.set_panel(Panel::pnlMode, InXmitPeriod ? "XMIT" : "RECV");
}

void Keyer::chkInterval_Click(int value) {
    screen_.set_check(Check::chkInterval, value == 1);
    XmitOddSegments = value == 1;
}

void Keyer::mnuOptionsTimingItem_Click(int index) {
    if (index < 0 || index > 3) {
        return;
    }
    prefs.NAMSTiming = static_cast<std::int16_t>(index + 1);
    screen_.set_check(Check::Timing15s, index == 0);
    screen_.set_check(Check::Timing30s, index == 1);
    screen_.set_check(Check::TimingMinute, index == 2);
    screen_.set_check(Check::Timing2Min, index == 3);
}

}  // namespace parlomat
