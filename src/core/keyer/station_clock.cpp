#include "core/keyer/station_clock.h"

#include <cstdint>
#include <utility>

#include "core/keyer/clock_text.h"

namespace parlomat {

StationClock::StationClock(Scheduler& scheduler, Screen& screen, const Preferences& prefs,
                           std::function<void()> on_tick)
    : scheduler_(scheduler),
      screen_(screen),
      prefs(prefs),
      on_tick_(std::move(on_tick)),
      tmrClock(scheduler, [this] { tmrClock_Timer(); }) {}

void StationClock::Start() {
    tmrClock.set_interval(Ms{200});
    tmrClock.set_enabled(true);
}

void StationClock::Stop() {
    tmrClock.set_enabled(false);
}

void StationClock::tmrClock_Timer() {
    const LocalTime now = scheduler_.local_now();
    const std::chrono::seconds local = TimeOfDay(now);
    f_.ClockText = TimeOfDayText(local);
    if (prefs.UTCDiffAuto) {
        // UTC leads local time by minus the zone's offset, read anew each tick for summer time.
        const auto lead = -scheduler_.zone_offset();
        f_.UTCTime = UtcTimeOfDay(local, static_cast<std::int32_t>(lead.count() / 60),
                                  static_cast<double>(lead.count() % 60));
    } else {
        f_.UTCTime = UtcTimeOfDay(local, prefs.UTCDiffHours, prefs.UTCDiffMinutes);
    }
    screen_.set_panel(Panel::pnlTime, TimeOfDayText(f_.UTCTime));
    if (f_.IDDueTime) {
        screen_.set_panel(Panel::pnlID,
                          now < *f_.IDDueTime ? IdCountdownText(*f_.IDDueTime - now) : "ID");
    }
    on_tick_();
    screen_.view().clock_ticked();
}

void StationClock::StatusBar1_PanelClick() {
    const std::string& id = screen_.panel(Panel::pnlID);
    if (id.empty()) {
        f_.IDDueTime = scheduler_.local_now() + MinutesAsSeconds(prefs.IDInterval);
    } else if (id == "ID") {
        f_.IDDueTime = scheduler_.local_now() + MinutesAsSeconds(prefs.IDInterval);
        screen_.set_panel(Panel::pnlID, "Reset");
    }
}

void StationClock::StatusBar1_PanelDblClick() {
    f_.IDDueTime.reset();
    screen_.set_panel(Panel::pnlID, "");
}

}  // namespace parlomat
