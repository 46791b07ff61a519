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
    // The desktop's rule: blanks separate words, a double quote opens or closes a quoted part,
    // three quotes in a row stand for one literal quote. Unbalanced quotes are refused.
    std::vector<std::string> words;
    std::string word;
    bool in_quote = false;
    int quotes = 0;
    const auto flush_quotes = [&] {
        if (quotes == 1) {
            in_quote = !in_quote;
        }
        quotes = 0;
    };
    for (const char c : command_line) {
        if (c == '"') {
            if (++quotes == 3) {
                quotes = 0;
                word += c;
            }
            continue;
        }
        flush_quotes();
        if (!in_quote &&
            (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f')) {
            if (!word.empty()) {
                words.push_back(std::move(word));
                word.clear();
            }
        } else {
            word += c;
        }
    }
    flush_quotes();
    if (in_quote) {
        return std::nullopt;
    }
    if (!word.empty()) {
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
