#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/keyer/serial_port.h"
#include "sim/trace.h"

namespace parlomat {

/// A serial port whose outputs are traced and whose inputs the scenario sets. The device a port
/// number opens is looked up in the station's settings file, as the real adapter does.
class SimSerialPort final : public SerialPort {
  public:
    enum class Refusal { None, Busy, Fails };

    SimSerialPort(Trace& trace, std::string station_dir);

    void set_port_number(std::int16_t number) override { number_ = number; }
    std::int16_t port_number() const override { return number_; }
    void set_line(const SerialLine& line) override { settings_ = SerialLineText(line); }
    void set_dtr(bool on) override;
    void set_rts(bool on) override;
    bool open(SerialError& error) override;
    bool is_open() const override { return open_; }
    bool cts() const override { return open_ && cts_; }
    bool dsr() const override { return open_ && dsr_; }
    void set_lost_handler(std::function<void()> handler) override { lost_ = std::move(handler); }

    /// How the next open fails.
    void refuse(Refusal refusal) { refusal_ = refusal; }
    /// Sets an input line as the radio drives it.
    void set_cts(bool on) { cts_ = on; }
    void set_dsr(bool on) { dsr_ = on; }
    bool dtr_on() const { return dtr_; }
    bool rts_on() const { return rts_; }
    /// The device disappears (a USB adapter unplugged): the port closes and the keyer is told.
    void lose();

  private:
    void set_line(const char* name, bool& line, bool on);

    Trace& trace_;
    std::string station_dir_;
    std::int16_t number_ = 0;
    std::string settings_;
    Refusal refusal_ = Refusal::None;
    bool open_ = false;
    bool dtr_ = false;
    bool rts_ = false;
    bool cts_ = false;
    bool dsr_ = false;
    std::function<void()> lost_;
};

}  // namespace parlomat
