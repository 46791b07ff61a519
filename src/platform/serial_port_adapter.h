#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QSocketNotifier>

#include "core/keyer/serial_port.h"
#include "platform/serial_lock_file.h"

namespace parlomat {

/// The keying serial port on a Linux tty, through termios and the modem-control ioctls.
///
/// Port number N opens the device `SerialDevicePath(ini_path, N)` names. The kernel raises DTR
/// and RTS whenever a tty opens; `open` lowers both in one call straight after, so a station
/// keyed on either line is not left transmitting. A device claimed by another program (a live
/// lock file, an exclusive open, an flock) fails with `SerialError::busy`; every other failure
/// carries errno and the system's description. A device that goes away while open (a USB
/// adapter unplugged) closes the port: line writes do nothing, CTS and DSR read as not asserted,
/// and the lost handler runs once from the event loop. The loss is seen by the next line
/// operation, or at once through the hang-up the kernel signals on the open device. Bytes the
/// far end sends are discarded, so they never pile up in the driver.
class SerialPortAdapter final : public SerialPort {
  public:
    /// The lock directories every serial program on the machine looks in.
    static std::vector<std::string> DefaultLockDirs();

    explicit SerialPortAdapter(std::string ini_path,
                               std::vector<std::string> lock_dirs = DefaultLockDirs());
    ~SerialPortAdapter() override;
    SerialPortAdapter(const SerialPortAdapter&) = delete;
    SerialPortAdapter& operator=(const SerialPortAdapter&) = delete;

    void set_port_number(std::int16_t number) override;
    std::int16_t port_number() const override;
    void set_line(const SerialLine& line) override;
    /// No data is ever read, so there is no input buffer to size.
    void set_dtr(bool on) override;
    void set_rts(bool on) override;
    bool open(SerialError& error) override;
    bool is_open() const override;
    bool cts() const override;
    bool dsr() const override;
    void set_lost_handler(std::function<void()> handler) override;

    /// The device path the last `open` used; empty before that.
    const std::string& device() const { return device_; }

  private:
    bool open_device(SerialError& error);
    void set_line(int line, bool on);
    bool input(int line) const;
    /// The device no longer answers: closes it and queues the lost handler once.
    void lose() const;
    void close_port() const;
    /// The device turned readable: discards what arrived, or finds it hung up.
    void drain();

    std::string ini_path_;
    std::int16_t number_ = 1;
    SerialLine line_;
    std::function<void()> lost_handler_;
    // The port closes itself when a line read finds the device gone, also from the const reads.
    mutable int fd_ = -1;
    mutable bool lost_queued_ = false;
    mutable SerialLockFile lock_;
    std::string device_;
    // Owns the queued lost-handler calls, so none runs after the adapter is gone.
    mutable QObject queue_;
    // Disabled rather than deleted on close, since a close may run inside its own signal.
    std::unique_ptr<QSocketNotifier> watch_;
};

}  // namespace parlomat
