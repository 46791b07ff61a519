#include "platform/serial_port_adapter.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "core/settings/preferences.h"
#include "platform/log_categories.h"
#include "platform/serial_line_settings.h"

namespace parlomat {
namespace {

bool Fail(SerialError& error, int number) {
    error.number = number;
    error.description = std::generic_category().message(number);
    return false;
}

bool Busy(SerialError& error) {
    error.busy = true;
    return Fail(error, EBUSY);
}

}  // namespace

std::vector<std::string> SerialPortAdapter::DefaultLockDirs() {
    return {"/run/lock", "/var/lock"};
}

SerialPortAdapter::SerialPortAdapter(std::string ini_path, std::vector<std::string> lock_dirs)
    : ini_path_(std::move(ini_path)), lock_(std::move(lock_dirs)) {}

SerialPortAdapter::~SerialPortAdapter() {
    close_port();
}

void SerialPortAdapter::set_port_number(std::int16_t number) {
    number_ = number;
}

std::int16_t SerialPortAdapter::port_number() const {
    return number_;
}

void SerialPortAdapter::set_line(const SerialLine& line) {
    line_ = line;
}

void SerialPortAdapter::set_dtr(bool on) {
    set_line(TIOCM_DTR, on);
}

void SerialPortAdapter::set_rts(bool on) {
    set_line(TIOCM_RTS, on);
}

bool SerialPortAdapter::is_open() const {
    return fd_ >= 0;
}

bool SerialPortAdapter::cts() const {
    return input(TIOCM_CTS);
}

bool SerialPortAdapter::dsr() const {
    return input(TIOCM_DSR);
}

void SerialPortAdapter::set_lost_handler(std::function<void()> handler) {
    lost_handler_ = std::move(handler);
}

bool SerialPortAdapter::open(SerialError& error) {
    if (!open_device(error)) {
        qCWarning(lcSerial, "serial port %d (%s) did not open: %s", number_, device_.c_str(),
                  error.busy ? "in use by another program" : error.description.c_str());
        return false;
    }
    qCInfo(lcSerial, "serial port %d (%s) open", number_, device_.c_str());
    return true;
}

bool SerialPortAdapter::open_device(SerialError& error) {
    error = {};
    if (fd_ >= 0) {
        return Busy(error);
    }
    device_ = SerialDevicePath(ini_path_, number_);
    error.device = device_;
    const auto line = TermiosLine(line_);
    if (!line) {
        return Fail(error, EINVAL);
    }
    if (lock_.acquire(device_) == SerialLockFile::Result::kHeld) {
        return Busy(error);
    }

    const int fd = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        lock_.release();
        return err == EBUSY ? Busy(error) : Fail(error, err);
    }
    const auto give_up = [&](int err) {
        ::close(fd);
        lock_.release();
        return err == EBUSY || err == EWOULDBLOCK ? Busy(error) : Fail(error, err);
    };
    // The flock goes before any line change, so a device another program holds is left alone.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return give_up(errno);
    }
    const int both = TIOCM_DTR | TIOCM_RTS;
    if (ioctl(fd, TIOCMBIC, &both) != 0) {
        return give_up(errno);
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        return give_up(errno);
    }
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return give_up(errno);
    }
    // Leaving a zero rate raises DTR and RTS again in most drivers.
    const bool was_hung_up = cfgetospeed(&tio) == B0;
    ApplySerialLineSettings(*line, tio);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        return give_up(errno);
    }
    if (was_hung_up && ioctl(fd, TIOCMBIC, &both) != 0) {
        return give_up(errno);
    }
    tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    lost_queued_ = false;
    watch_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(watch_.get(), &QSocketNotifier::activated, &queue_, [this] { drain(); });
    return true;
}

void SerialPortAdapter::set_line(int line, bool on) {
    if (fd_ < 0) {
        return;
    }
    if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) != 0) {
        lose();
    }
}

bool SerialPortAdapter::input(int line) const {
    if (fd_ < 0) {
        return false;
    }
    int lines = 0;
    if (ioctl(fd_, TIOCMGET, &lines) != 0) {
        lose();
        return false;
    }
    return (lines & line) != 0;
}

void SerialPortAdapter::lose() const {
    const int err = errno;
    close_port();
    if (lost_queued_) {
        return;
    }
    qCWarning(lcSerial, "serial port %s lost: %s", device_.c_str(),
              err != 0 ? std::generic_category().message(err).c_str() : "the device hung up");
    lost_queued_ = true;
    QMetaObject::invokeMethod(
        &queue_,
        [this] {
            if (auto handler = lost_handler_) {
                handler();
            }
        },
        Qt::QueuedConnection);
}

void SerialPortAdapter::drain() {
    char discarded[256];
    while (fd_ >= 0) {
        const ssize_t size = ::read(fd_, discarded, sizeof discarded);
        if (size > 0 || (size < 0 && errno == EINTR)) {
            continue;
        }
        if (size < 0 && errno == EAGAIN) {
            return;
        }
        // End of file or an error on a non-blocking tty: the device has hung up.
        if (size == 0) {
            errno = 0;
        }
        lose();
    }
}

void SerialPortAdapter::close_port() const {
    if (watch_) {
        watch_->setEnabled(false);
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    lock_.release();
}

}  // namespace parlomat
