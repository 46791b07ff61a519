#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace parlomat {

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
    /// Line settings such as "9600,N,8,1".
    virtual void set_settings(const std::string& settings) = 0;
    virtual void set_input_length(int length) = 0;
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
