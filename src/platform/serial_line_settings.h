#pragma once

#include <optional>
#include <string>

#include <termios.h>

namespace parlomat {

/// A serial line's framing, parsed from text such as "9600,N,8,1".
struct SerialLineSettings {
    speed_t speed = B9600;
    char parity = 'N';  ///< 'N' none, 'E' even, 'O' odd, 'M' mark, 'S' space
    int data_bits = 8;  ///< 5..8
    int stop_bits = 1;  ///< 1 or 2
};

/// Parses "baud,parity,data,stop"; blanks around each field are ignored, the parity letter may
/// be lower case. Nothing for a rate the terminal driver has no constant for, or any other
/// malformed field.
std::optional<SerialLineSettings> ParseSerialLineSettings(const std::string& text);

/// Sets `tio` to a raw line with `settings`: no flow control, receiver on, modem status ignored
/// (CLOCAL), both outputs dropped on the last close (HUPCL), and a read of zero bytes only at a
/// hang-up (VMIN 1, VTIME 0).
void ApplySerialLineSettings(const SerialLineSettings& settings, termios& tio);

}  // namespace parlomat
