#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "sim/script_words.h"
#include "sim/sim_station.h"

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

    /// Every command with its arguments and a line of help, one per line.
    static std::string CommandHelp();

  private:
    /// What a parsed command does; empty when it has nothing left to do.
    using Action = std::function<void()>;

    /// When a command may act. Every command is parsed in full first, whenever it comes.
    enum class Gate {
        Always,       // also after the program has ended (reads files only)
        BeforeStart,  // station set-up: fails once the program has started
        Running,      // does nothing after the program has ended
        Started,      // as Running, and fails before start
        MainWindow,   // as Started, and ignored unless the main window takes input
    };

    struct Command {
        const char* name;
        const char* arguments;
        const char* help;
        Gate gate;
        Action (ScenarioRunner::*parse)(ScriptWords&);
    };
    static const std::vector<Command>& Commands();

    void execute(ScriptWords& words);
    /// Whether `command`, parsed, acts now; Failure when it comes at the wrong time.
    bool may_act(const Command& command) const;

    Action parse_cat(ScriptWords& words);
    Action parse_clock(ScriptWords& words);
    Action parse_wave(ScriptWords& words);
    Action parse_junk(ScriptWords& words);
    Action parse_write(ScriptWords& words);
    Action parse_port(ScriptWords& words);
    Action parse_link(ScriptWords& words);
    Action parse_start(ScriptWords& words);
    Action parse_advance(ScriptWords& words);
    Action parse_reply(ScriptWords& words);
    Action parse_choose(ScriptWords& words);
    Action parse_line(ScriptWords& words);
    Action parse_transmit(ScriptWords& words);
    Action parse_audio(ScriptWords& words);
    Action parse_click(ScriptWords& words);
    Action parse_set(ScriptWords& words);
    Action parse_key(ScriptWords& words);
    Action parse_menu(ScriptWords& words);
    Action parse_statusbar(ScriptWords& words);
    Action parse_dialog(ScriptWords& words);
    Action parse_close(ScriptWords& words);
    Action parse_show(ScriptWords& words);
    Action parse_lamp(ScriptWords& words);

    /// `quiet`: the trace leaves out everything up to the main window's opening.
    void start(bool quiet);
    /// Lets `duration` pass; ends a quiet start once the handler that opened the main window
    /// (or ended the program) has returned.
    void advance(Ms duration);
    void click(const std::string& name, int index);
    void show();
    /// Traces the on-air lamp, the UTC clock and each slot's message length.
    void lamp();
    void cat(const std::string& name);

    void require_not_started(const char* command) const;
    /// The main window is up, no modal window is open and the program runs.
    bool main_window_takes_input() const;
    std::string path_of(const std::string& name) const;
    /// path_of(`name`), its folders made when missing (a file outside the station directory).
    std::string new_file_path(const std::string& name) const;

    std::string station_dir_;
    std::ostream& out_;
    std::ostream& err_;
    /// What the trace writes to: `out_`'s buffer, or none during a quiet start.
    std::ostream trace_out_;
    /// The script being run (for `write`, which reads the lines after it) and its line number.
    std::istream* script_ = nullptr;
    int line_number_ = 0;
    bool quiet_start_ = false;
    SimStation sim_;
    // The simulated devices by their short names; the keyer once `start` has run.
    SimScheduler& scheduler_ = sim_.scheduler;
    Trace& trace_ = sim_.trace;
    SimChannels& channels_ = sim_.channels;
    SimSerialPort& serial_ = sim_.serial;
    SimLink& link_ = sim_.link;
    SimDialogs& dialogs_ = sim_.dialogs;
    SimLauncher& launcher_ = sim_.launcher;
    SimView& view_ = sim_.view;
    Keyer* keyer_ = nullptr;
};

}  // namespace parlomat
