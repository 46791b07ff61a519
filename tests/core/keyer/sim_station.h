#pragma once

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

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

/// The station log's entries as text: "down start 1", "up stop 1", "timeout 20".
class RecordingLog final : public EventLog {
  public:
    void KeyChange(bool down, KeyCause cause, int slot, bool) override {
        entries.push_back(std::string(down ? "down " : "up ") + KeyCauseText(cause) + " " +
                          std::to_string(slot));
    }
    void TxTimedOut(int seconds) override {
        entries.push_back("timeout " + std::to_string(seconds));
    }
    std::vector<std::string> entries;
};

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
          keyer(KeyerPorts{.scheduler = scheduler,
                           .mci = channels,
                           .SP = serial,
                           .link = link,
                           .dialogs = dialogs,
                           .launcher = launcher,
                           .view = view,
                           .preferences_view = &view,
                           .station_dir = station,
                           .log = &tx_log}),
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
    RecordingLog tx_log;
    Keyer keyer;
    Splash splash;
};

}  // namespace parlomat::test
