#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "sim/scenario_runner.h"

namespace {

int Usage() {
    std::cerr << "usage: parlomat-sim [--dir DIR] < NAME.scn\n"
                 "Runs the keyer in virtual time on simulated devices and traces what an "
                 "operator\nor a radio observes. DIR is the station directory (default: a "
                 "temporary one).\nScript commands, one a line (# starts a comment):\n"
              << parlomat::ScenarioRunner::CommandHelp();
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
