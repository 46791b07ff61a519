#pragma once

#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "core/keyer/station.h"
#include "sim/sim_channels.h"
#include "sim/sim_dialogs.h"
#include "sim/sim_file_copier.h"
#include "sim/sim_launcher.h"
#include "sim/sim_link.h"
#include "sim/sim_scheduler.h"
#include "sim/sim_serial_port.h"
#include "sim/sim_view.h"
#include "sim/trace.h"

namespace parlomat {

/// What a simulated station's keyer gets besides the simulated devices: unset views default to
/// the trace's view, an unset link to the simulated one.
struct StationOptions {
    MainWindowView* view = nullptr;
    PreferencesView* preferences_view = nullptr;
    EventLog* log = nullptr;
    RemoteControl::Hooks hooks = {};
    LinkServer* link = nullptr;  ///< a real link to key the radio through
};

/// Every simulated device in virtual time and, once assembled, the keyer's Station over them.
/// The trace goes to `out`, or without one into a buffer that take_log() empties.
class SimStation {
  private:
    std::ostringstream kept_;  // declared first: the trace writes into it

  public:
    SimStation(std::string station_dir, LocalTime clock, std::ostream* out = nullptr);
    ~SimStation();
    SimStation(const SimStation&) = delete;
    SimStation& operator=(const SimStation&) = delete;

    using Options = StationOptions;
    /// Builds the Station over the simulated devices (once).
    Station& assemble(Options options = {});
    /// assemble() when not yet done, then the start-up window shows and is dismissed as a key
    /// dismisses it; the main window follows once 10 ms of virtual time have passed.
    Station& start(Options options = {});

    bool assembled() const { return station_ != nullptr; }
    Keyer& keyer() { return station_->keyer; }
    Splash& splash() { return station_->splash; }
    RemoteControl& remote() { return station_->remote; }
    const std::string& dir() const { return station_dir_; }
    /// The trace kept since the last call (empty when it goes to a stream of its own).
    std::string take_log();
    /// The trace kept so far, left in place.
    std::string log() const { return kept_.str(); }

    SimScheduler scheduler;
    Trace trace;
    SimChannels channels;
    SimSerialPort serial;
    SimLink link;
    SimDialogs dialogs;
    SimLauncher launcher;
    SimFileCopier files;
    SimView view;

  private:
    std::string station_dir_;
    std::unique_ptr<Station> station_;
};

}  // namespace parlomat
