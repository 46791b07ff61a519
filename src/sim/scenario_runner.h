#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "core/keyer/keyer.h"
#include "core/keyer/splash.h"
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

/// Runs a scenario script against the keyer and the simulation kit, writing the trace to `out`.
class ScenarioRunner {
  public:
    /// Exit statuses of run().
    static constexpr int kDone = 0;
    static constexpr int kFailed = 1;
    static constexpr int kBadLine = 2;

    /// `station_dir` must exist; it is used as it stands and not removed.
    ScenarioRunner(std::string station_dir, std::ostream& out, std::ostream& err);
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    /// Runs every command of `script`; returns kDone, kBadLine (naming the line on `err`; nothing
    /// after it runs) or kFailed.
    int run(std::istream& script);

    /// The date-time at virtual time 0 when no `clock` command sets it.
    static LocalTime DefaultClock();

  private:
    class Words;

    void execute(Words& words, std::istream& script, int& line_number);
    void cmd_clock(Words& words);
    void cmd_write(Words& words, std::istream& script, int& line_number);
    void cmd_start();
    void cmd_click(Words& words);
    void cmd_set(Words& words);
    void cmd_key(Words& words);
    void cmd_menu(Words& words);
    void cmd_statusbar(Words& words);
    void cmd_dialog(Words& words);
    void cmd_show();
    /// Traces the on-air lamp, the UTC clock and each slot's message length.
    void cmd_lamp();
    void cmd_cat(const std::string& name);

    void require_not_started(const char* command) const;
    void require_started(const char* command) const;
    /// The main window is up, no modal window is open and the program runs.
    bool main_window_takes_input() const;
    std::string path_of(const std::string& name) const;
    /// path_of(`name`), its folders made when missing (a file outside the station directory).
    std::string new_file_path(const std::string& name) const;

    std::string station_dir_;
    std::ostream& out_;
    std::ostream& err_;
    SimScheduler scheduler_;
    Trace trace_;
    SimChannels channels_;
    SimSerialPort serial_;
    SimLink link_;
    SimDialogs dialogs_;
    SimLauncher launcher_;
    SimFileCopier files_;
    SimView view_;
    std::unique_ptr<Keyer> keyer_;
    std::unique_ptr<Splash> splash_;
};

}  // namespace parlomat
