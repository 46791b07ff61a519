#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <QCoreApplication>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/settings/temp_dir.h"
#include "platform/serial/modem_line.h"

namespace parlomat {

/// A pseudo-terminal with emulated modem lines (the preloaded modem shim), a settings file whose
/// "Ports" section maps COM1 to it, and a lock directory of its own.
class ModemShimTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "platform_serial_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    static void TearDownTestSuite() { app_.reset(); }

    void SetUp() override {
        ASSERT_NE(dlsym(RTLD_DEFAULT, "parlomat_modem_shim_present"), nullptr)
            << "run with LD_PRELOAD naming libparlomat_modem_shim.so (ctest sets it)";
        // One state file per process: the shim maps the file it first finds and keeps it.
        static test::TempDir state_dir;
        static const std::string state = state_dir.file("modem.state");
        setenv(PARLOMAT_MODEM_SHIM_ENV, state.c_str(), 1);
        ASSERT_TRUE(line_.open(state));
        shim_ = line_.shim;
        tty_ = line_.tty;
        std::filesystem::create_directory(lock_dir());
        map_port(tty_);
    }

    /// Makes COM1 open `device`.
    void map_port(const std::string& device) {
        std::ofstream(ini_path()) << "[Ports]\nCOM1=" << device << "\n";
    }

    std::string ini_path() const { return dir_.file("parlomat.ini"); }
    std::string lock_dir() const { return dir_.file("lock"); }
    bool lock_dir_empty() const { return std::filesystem::is_empty(lock_dir()); }
    /// Runs what the event loop has ready: fd notifications and the calls they queue.
    static void run_event_loop() {
        for (int pass = 0; pass < 10; ++pass) {
            QCoreApplication::processEvents();
        }
    }
    int far_end() const { return line_.master; }
    void hang_up() { line_.hang_up(); }
    /// The last close of the device by the kernel, as when the process holding it is killed:
    /// waits up to `limit` for the far end to see the device closed, then does what the tty
    /// layer does, read from the device's real termios: DTR and RTS drop when HUPCL is set.
    /// False when the device did not close.
    bool closed_by_kernel(std::chrono::milliseconds limit) {
        pollfd far{line_.master, POLLHUP, 0};
        termios tio{};
        if (poll(&far, 1, static_cast<int>(limit.count())) != 1 || (far.revents & POLLHUP) == 0 ||
            tcgetattr(line_.master, &tio) != 0) {
            return false;
        }
        shim_->open_fds = 0;
        if ((tio.c_cflag & HUPCL) != 0) {
            shim_->outputs = 0;
        }
        return true;
    }

    ModemShimState* shim_ = nullptr;
    std::string tty_;

  private:
    static inline std::unique_ptr<QCoreApplication> app_;
    test::TempDir dir_;
    test::ModemLine line_;
};

}  // namespace parlomat
