#pragma once

#include <chrono>
#include <sstream>
#include <string>

#include "core/keyer/keyer.h"
#include "core/keyer/splash.h"
#include "sim/sim_channels.h"
#include "sim/sim_dialogs.h"
#include "sim/sim_launcher.h"
#include "sim/sim_link.h"
#include "sim/sim_scheduler.h"
#include "sim/sim_serial_port.h"
#include "sim/sim_view.h"
#include "sim/trace.h"

namespace parlomat::test {

/// The keyer on simulated devices in virtual time, started and showing its main window.
/// The trace of the latest events is kept for failure messages.
struct SimStation {
    SimStation(const std::string& station, LocalTime clock)
        : scheduler(clock),
          trace(scheduler, log),
          channels(scheduler, trace, station),
          serial(trace, station),
          link(trace),
          dialogs(trace, station),
          launcher(trace),
          view(trace),
          keyer(KeyerPorts{scheduler, channels, serial, link, dialogs, launcher, view, &view,
                           station}),
          splash(scheduler, view, keyer) {
        splash.Show();
        splash.ExitForm();
        scheduler.advance(Ms{10});
    }

    /// The trace written since the last call.
    std::string take_log() {
        std::string text = log.str();
        log.str({});
        return text;
    }

    std::ostringstream log;
    SimScheduler scheduler;
    Trace trace;
    SimChannels channels;
    SimSerialPort serial;
    SimLink link;
    SimDialogs dialogs;
    SimLauncher launcher;
    SimView view;
    Keyer keyer;
    Splash splash;
};

}  // namespace parlomat::test
