#include "platform/serial_port_adapter.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "platform/serial/modem_shim_fixture.h"

namespace parlomat {
namespace {

constexpr int kBoth = TIOCM_DTR | TIOCM_RTS;

class SerialPortAdapterTest : public ModemShimTest {
  protected:
    std::unique_ptr<SerialPortAdapter> make_port() {
        auto port =
            std::make_unique<SerialPortAdapter>(ini_path(), std::vector<std::string>{lock_dir()});
        port->set_lost_handler([this] { ++lost_calls_; });
        return port;
    }

    /// The start-up order: number, settings, input length, DTR off, open.
    bool open_port(SerialPortAdapter& port, SerialError& error) {
        port.set_port_number(1);
        port.set_settings("9600,N,8,1");
        port.set_input_length(0);
        port.set_dtr(false);
        return port.open(error);
    }

    int lost_calls_ = 0;
};

TEST_F(SerialPortAdapterTest, OpensWithBothLinesLoweredInOneWrite) {
    auto port = make_port();
    // A closed port changes nothing and reads nothing.
    shim_->inputs = TIOCM_CTS | TIOCM_DSR;
    port->set_dtr(true);
    port->set_rts(true);
    EXPECT_FALSE(port->cts() || port->dsr() || port->is_open());
    EXPECT_EQ(shim_->opens, 0);

    SerialError error;
    ASSERT_TRUE(open_port(*port, error)) << error.number << " " << error.description;
    EXPECT_TRUE(port->is_open());
    EXPECT_EQ(port->device(), tty_);
    EXPECT_EQ(shim_->outputs, 0) << "lines set before the open are not raised by it";
    ASSERT_GE(shim_->writes, 1);
    EXPECT_EQ(shim_->history[0], 0) << "the first write after the open lowers DTR and RTS together";
    EXPECT_FALSE(lock_dir_empty()) << "the device is claimed for other programs to see";
    EXPECT_FALSE(port->open(error));
    EXPECT_EQ(error.number, SerialError::kBusy) << "opened twice";
    EXPECT_TRUE(port->is_open());

    port.reset();
    EXPECT_EQ(shim_->open_fds, 0);
    EXPECT_TRUE(lock_dir_empty());
}

TEST_F(SerialPortAdapterTest, KeyingMovesOnlyTheNamedLineAndInputsReadAsReported) {
    auto port = make_port();
    SerialError error;
    ASSERT_TRUE(open_port(*port, error));
    const struct {
        void (SerialPortAdapter::*set)(bool);
        bool on;
        int outputs;
    } steps[] = {
        {&SerialPortAdapter::set_dtr, true, TIOCM_DTR},
        {&SerialPortAdapter::set_dtr, true, TIOCM_DTR},
        {&SerialPortAdapter::set_rts, true, kBoth},
        {&SerialPortAdapter::set_dtr, false, TIOCM_RTS},
        {&SerialPortAdapter::set_rts, false, 0},
        {&SerialPortAdapter::set_rts, true, TIOCM_RTS},
    };
    int step = 0;
    for (const auto& s : steps) {
        (port.get()->*s.set)(s.on);
        EXPECT_EQ(shim_->outputs, s.outputs) << "step " << step++;
    }
    EXPECT_TRUE(port->is_open());

    const struct {
        int inputs;
        bool cts;
        bool dsr;
    } cases[] = {{0, false, false},
                 {TIOCM_CTS, true, false},
                 {TIOCM_DSR, false, true},
                 {TIOCM_CTS | TIOCM_DSR, true, true},
                 {TIOCM_CAR | TIOCM_RNG, false, false}};
    for (const auto& c : cases) {
        shim_->inputs = c.inputs;
        EXPECT_EQ(port->cts(), c.cts) << c.inputs;
        EXPECT_EQ(port->dsr(), c.dsr) << c.inputs;
    }
    port->set_rts(true);
    shim_->inputs = 0;
    EXPECT_FALSE(port->cts()) << "an output line never reads as an input";
}

TEST_F(SerialPortAdapterTest, DeviceHeldElsewhereIsBusy) {
    int other_fd = -1;
    std::unique_ptr<SerialPortAdapter> holder;
    const struct {
        const char* what;
        std::function<void()> hold;
        bool our_lock_left;
    } cases[] = {
        {"opened exclusively", [&] { shim_->busy = 1; }, false},
        {"live lock file",
         [&] {
             std::ofstream(lock_dir() + "/" + SerialLockFile::LockName(tty_)) << "         1\n";
         },
         true},
        {"flock by another program",
         [&] {
             other_fd = open(tty_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
             ASSERT_EQ(flock(other_fd, LOCK_EX | LOCK_NB), 0);
         },
         false},
        {"open in this program",
         [&] {
             holder = make_port();
             SerialError error;
             ASSERT_TRUE(open_port(*holder, error));
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.hold();
        auto port = make_port();
        SerialError error;
        EXPECT_FALSE(open_port(*port, error));
        EXPECT_EQ(error.number, SerialError::kBusy);
        EXPECT_EQ(error.description, std::generic_category().message(EBUSY));
        EXPECT_FALSE(port->is_open());
        EXPECT_EQ(lock_dir_empty(), !c.our_lock_left);

        shim_->busy = 0;
        holder.reset();
        std::filesystem::remove(lock_dir() + "/" + SerialLockFile::LockName(tty_));
        if (other_fd >= 0) {
            close(other_fd);
            other_fd = -1;
        }
    }
}

TEST_F(SerialPortAdapterTest, OtherFailuresCarryErrnoAndTheSystemText) {
    const std::string regular_file = ini_path();
    const struct {
        const char* what;
        std::string device;
        std::string settings;
        int number;
    } cases[] = {
        {"no such device", "/nonexistent/ttyUSB9", "9600,N,8,1", ENOENT},
        {"not a tty", regular_file, "9600,N,8,1", ENOTTY},
        {"a directory", "/", "9600,N,8,1", EISDIR},
        {"unusable settings", tty_, "9600,Q,8,1", EINVAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        map_port(c.device);
        auto port = make_port();
        port->set_port_number(1);
        port->set_settings(c.settings);
        SerialError error;
        EXPECT_FALSE(port->open(error));
        EXPECT_EQ(error.number, c.number);
        EXPECT_EQ(error.description, std::generic_category().message(c.number));
        EXPECT_EQ(error.device, c.device) << "the operator is told which device failed";
        EXPECT_FALSE(port->is_open());
        EXPECT_TRUE(lock_dir_empty());
    }
}

TEST_F(SerialPortAdapterTest, UnpluggedPortFailsQuietlyAndReportsTheLossOnce) {
    const struct {
        const char* what;
        std::function<void(SerialPortAdapter&)> notice;
        bool at_once;  ///< noticed inside the call, not only by the event loop's watch
    } cases[] = {
        {"keying", [](SerialPortAdapter& port) { port.set_dtr(true); }, true},
        {"unkeying", [](SerialPortAdapter& port) { port.set_rts(false); }, true},
        {"interrupt watch", [](SerialPortAdapter& port) { EXPECT_FALSE(port.cts()); }, true},
        {"DSR watch", [](SerialPortAdapter& port) { EXPECT_FALSE(port.dsr()); }, true},
        // Last: the far end stays closed.
        {"hang-up while idle",
         [this](SerialPortAdapter& port) {
             shim_->unplugged = 0;
             ASSERT_EQ(write(far_end(), "QRZ?", 4), 4);
             run_event_loop();
             EXPECT_TRUE(port.is_open()) << "received bytes are no hang-up";
             shim_->unplugged = 1;
             hang_up();
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        shim_->unplugged = 0;
        lost_calls_ = 0;
        auto port = make_port();
        SerialError error;
        ASSERT_TRUE(open_port(*port, error));

        shim_->unplugged = 1;
        shim_->inputs = TIOCM_CTS | TIOCM_DSR;
        c.notice(*port);
        EXPECT_EQ(port->is_open(), !c.at_once);
        EXPECT_EQ(lost_calls_, 0) << "the handler runs from the event loop, not inside the call";
        run_event_loop();
        EXPECT_FALSE(port->is_open());
        EXPECT_EQ(lost_calls_, 1);

        port->set_dtr(true);
        port->set_rts(true);
        EXPECT_FALSE(port->cts() || port->dsr());
        run_event_loop();
        EXPECT_EQ(lost_calls_, 1);
        EXPECT_EQ(shim_->open_fds, 0);
        EXPECT_TRUE(lock_dir_empty());
    }
}

TEST_F(SerialPortAdapterTest, LossQueuedForAnAdapterGoneMeanwhileIsDropped) {
    auto port = make_port();
    SerialError error;
    ASSERT_TRUE(open_port(*port, error));
    shim_->unplugged = 1;
    port->set_dtr(true);
    port.reset();
    run_event_loop();
    EXPECT_EQ(lost_calls_, 0);
}

TEST_F(SerialPortAdapterTest, KilledWhileKeyedTheKernelDropsTheLines) {
    // HUPCL off to begin with: only the adapter can have set it.
    termios tio{};
    ASSERT_EQ(tcgetattr(far_end(), &tio), 0);
    tio.c_cflag &= ~static_cast<tcflag_t>(HUPCL);
    ASSERT_EQ(tcsetattr(far_end(), TCSANOW, &tio), 0);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        auto port = make_port();
        SerialError error;
        const bool keyed = open_port(*port, error);
        port->set_dtr(true);
        const char state = keyed ? 'k' : 'f';
        if (write(ready[1], &state, 1) != 1) {
            _exit(1);
        }
        for (;;) {
            pause();  // keyed until killed
        }
    }
    close(ready[1]);
    char state = 0;
    ASSERT_EQ(read(ready[0], &state, 1), 1);
    close(ready[0]);
    ASSERT_EQ(state, 'k');
    EXPECT_EQ(shim_->outputs, TIOCM_DTR);
    EXPECT_FALSE(closed_by_kernel(std::chrono::milliseconds(0))) << "still open while alive";

    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(closed_by_kernel(std::chrono::seconds(5)));
    EXPECT_EQ(shim_->outputs, 0) << "HUPCL was set on the port, so the kernel lowered DTR";
}

}  // namespace
}  // namespace parlomat
