#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "core/keyer/screen.h"
#include "core/runtime/scheduler.h"
#include "core/runtime/timer.h"
#include "core/settings/preferences.h"

namespace parlomat {

/// The status bar's clock: local and UTC time of day every 200 ms, and the station-ID
/// countdown the operator starts, resets and clears on the ID panel.
class StationClock {
  public:
    struct Fields {
        std::string ClockText;            ///< local time "hh:nn:ss"
        std::chrono::seconds UTCTime{0};  ///< UTC time of day
        std::optional<LocalTime> IDDueTime;
    };

    /// `on_tick` runs on every tick after the panels are shown and before the view hears
    /// clock_ticked.
    StationClock(Scheduler& scheduler, Screen& screen, const Preferences& prefs,
                 std::function<void()> on_tick);

    const Fields& fields() const { return f_; }
    void Start();
    void Stop();
    void tmrClock_Timer();
    void StatusBar1_PanelClick();
    void StatusBar1_PanelDblClick();

  private:
    Scheduler& scheduler_;
    Screen& screen_;
    const Preferences& prefs;
    std::function<void()> on_tick_;
    Fields f_;
    Timer tmrClock;
};

}  // namespace parlomat
