#include "platform/serial_port_adapter.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>
#include <tuple>

#include "core/settings/temp_dir.h"
#include "platform/event_wait.h"
#include "platform/serial/modem_line.h"

namespace parlomat::test {
namespace {

/// COM1 is a pseudo-terminal whose modem lines the preloaded shim emulates.
class SerialPortAdapterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "platform_serial_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        ASSERT_NE(dlsym(RTLD_DEFAULT, "parlomat_modem_shim_present"), nullptr)
            << "run with LD_PRELOAD naming libparlomat_modem_shim.so (ctest sets it)";
        // One state file per process: the shim maps the file it first finds and keeps it.
        static TempDir state_dir;
        setenv(PARLOMAT_MODEM_SHIM_ENV, state_dir.file("modem.state").c_str(), 1);
        ASSERT_TRUE(line_.open(state_dir.file("modem.state")));
        shim_ = line_.shim;
        std::filesystem::create_directory(dir_.file("lock"));
        map_port(line_.tty);
    }
    void map_port(const std::string& device) {
        WriteBytes(dir_.file("parlomat.ini"), "[Ports]\nCOM1=" + device + "\n");
    }
    bool lock_dir_empty() const { return std::filesystem::is_empty(dir_.file("lock")); }
    static void run_event_loop() { RunFor(std::chrono::milliseconds(20)); }
    std::unique_ptr<SerialPortAdapter> make_port(const SerialLine& line = {}) {
        auto port = std::make_unique<SerialPortAdapter>(dir_.file("parlomat.ini"),
                                                        std::vector{dir_.file("lock")});
        port->set_lost_handler([this] { ++lost_calls_; });
        port->set_port_number(1);
        port->set_line(line);
        port->set_dtr(false);
        return port;
    }

    TempDir dir_;
    ModemLine line_;
    ModemShimState* shim_ = nullptr;
    int lost_calls_ = 0;
    SerialError error_;
};

TEST_F(SerialPortAdapterTest, OpensWithBothLinesLoweredAndKeysOnlyTheNamedLine) {
    auto port = make_port();
    shim_->inputs = TIOCM_CTS | TIOCM_DSR;
    port->set_rts(true);
    EXPECT_FALSE(port->cts() || port->dsr() || port->is_open()) << "a closed port reads nothing";
    ASSERT_TRUE(port->open(error_)) << error_.number << " " << error_.description;
    EXPECT_EQ(shim_->outputs, 0) << "lines set before the open are not raised by it";
    termios tio{};
    ASSERT_EQ(tcgetattr(line_.master, &tio), 0);
    EXPECT_NE(tio.c_cflag & HUPCL, 0u) << "the kernel lowers the lines if the program dies";
    EXPECT_EQ(shim_->first_write, 0) << "the first write after the open lowers DTR and RTS at once";
    EXPECT_FALSE(lock_dir_empty()) << "the device is claimed for other programs to see";
    EXPECT_TRUE(!port->open(error_) && error_.busy) << "opened twice";

    port->set_dtr(true);
    EXPECT_EQ(shim_->outputs, TIOCM_DTR);
    port->set_rts(true);
    EXPECT_EQ(shim_->outputs, TIOCM_DTR | TIOCM_RTS);
    port->set_dtr(false);
    EXPECT_EQ(shim_->outputs, TIOCM_RTS) << "each call moves its own line only";
    for (const int inputs : {TIOCM_CTS, TIOCM_DSR, TIOCM_CAR | TIOCM_RNG}) {
        shim_->inputs = inputs;
        EXPECT_EQ(port->cts(), inputs == TIOCM_CTS) << "RTS, an output, never reads as CTS";
        EXPECT_EQ(port->dsr(), inputs == TIOCM_DSR) << inputs;
    }
    port.reset();
    EXPECT_EQ(shim_->open_fds, 0);
    EXPECT_TRUE(lock_dir_empty());
}

TEST_F(SerialPortAdapterTest, FailedOpensNameTheErrorAndTheDeviceAndLeaveNoLock) {
    const auto open_fails = [&](const SerialLine& line = {}) {
        EXPECT_FALSE(make_port(line)->open(error_));
        return std::tuple(error_.busy, error_.number, error_.description, error_.device);
    };
    const auto text = [](int error) { return std::generic_category().message(error); };
    const std::string lock = dir_.file("lock/" + SerialLockFile::LockName(line_.tty));
    WriteBytes(lock, "         1\n");
    EXPECT_EQ(open_fails(), std::tuple(true, EBUSY, text(EBUSY), line_.tty)) << "lock file";
    std::filesystem::remove(lock);
    const int other = ::open(line_.tty.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(open_fails(), std::tuple(true, EBUSY, text(EBUSY), line_.tty)) << "flock";
    close(other);
    EXPECT_EQ(open_fails({.baud = 14400}), std::tuple(false, EINVAL, text(EINVAL), line_.tty));
    map_port("/nonexistent/ttyUSB9");
    EXPECT_EQ(open_fails(), std::tuple(false, ENOENT, text(ENOENT), "/nonexistent/ttyUSB9"));
    EXPECT_TRUE(lock_dir_empty());
}

TEST_F(SerialPortAdapterTest, UnpluggedPortFailsQuietlyAndReportsTheLossOnce) {
    const struct {
        const char* what;
        std::function<void(SerialPortAdapter&)> notice;
        bool at_once;  ///< noticed inside the call, not only by the event loop's watch
    } cases[] = {
        {"keying", [](SerialPortAdapter& port) { port.set_dtr(true); }, true},
        {"interrupt watch", [](SerialPortAdapter& port) { EXPECT_FALSE(port.cts()); }, true},
        {"hang-up while idle",  // last: the far end stays closed
         [this](SerialPortAdapter& port) {
             shim_->unplugged = 0;
             ASSERT_EQ(write(line_.master, "QRZ?", 4), 4);
             run_event_loop();
             EXPECT_TRUE(port.is_open()) << "received bytes are no hang-up";
             shim_->unplugged = 1;
             line_.hang_up();
         },
         false},
    };
    auto gone = make_port();
    ASSERT_TRUE(gone->open(error_));
    shim_->unplugged = 1;
    gone->set_dtr(true);
    gone.reset();
    run_event_loop();
    EXPECT_EQ(lost_calls_, 0) << "a loss queued for an adapter gone meanwhile is dropped";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        shim_->unplugged = 0;
        lost_calls_ = 0;
        auto port = make_port();
        ASSERT_TRUE(port->open(error_));
        shim_->unplugged = 1;
        shim_->inputs = TIOCM_CTS | TIOCM_DSR;
        c.notice(*port);
        EXPECT_EQ(port->is_open(), !c.at_once);
        EXPECT_EQ(lost_calls_, 0) << "the handler runs from the event loop, not inside the call";
        run_event_loop();
        EXPECT_EQ(lost_calls_, 1);
        port->set_dtr(true);
        EXPECT_FALSE(port->is_open() || port->cts() || port->dsr());
        run_event_loop();
        EXPECT_EQ(lost_calls_, 1);
        EXPECT_EQ(shim_->open_fds, 0);
        EXPECT_TRUE(lock_dir_empty());
    }
}

}  // namespace
}  // namespace parlomat::test
