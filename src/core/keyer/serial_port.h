#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace parlomat {

enum class Parity { None, Even, Odd, Mark, Space };

/// How the line is framed. The keyer sends no data, but a port opens with a framing all the same.
struct SerialLine {
    int baud = 9600;
    Parity parity = Parity::None;
    int data_bits = 8;  ///< 5..8
    int stop_bits = 1;  ///< 1 or 2
};

/// The framing as it is usually written, e.g. "9600,N,8,1".
inline std::string SerialLineText(const SerialLine& line) {
    static constexpr char kParity[] = "NEOMS";
    return std::to_string(line.baud) + ',' + kParity[static_cast<int>(line.parity)] + ',' +
           std::to_string(line.data_bits) + ',' + std::to_string(line.stop_bits);
}

/// Why a serial port did not open.
struct SerialError {
    bool busy = false;        ///< held by another program (or already open here)
    int number = 0;           ///< the system's error number (errno)
    std::string description;  ///< the system's own words, e.g. "Permission denied"
    std::string device = {};  ///< the device path the port tried to open, e.g. "/dev/ttyUSB0"
};

/// The serial port that keys the transmitter: two modem-control outputs (DTR, RTS) and two
/// inputs (CTS, DSR). No data is read or written. Setting a line while the port is closed
/// changes nothing; a closed port reads CTS and DSR as not asserted.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    virtual void set_port_number(std::int16_t number) = 0;
    virtual std::int16_t port_number() const = 0;
    /// The framing the next open sets.
    virtual void set_line(const SerialLine& line) = 0;
    virtual void set_dtr(bool on) = 0;
    virtual void set_rts(bool on) = 0;
    /// Opens the port with both DTR and RTS low. True on success, else `error` says why.
    virtual bool open(SerialError& error) = 0;
    virtual bool is_open() const = 0;
    virtual bool cts() const = 0;
    virtual bool dsr() const = 0;
    /// Called on the UI thread when an open port is lost (a USB adapter unplugged).
    virtual void set_lost_handler(std::function<void()> handler) = 0;
};

}  // namespace parlomat
