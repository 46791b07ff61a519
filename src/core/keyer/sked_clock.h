#pragma once

#include "core/keyer/screen.h"
#include "core/keyer/station_clock.h"
#include "core/runtime/scheduler.h"
#include "core/runtime/timer.h"
#include "core/settings/preferences.h"

namespace parlomat {

/// What the Sked clock needs of the run it paces.
class SkedHost {
  public:
    virtual ~SkedHost() = default;
    /// A transmit segment has begun: an armed run sends its pass now.
    virtual void XmitSegmentStarted() = 0;
    /// A transmit segment is ending: the transmitter is released and the pass stops.
    virtual void XmitSegmentEnding() = 0;
    /// A receive segment has begun; the mode panel already says so.
    virtual void RecvSegmentStarted() = 0;
};

/// Sked mode: the clock's minute is cut into transmit and receive segments (15 s, 30 s, 1 min
/// or 2 min; the even or the odd ones transmit). Every 250 ms it looks which segment the local
/// time is in and tells the run at each edge.
class SkedClock {
  public:
    struct Fields {
        bool SkedMode = false;
        bool InXmitPeriod = false;
        bool XmitOddSegments = false;
    };

    /// `prefs.NAMSTiming` is read and, from the Sked Timing menu, written.
    SkedClock(Scheduler& scheduler, Screen& screen, Preferences& prefs, const StationClock& clock,
              SkedHost& host);

    const Fields& fields() const { return f_; }
    /// Manual mode, outside any transmit segment, as at start-up.
    void ShowManual();
    /// The mode check box was clicked (the run already stopped): leaves Sked mode when the mode
    /// panel shows one, else enters it. True when Sked mode is on afterwards.
    bool SwitchMode();
    void Stop() { tmrMST.set_enabled(false); }
    void tmrMST_Timer();
    void chkInterval_Click(int value);
    void mnuOptionsTimingItem_Click(int index);

  private:
    Screen& screen_;
    Preferences& prefs;
    const StationClock& clock_;
    SkedHost& host_;
    Fields f_;
    Timer tmrMST;
};

}  // namespace parlomat
