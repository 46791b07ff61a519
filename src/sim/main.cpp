#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "sim/scenario_runner.h"

namespace {

int Usage() {
    std::cerr
        << "usage: parlomat-sim [--dir DIR] < NAME.scn\n"
           "Runs the keyer in virtual time on simulated devices and traces what an operator\n"
           "or a radio observes. Device commands of a script include:\n"
           "  port busy|fails       the serial port will refuse to open\n"
           "  port lost             the open serial port disappears (a USB adapter unplugged)\n"
           "  link STATUS|fails     a link server is installed\n"
           "  line CTS|DSR on|off   sets a serial input line\n"
           "  transmit N            the link's transmit state answers N\n"
           "  audio lost|back       the sound system goes away (playing channels stop short;\n"
           "                        open, play and record fail) / comes back\n"
           "  clock DATE TIME [+HH:MM]  the local date-time at 0 and the system's zone\n"
           "                        (default -05:00)\n"
           "  set txtLabel I TEXT   types a label for slot I (0..5)\n"
           "  click cmdListen       plays the active slot without keying\n"
           "  lamp                  traces the on-air lamp and each slot's message length\n";
    return parlomat::ScenarioRunner::kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::string dir;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            Usage();
            return parlomat::ScenarioRunner::kDone;
        }
        if (arg == "--dir" && i + 1 < argc) {
            dir = argv[++i];
        } else {
            return Usage();
        }
    }
    bool temporary = false;
    std::error_code error;
    if (dir.empty()) {
        std::string pattern = (fs::temp_directory_path(error) / "parlomat-sim-XXXXXX").string();
        if (error || ::mkdtemp(pattern.data()) == nullptr) {
            std::cerr << "parlomat-sim: cannot make a temporary directory\n";
            return parlomat::ScenarioRunner::kFailed;
        }
        dir = pattern;
        temporary = true;
    } else if (!fs::is_directory(dir, error)) {
        std::cerr << "parlomat-sim: " << dir << " is not a directory\n";
        return parlomat::ScenarioRunner::kFailed;
    }
    dir = fs::absolute(dir, error).lexically_normal().string();
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    int status = parlomat::ScenarioRunner::kFailed;
    {
        parlomat::ScenarioRunner runner(dir, std::cout, std::cerr);
        status = runner.run(std::cin);
    }
    if (temporary) {
        fs::remove_all(dir, error);
    }
    return status;
}
