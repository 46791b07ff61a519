#include "core/keyer/sked_clock.h"

#include <cstdint>

#include "core/keyer/sked_segments.h"

namespace parlomat {

SkedClock::SkedClock(Scheduler& scheduler, Screen& screen, Preferences& prefs,
                     const StationClock& clock, SkedHost& host)
    : screen_(screen),
      prefs(prefs),
      clock_(clock),
      host_(host),
      tmrMST(
          scheduler, [this] { tmrMST_Timer(); }, Ms{250}, false) {}

void SkedClock::ShowManual() {
    screen_.set_panel(Panel::pnlMode, "Manual");
    f_.InXmitPeriod = false;
    f_.SkedMode = false;
}

bool SkedClock::SwitchMode() {
    if (screen_.panel(Panel::pnlMode) != "Manual") {
        tmrMST.set_enabled(false);
        screen_.set_panel(Panel::pnlMode, "Manual");
        screen_.set_panel(Panel::pnlFeedback, "");
        f_.SkedMode = false;
        return false;
    }
    tmrMST.set_enabled(true);
    f_.SkedMode = true;
    screen_.set_panel(Panel::pnlMode, f_.InXmitPeriod ? "XMIT" : "RECV");
    return true;
}

void SkedClock::tmrMST_Timer() {
    if (!screen_.checked(Check::chkMode)) {
        return;
    }
    const auto transmit =
        IsTransmitSegment(clock_.fields().ClockText, prefs.NAMSTiming, f_.XmitOddSegments);
    if (!transmit) {
        return;
    }
    if (*transmit) {
        if (!f_.InXmitPeriod) {
            screen_.set_panel(Panel::pnlMode, "XMIT");
            f_.InXmitPeriod = true;
            host_.XmitSegmentStarted();
        }
        return;
    }
    if (!f_.InXmitPeriod) {
        return;
    }
    host_.XmitSegmentEnding();
    screen_.set_panel(Panel::pnlMode, "RECV");
    f_.InXmitPeriod = false;
    host_.RecvSegmentStarted();
}

void SkedClock::chkInterval_Click(int value) {
    screen_.set_check(Check::chkInterval, value == 1);
    f_.XmitOddSegments = value == 1;
}

void SkedClock::mnuOptionsTimingItem_Click(int index) {
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
