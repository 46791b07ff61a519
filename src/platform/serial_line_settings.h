#pragma once

#include <optional>
#include <string>

#include <termios.h>

#include "core/keyer/serial_port.h"

namespace parlomat {

/// A serial line's framing in the terminal driver's terms.
struct SerialLineSettings {
    speed_t speed = B9600;
    Parity parity = Parity::None;
    int data_bits = 8;  ///< 5..8
    int stop_bits = 1;  ///< 1 or 2
};

/// `line` in the driver's terms; nothing for a rate the driver has no constant for (0 among
/// them: it would hang the line up), or data or stop bits it cannot set.
std::optional<SerialLineSettings> TermiosLine(const SerialLine& line);

/// Sets `tio` to a raw line with `settings`: no flow control, receiver on, modem status ignored
/// (CLOCAL), both outputs dropped on the last close (HUPCL), and a read of zero bytes only at a
/// hang-up (VMIN 1, VTIME 0).
void ApplySerialLineSettings(const SerialLineSettings& settings, termios& tio);

}  // namespace parlomat
