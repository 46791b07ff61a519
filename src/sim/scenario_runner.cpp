#include "sim/scenario_runner.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "sim/station_paths.h"

namespace parlomat {

LocalTime ScenarioRunner::DefaultClock() {
    using namespace std::chrono;
    return LocalTime{local_days{year{2026} / January / 1} + hours{12}};
}

ScenarioRunner::ScenarioRunner(std::string station_dir, std::ostream& out, std::ostream& err)
    : station_dir_(std::move(station_dir)),
      out_(out),
      err_(err),
      trace_out_(out.rdbuf()),
      sim_(station_dir_, DefaultClock(), &trace_out_) {}

ScenarioRunner::~ScenarioRunner() = default;

std::string ScenarioRunner::path_of(const std::string& name) const {
    return StationAbsolute(station_dir_, name);
}

std::string ScenarioRunner::new_file_path(const std::string& name) const {
    const std::filesystem::path path = path_of(name);
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    return path.string();
}

int ScenarioRunner::run(std::istream& script) {
    script_ = &script;
    line_number_ = 0;
    std::string line;
    while (std::getline(script, line)) {
        const int first_line = ++line_number_;
        ScriptWords words(line);
        if (words.empty_or_comment()) {
            continue;
        }
        try {
            execute(words);
        } catch (const BadLine& error) {
            out_.flush();
            err_ << "parlomat-sim: line " << first_line << ": " << error.what() << ": " << line
                 << '\n';
            return kBadLine;
        } catch (const Failure& error) {
            out_.flush();
            err_ << "parlomat-sim: line " << first_line << ": " << error.what() << '\n';
            return kFailed;
        }
    }
    out_.flush();
    return kDone;
}

void ScenarioRunner::execute(ScriptWords& words) {
    const std::string name = words.word("command");
    const auto& commands = Commands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const Command& c) { return name == c.name; });
    if (command == commands.end()) {
        throw BadLine("unknown command");
    }
    const Action action = (this->*command->parse)(words);
    words.done();
    if (action && may_act(*command)) {
        action();
    }
}

bool ScenarioRunner::may_act(const Command& command) const {
    switch (command.gate) {
        case Gate::Always:
            return true;
        case Gate::BeforeStart:
            require_not_started(command.name);
            return true;
        case Gate::Running:
            return !view_.ended();
        case Gate::Started:
        case Gate::MainWindow:
            if (view_.ended()) {
                return false;
            }
            if (!keyer_) {
                throw Failure(std::string(command.name) + " before start");
            }
            return command.gate == Gate::Started || main_window_takes_input();
    }
    return false;
}

void ScenarioRunner::require_not_started(const char* command) const {
    if (keyer_) {
        throw Failure(std::string(command) + " must come before start");
    }
}

bool ScenarioRunner::main_window_takes_input() const {
    return keyer_ && !view_.ended() &&
           keyer_->state().windows[static_cast<int>(Window::frmMainScreen)] &&
           !keyer_->modal_open();
}

void ScenarioRunner::start(bool quiet) {
    if (keyer_) {
        throw Failure("the program has already started");
    }
    if (quiet) {
        quiet_start_ = true;
        trace_out_.rdbuf(nullptr);
    }
    keyer_ = &sim_.start().keyer;
}

void ScenarioRunner::advance(Ms duration) {
    const Ms end = scheduler_.now() + std::max(duration, Ms{0});
    // One callback at a time while the start-up is left out of the trace: the trace resumes
    // right after the handler that opened the main window.
    while (quiet_start_ && scheduler_.run_next(end)) {
        if (view_.ended() || keyer_->state().windows[static_cast<int>(Window::frmMainScreen)]) {
            quiet_start_ = false;
            trace_out_.rdbuf(out_.rdbuf());
        }
    }
    scheduler_.advance(end - scheduler_.now());
}

}  // namespace parlomat
