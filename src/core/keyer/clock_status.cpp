#include <cstdint>
#include <string>

#include "core/keyer/clock_text.h"
#include "core/keyer/keyer.h"

namespace parlomat {

void Keyer::tmrClock_Timer() {
    const LocalTime now = scheduler_.local_now();
    const std::chrono::seconds local = TimeOfDay(now);
    ClockText = TimeOfDayText(local);
    if (prefs.UTCDiffAuto) {
        // UTC leads local time by minus the zone's offset, read anew each tick for summer time.
        const auto lead = -scheduler_.zone_offset();
        UTCTime = UtcTimeOfDay(local, static_cast<std::int32_t>(lead.count() / 60),
                               static_cast<double>(lead.count() % 60));
    } else {
        UTCTime = UtcTimeOfDay(local, prefs.UTCDiffHours, prefs.UTCDiffMinutes);
    }
    screen_.set_panel(Panel::pnlTime, TimeOfDayText(UTCTime));
    if (IDDueTime) {
        screen_.set_panel(Panel::pnlID,
                          now < *IDDueTime ? IdCountdownText(*IDDueTime - now) : "ID");
    }
    PollPTTInterrupt();
    screen_.view().clock_ticked();
}

void Keyer::StatusBar1_PanelClick() {
    const std::string& id = screen_.panel(Panel::pnlID);
    if (id.empty()) {
        IDDueTime = scheduler_.local_now() + MinutesAsSeconds(prefs.IDInterval);
    } else if (id == "ID") {
        IDDueTime = scheduler_.local_now() + MinutesAsSeconds(prefs.IDInterval);
        screen_.set_panel(Panel::pnlID, "Reset");
    }
}

void Keyer::StatusBar1_PanelDblClick() {
    IDDueTime.reset();
    screen_.set_panel(Panel::pnlID, "");
}

}  // namespace parlomat
