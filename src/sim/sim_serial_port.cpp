#include "sim/sim_serial_port.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include "core/settings/preferences.h"

namespace parlomat {
namespace {

SerialError Failure(int number, std::string device = {}) {
    return SerialError{number == EBUSY, number, std::generic_category().message(number),
                       std::move(device)};
}

}  // namespace

SimSerialPort::SimSerialPort(Trace& trace, std::string station_dir)
    : trace_(trace), station_dir_(std::move(station_dir)) {}

void SimSerialPort::set_line(const char* name, bool& line, bool on) {
    if (!open_ || line == on) {
        return;
    }
    line = on;
    trace_.event(std::string("line ") + name + " " + Trace::on_off(on));
}

void SimSerialPort::set_dtr(bool on) {
    set_line("DTR", dtr_, on);
}

void SimSerialPort::set_rts(bool on) {
    set_line("RTS", rts_, on);
}

bool SimSerialPort::open(SerialError& error) {
    switch (refusal_) {
        case Refusal::Busy:
            error = Failure(EBUSY);
            return false;
        case Refusal::Fails:
            error = Failure(EIO, SerialDevicePath(station_dir_ + "/parlomat.ini", number_));
            return false;
        case Refusal::None:
            break;
    }
    if (open_) {
        error = Failure(EBUSY);
        return false;
    }
    open_ = true;
    dtr_ = false;
    rts_ = false;
    trace_.event("port open " + SerialDevicePath(station_dir_ + "/parlomat.ini", number_) + " " +
                 settings_);
    return true;
}

void SimSerialPort::lose() {
    if (!open_) {
        return;
    }
    open_ = false;
    dtr_ = false;
    rts_ = false;
    trace_.event("port lost");
    if (lost_) {
        lost_();
    }
}

}  // namespace parlomat
