#include "sim/script_words.h"

#include <charconv>
#include <utility>

namespace parlomat {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

std::optional<long long> ToInteger(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

long long Integer(std::string_view text, long long low, long long high, const char* what) {
    const auto value = ToInteger(text);
    if (!value || *value < low || *value > high) {
        throw BadLine(std::string("bad ") + what + " \"" + std::string(text) + "\"");
    }
    return *value;
}

ScriptWords::ScriptWords(std::string line) : line_(std::move(line)) {
    while (!line_.empty() && (line_.back() == '\r' || line_.back() == '\n')) {
        line_.pop_back();
    }
}

bool ScriptWords::empty_or_comment() {
    skip_blanks();
    return at_ == line_.size() || line_[at_] == '#';
}

bool ScriptWords::at_end() {
    skip_blanks();
    return at_ == line_.size();
}

std::optional<std::string> ScriptWords::next() {
    skip_blanks();
    if (at_ == line_.size()) {
        return std::nullopt;
    }
    const std::size_t start = at_;
    while (at_ < line_.size() && !IsBlank(line_[at_])) {
        ++at_;
    }
    return line_.substr(start, at_ - start);
}

std::string ScriptWords::word(const char* what) {
    auto result = next();
    if (!result) {
        throw BadLine(std::string("missing ") + what);
    }
    return *result;
}

std::string ScriptWords::text(const char* what) {
    skip_blanks();
    if (at_ == line_.size()) {
        throw BadLine(std::string("missing ") + what);
    }
    if (line_[at_] != '"') {
        std::string rest = line_.substr(at_);
        at_ = line_.size();
        return rest;
    }
    std::string result;
    for (++at_; at_ < line_.size(); ++at_) {
        const char c = line_[at_];
        if (c == '"') {
            ++at_;
            done();
            return result;
        }
        if (c != '\\') {
            result += c;
            continue;
        }
        if (++at_ == line_.size()) {
            break;
        }
        switch (line_[at_]) {
            case '"':
            case '\\':
                result += line_[at_];
                break;
            case 'n':
                result += '\n';
                break;
            default:
                throw BadLine("unknown escape in a quoted text");
        }
    }
    throw BadLine("unterminated quoted text");
}

void ScriptWords::done() {
    if (!at_end()) {
        throw BadLine("unexpected \"" + line_.substr(at_) + "\"");
    }
}

void ScriptWords::skip_blanks() {
    while (at_ < line_.size() && IsBlank(line_[at_])) {
        ++at_;
    }
}

}  // namespace parlomat
