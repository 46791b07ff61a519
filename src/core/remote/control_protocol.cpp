#include "core/remote/control_protocol.h"

#include <cstdio>

#include "core/settings/text.h"

namespace parlomat {

namespace {

// A client may end its lines with CR LF.
std::string_view Trim(std::string_view text) {
    text = TrimBlanks(text);
    while (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
        text = TrimBlanks(text);
    }
    return text;
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

const char* Bool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string_view ControlErrorText(ControlError error) {
    switch (error) {
        case ControlError::Unknown:
            return "unknown command";
        case ControlError::BadSlot:
            return "slot must be 1..6";
        case ControlError::TooLong:
            return "line too long";
        case ControlError::BadByte:
            return "NUL byte";
        case ControlError::Modal:
            return "modal";
        case ControlError::Starting:
            return "starting";
        case ControlError::Ended:
            return "ended";
    }
    return "unknown command";
}

std::variant<ControlRequest, ControlError> ParseControlLine(std::string_view line) {
    line = Trim(line);
    const auto space = line.find_first_of(" \t");
    const std::string_view word = line.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view{} : Trim(line.substr(space));
    using Kind = ControlRequest::Kind;
    if (EqualsNoCase(word, "PLAY")) {
        if (rest.size() != 1 || rest[0] < '1' || rest[0] > '6') {
            return ControlError::BadSlot;
        }
        return ControlRequest{Kind::Play, rest[0] - '0'};
    }
    if (!rest.empty()) {
        return ControlError::Unknown;
    }
    if (EqualsNoCase(word, "STOP")) {
        return ControlRequest{Kind::Stop, 0};
    }
    if (EqualsNoCase(word, "STATUS")) {
        return ControlRequest{Kind::Status, 0};
    }
    if (EqualsNoCase(word, "RAISE")) {
        return ControlRequest{Kind::Raise, 0};
    }
    return ControlError::Unknown;
}

std::string FormatControlStatus(const ControlStatus& status) {
    std::string out = "{\"slot\":" + std::to_string(status.slot);
    out += ",\"playing\":";
    out += Bool(status.playing);
    out += ",\"ptt\":";
    out += Bool(status.ptt);
    out += ",\"feedback\":";
    AppendJsonString(out, status.feedback);
    out += ",\"mode\":";
    AppendJsonString(out, status.mode);
    out += ",\"sked\":";
    out += Bool(status.sked);
    out += ",\"loop\":";
    out += Bool(status.loop);
    out += ",\"ready\":";
    out += Bool(status.ready);
    out += '}';
    return out;
}

void ControlLineReader::feed(std::string_view bytes) {
    if (!failed_) {
        pending_ += bytes;
    }
}

ControlLineReader::Next ControlLineReader::next() {
    if (failed_) {
        return std::monostate{};
    }
    const auto end = pending_.find('\n');
    const std::size_t length = end == std::string::npos ? pending_.size() : end;
    if (pending_.find('\0') < length) {
        failed_ = true;
        return ControlError::BadByte;
    }
    if (length > kMaxLine) {
        failed_ = true;
        return ControlError::TooLong;
    }
    if (end == std::string::npos) {
        return std::monostate{};
    }
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

}  // namespace parlomat
