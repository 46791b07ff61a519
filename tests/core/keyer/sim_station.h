#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
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

/// A station directory of its own, removed with its contents.
class StationDir {
  public:
    StationDir() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("parlomat-keyer-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~StationDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    StationDir(const StationDir&) = delete;
    StationDir& operator=(const StationDir&) = delete;

    std::string path() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(file(name), std::ios::trunc) << text;
    }

  private:
    std::filesystem::path path_;
};

/// The keyer on simulated devices in virtual time, started and showing its main window.
/// The trace of the latest events is kept for failure messages.
struct SimStation {
    explicit SimStation(const StationDir& dir, LocalTime clock)
        : scheduler(clock),
          trace(scheduler, log),
          channels(scheduler, trace, dir.path()),
          serial(trace, dir.path()),
          link(trace),
          dialogs(trace, dir.path()),
          launcher(trace),
          view(trace),
          keyer(KeyerPorts{scheduler, channels, serial, link, dialogs, launcher, view, &view,
                           dir.path()}),
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
