#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace parlomat {

/// What a client of the control socket asks for, one line each.
struct ControlRequest {
    enum class Kind { Play, Stop, Status, Raise };
    Kind kind = Kind::Status;
    int slot = 0;  ///< 1..6, for Play
};

/// Why a line was refused; the reply is "ERR " + text().
enum class ControlError { Unknown, BadSlot, TooLong, BadByte, Modal, Starting, Ended };
std::string_view ControlErrorText(ControlError error);

/// One line of the protocol, without its line feed, as a request; a trailing carriage return
/// and blanks around words are ignored, command words are matched without regard to case.
std::variant<ControlRequest, ControlError> ParseControlLine(std::string_view line);

/// The keyer's state as the STATUS reply shows it.
struct ControlStatus {
    int slot = 1;  ///< 1..6
    bool playing = false;
    bool ptt = false;  ///< the transmitter is keyed
    std::string feedback;
    std::string mode;
    bool sked = false;
    bool loop = false;
    bool ready = false;  ///< the main window is up (not the start-up window)
};

/// The STATUS reply: one line of JSON, without its line feed.
std::string FormatControlStatus(const ControlStatus& status);

/// Cuts a client's byte stream into lines. A line longer than kMaxLine bytes, or one holding a
/// NUL byte, is an error after which the connection is to be closed.
class ControlLineReader {
  public:
    static constexpr std::size_t kMaxLine = 256;  ///< bytes, without the line feed

    /// The next complete line, an error, or nothing until more bytes arrive.
    using Next = std::variant<std::monostate, std::string, ControlError>;

    void feed(std::string_view bytes);
    Next next();

  private:
    std::string pending_;
    bool failed_ = false;
};

}  // namespace parlomat
