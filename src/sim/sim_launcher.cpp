#include "sim/sim_launcher.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace parlomat {

namespace {

bool IsExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::optional<std::vector<std::string>> SimLauncher::SplitCommand(const std::string& command_line) {
    std::vector<std::string> words;
    std::string word;
    bool in_word = false;
    bool quoted = false;
    for (std::size_t i = 0; i < command_line.size(); ++i) {
        const char c = command_line[i];
        if (quoted) {
            if (c != '"') {
                word += c;
            } else if (i + 1 < command_line.size() && command_line[i + 1] == '"') {
                word += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
            in_word = true;
        } else if (c == ' ' || c == '\t') {
            if (in_word) {
                words.push_back(std::move(word));
                word.clear();
                in_word = false;
            }
        } else {
            word += c;
            in_word = true;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (in_word) {
        words.push_back(std::move(word));
    }
    return words;
}

bool SimLauncher::program_exists(const std::string& program) const {
    if (program.empty()) {
        return false;
    }
    if (program.front() == '/') {
        return IsExecutableFile(program);
    }
    if (program.find('/') != std::string::npos) {
        return false;
    }
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "";
    while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        if (!dir.empty() && IsExecutableFile(std::filesystem::path(dir) / program)) {
            return true;
        }
        dirs = colon == std::string_view::npos ? std::string_view{} : dirs.substr(colon + 1);
    }
    return false;
}

bool SimLauncher::start(const std::string& command_line) {
    const auto words = SplitCommand(command_line);
    if (!words || words->empty() || !program_exists(words->front())) {
        return false;
    }
    trace_.event("launch " + Trace::quote(command_line));
    return true;
}

bool SimLauncher::open_url(const std::string& url) {
    trace_.event("open-url " + Trace::quote(url));
    return true;
}

}  // namespace parlomat
